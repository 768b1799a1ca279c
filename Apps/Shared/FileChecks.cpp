#include "FileChecks.h"

#include "Headless/Utf8String.h"
#include "Misc/Paths.h"

#include <climits>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace
{
std::string Native(const FString& Path)
{
	return std::string(TCHAR_TO_UTF8(*Path));
}

// The absolute form of a path whose file need not exist: its folder resolved with links followed, then its name.
FString Canonical(const FString& Path)
{
	FString Full = FPaths::ConvertRelativePathToFull(Path);
	FPaths::CollapseRelativeDirectories(Full);
	char Resolved[PATH_MAX];
	if (realpath(Native(Full).c_str(), Resolved))
	{
		return FString(Resolved);
	}
	const FString Folder = FPaths::GetPath(Full);
	if (!Folder.IsEmpty() && realpath(Native(Folder).c_str(), Resolved))
	{
		return FPaths::Combine(FString(Resolved), FPaths::GetCleanFilename(Full));
	}
	return Full;
}
} // namespace

bool FFileChecks::CheckInput(const FString& Path, const TCHAR* What, FString& OutError)
{
	struct stat Info;
	if (stat(Native(Path).c_str(), &Info) != 0)
	{
		OutError = FString::Printf(TEXT("%s not found: %s"), What, *Path);
		return false;
	}
	if (S_ISDIR(Info.st_mode))
	{
		OutError = FString::Printf(TEXT("%s %s is a folder, not a file"), What, *Path);
		return false;
	}
	if (!S_ISREG(Info.st_mode))
	{
		OutError = FString::Printf(TEXT("%s %s is not a regular file (a FIFO, device or socket), so it is not read"),
		                           What, *Path);
		return false;
	}
	return true;
}

bool FFileChecks::CheckOutput(const FString& Path, const TCHAR* What, FString& OutError)
{
	struct stat Info;
	if (stat(Native(Path).c_str(), &Info) == 0 && !S_ISREG(Info.st_mode))
	{
		OutError = FString::Printf(TEXT("%s %s is %s; write to a new path or a regular file"), What, *Path,
		                           S_ISDIR(Info.st_mode) ? TEXT("a folder")
		                                                 : TEXT("not a regular file (a FIFO, device or socket)"));
		return false;
	}
	return true;
}

bool FFileChecks::SameFile(const FString& A, const FString& B)
{
	struct stat InfoA;
	struct stat InfoB;
	if (stat(Native(A).c_str(), &InfoA) == 0 && stat(Native(B).c_str(), &InfoB) == 0)
	{
		return InfoA.st_dev == InfoB.st_dev && InfoA.st_ino == InfoB.st_ino;
	}
	return Canonical(A) == Canonical(B);
}

bool FFileChecks::LiesUnder(const FString& Path, const FString& Folder)
{
	const FString Inner = Canonical(Path);
	FString Outer = Canonical(Folder);
	if (!Outer.EndsWith(TEXT("/")))
	{
		Outer += TEXT("/");
	}
	return Inner.StartsWith(Outer, ESearchCase::CaseSensitive);
}

FString FFileChecks::Excerpt(const FString& Text, int32 MaxCharacters)
{
	FString Out;
	int32 Index = 0;
	for (; Index < Text.Len() && Index < MaxCharacters; ++Index)
	{
		const TCHAR C = Text[Index];
		if (C < 0x20 || (C >= 0x7F && C <= 0x9F))
		{
			Out += FString::Printf(TEXT("\\x%02x"), int32(C));
		}
		else
		{
			Out.AppendChar(C);
		}
	}
	if (Index < Text.Len())
	{
		Out += TEXT("…");
	}
	return Out;
}

bool FFileChecks::IsUtf8(const char* Argument)
{
	// Every malformed sequence decodes to U+FFFD, so only well-formed text comes back byte for byte.
	const std::string Bytes(Argument);
	return ToUtf8(FromUtf8(Bytes)) == Bytes;
}
