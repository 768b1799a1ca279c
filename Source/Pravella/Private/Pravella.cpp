#include "Pravella.h"

#include "AssetRegistry/IAssetRegistry.h"
#include "Engine/Engine.h"
#include "HAL/FileManager.h"
#include "MediaPlayer.h"
#include "Misc/Paths.h"

void FPravellaModule::StartupModule() {}

void FPravellaModule::ShutdownModule() {}

IMPLEMENT_MODULE(FPravellaModule, Pravella)

namespace Pravella
{
namespace
{
// Package paths of the project's content only: other mount points (the engine's, plugins') are not ours to load, and
// no step may lead out of the content folder. A name with two dots in it ("Vol..2") is an ordinary name.
bool IsProjectContentPath(const FString& Path)
{
	if (!Path.StartsWith(TEXT("/Game/"), ESearchCase::CaseSensitive) || Path.Contains(TEXT("//")) ||
	    Path.Contains(TEXT("\\")) || Path.Contains(TEXT(":")))
	{
		return false;
	}
	TArray<FString> Steps;
	Path.ParseIntoArray(Steps, TEXT("/"), true);
	return !Steps.Contains(TEXT("..")) && !Steps.Contains(TEXT("."));
}

UMediaPlayer* LoadProjectMediaPlayer(const FString& AssetPath)
{
	if (!IsProjectContentPath(AssetPath))
	{
		return nullptr;
	}
	return Cast<UMediaPlayer>(StaticLoadObject(UMediaPlayer::StaticClass(), nullptr, *AssetPath));
}
} // namespace

UMediaPlayer* LoadMediaPlayer(const FString& MediaPlayerName, FString& AssetPath)
{
	if (UMediaPlayer* MediaPlayer = LoadProjectMediaPlayer(AssetPath))
	{
		return MediaPlayer;
	}

	// A packaged game has its assets in paks, not as files: the asset registry knows them in either case.
	if (const IAssetRegistry* Registry = IAssetRegistry::Get())
	{
		TArray<FAssetData> Assets;
		Registry->GetAssetsByClass(UMediaPlayer::StaticClass()->GetClassPathName(), Assets);
		for (const FAssetData& Asset : Assets)
		{
			if (Asset.AssetName.ToString().Equals(MediaPlayerName, ESearchCase::IgnoreCase))
			{
				const FString Found = Asset.PackageName.ToString();
				if (UMediaPlayer* MediaPlayer = LoadProjectMediaPlayer(Found))
				{
					AssetPath = Found;
					return MediaPlayer;
				}
			}
		}
	}

	// The editor's registry may not have scanned the content folder yet: look for the file itself.

	FString ContentDir = FPaths::ConvertRelativePathToFull(FPaths::ProjectContentDir());
	ContentDir.RemoveFromEnd(TEXT("/"));
	TArray<FString> Files;
	IFileManager::Get().FindFilesRecursive(Files, *ContentDir, TEXT("*.*"), true, false, true);

	const FString AssetFileName = MediaPlayerName + TEXT(".uasset");
	for (const FString& File : Files)
	{
		// The package path is the file's place below the content folder, whatever the folders above it are called.
		if (!FPaths::GetCleanFilename(File).Equals(AssetFileName, ESearchCase::IgnoreCase) ||
		    !File.StartsWith(ContentDir + TEXT("/"), ESearchCase::IgnoreCase))
		{
			continue;
		}
		FString PackagePath = File.RightChop(ContentDir.Len() + 1);
		PackagePath.RemoveFromEnd(TEXT(".uasset"), ESearchCase::IgnoreCase);
		AssetPath = FString(TEXT("/Game")) / PackagePath;
		return LoadProjectMediaPlayer(AssetPath);
	}

	if (GEngine)
	{
		GEngine->AddOnScreenDebugMessage(
		    -1, 10.0f, FColor::Red,
		    FString::Printf(TEXT("The instance named %s can't be found. Please check whether the name of mediaplayer "
		                         "has been modified or deleted."),
		                    *MediaPlayerName),
		    true, FVector2D(1.0, 1.0));
	}
	return nullptr;
}
} // namespace Pravella
