#pragma once

#include "CoreMinimal.h"

// What the programs check before they read or write a file named by a user or a script: that reading it ends
// (no FIFO, device or folder), that writing it cannot block or vanish, that two names are not the same file, that
// a script's file stays inside its folder; and how a message quotes text it could not read.
class FFileChecks
{
public:
	// A regular file that exists; otherwise false with "WHAT not found: PATH", "... is a folder" or "... is not a
	// regular file" (a FIFO would block, /dev/zero never ends).
	static bool CheckInput(const FString& Path, const TCHAR* What, FString& OutError);
	// A new path or a regular file; a FIFO, device or folder is refused, since writing it blocks, fails or
	// silently goes nowhere.
	static bool CheckOutput(const FString& Path, const TCHAR* What, FString& OutError);
	// The same file under two names (links and "a/../b" included), or the same new path.
	static bool SameFile(const FString& A, const FString& B);
	// Whether Path, with links followed, lies inside Folder.
	static bool LiesUnder(const FString& Path, const FString& Folder);
	// Whether a command-line argument is well-formed UTF-8. Names are converted to text and back, so a stray byte
	// would name another file; such an argument is refused rather than guessed at.
	static bool IsUtf8(const char* Argument);
	// At most MaxCharacters of Text, control characters escaped, and "…" when it was cut: how a message quotes
	// what it could not read, so that a hostile file cannot flood or drive the terminal.
	static FString Excerpt(const FString& Text, int32 MaxCharacters = 60);
};
