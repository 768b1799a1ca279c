#include "Headless/AssetPaths.h"
#include "Headless/Utf8String.h"

#include "Misc/Paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace
{
bool IsSafeStep(const FString& Step)
{
	if (Step.IsEmpty() || Step == TEXT(".") || Step == TEXT(".."))
	{
		return false;
	}
	for (TCHAR C : Step)
	{
		if (C < 0x20 || C == u'\\' || C == u':')
		{
			return false;
		}
	}
	return true;
}

bool IsInside(const std::filesystem::path& File, const std::filesystem::path& Folder)
{
	const auto [FolderEnd, FileAt] = std::mismatch(Folder.begin(), Folder.end(), File.begin(), File.end());
	return FolderEnd == Folder.end() && FileAt != File.end();
}
} // namespace

bool FAssetPaths::ResolveAssetFile(const FString& GamePath, FString& OutFilePath)
{
	FString Relative = GamePath;
	if (!Relative.RemoveFromStart(TEXT("/Game/"), ESearchCase::CaseSensitive))
	{
		return false;
	}
	// The object name after the last step's '.' is not part of the file.
	const int32 LastSlash = Relative.Find(TEXT("/"), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	const int32 Dot = Relative.Find(TEXT("."), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	if (Dot != INDEX_NONE && Dot > LastSlash)
	{
		Relative = Relative.Left(Dot);
	}
	TArray<FString> Steps;
	Relative.ParseIntoArray(Steps, TEXT("/"), false);
	if (Steps.IsEmpty())
	{
		return false;
	}
	for (const FString& Step : Steps)
	{
		if (!IsSafeStep(Step))
		{
			return false;
		}
	}

	FString ContentDir = FPaths::ProjectContentDir();
	const FString File = ContentDir + Relative + TEXT(".uasset");
	FPaths::NormalizeDirectoryName(ContentDir);
	// Links are followed before the containment test, so that a link inside Content cannot lead out of it.
	std::error_code Error;
	const std::filesystem::path Content = std::filesystem::weakly_canonical(ToUtf8(ContentDir), Error);
	const std::filesystem::path Resolved = std::filesystem::weakly_canonical(ToUtf8(File), Error);
	if (Error || !IsInside(Resolved, Content) || !std::filesystem::is_regular_file(Resolved, Error))
	{
		return false;
	}
	OutFilePath = File;
	return true;
}
