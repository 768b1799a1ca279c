#pragma once

#include "CoreMinimal.h"

class FJsonObject;

// Where the asset files of "/Game/..." paths live: "/Game/UI/WBP_X", "/Game/UI/WBP_X.WBP_X" and
// "/Game/UI/WBP_X.WBP_X_C" all name "<ProjectContentDir>/UI/WBP_X.uasset".
struct ENGINE_API FAssetPaths
{
	// True, with the file in OutFilePath, only when the path names an existing regular file inside the content
	// folder. Paths with "." or ".." steps, empty steps, backslashes, colons or control characters are refused,
	// and so is a link that leads out of the content folder (or is absolute). What a path names can change once
	// this returns: read assets with LoadAssetFileToString, never by opening OutFilePath again.
	static bool ResolveAssetFile(const FString& GamePath, FString& OutFilePath);
	// Reads the asset file of GamePath, refused as ResolveAssetFile refuses, from the very descriptor whose
	// target was checked, decoded as FFileHelper::LoadFileToString decodes. False when refused or unreadable.
	static bool LoadAssetFileToString(const FString& GamePath, FString& OutText);
	// The JSON object of an asset file whose "Type" is Type; null for a file of another type or one that does not
	// read, which other loaders may take.
	static TSharedPtr<FJsonObject> LoadTypedAssetObject(const FString& GamePath, const TCHAR* Type);
};
