#pragma once

#include "CoreMinimal.h"

class UUI_Danmaku;

// The kinds of comment document the overlay reads.
enum class EDanmakuCommentFormat : uint8
{
	// {"datas": [...]}, the overlay's own format.
	Json,
	// <i><d p="...">text</d>...</i>, as video sites export comments.
	Xml,
};

// A comment document read from disk and checked, ready to hand to an overlay. Shared by the programs that play
// lessons, so that each takes the same files.
struct FDanmakuCommentFile
{
	FString Path;
	FString Text;
	EDanmakuCommentFormat Format = EDanmakuCommentFormat::Json;
	// Comments the overlay will index.
	int32 Comments = 0;
	// Of those, comments whose mode no lane takes (reverse and special comments): indexed, never shown.
	int32 NeverPlacedMode = 0;
	// XML comments left out for a missing or bad attribute.
	int32 Skipped = 0;

	// ".xml" files are XML and ".json" files JSON, whatever the case of the extension; any other file is XML when
	// its first character after blanks and a byte order mark is '<', JSON otherwise.
	static EDanmakuCommentFormat ChooseFormat(const FString& Path, const FString& Text);

	// Reads and checks the file; false with a message a person can act on when it is missing, unreadable or not a
	// comment document of its format.
	bool Load(const FString& InPath, FString& OutError);

	// Hands the document to the overlay's loader for its format.
	void HandTo(UUI_Danmaku& Overlay) const;
};
