#pragma once

#include "CoreMinimal.h"

// Where the asset files of "/Game/..." paths live: "/Game/UI/WBP_X", "/Game/UI/WBP_X.WBP_X" and
// "/Game/UI/WBP_X.WBP_X_C" all name "<ProjectContentDir>/UI/WBP_X.uasset".
struct ENGINE_API FAssetPaths
{
	// True, with the file in OutFilePath, only when the path names an existing file inside the content folder.
	// Paths with "." or ".." steps, empty steps, backslashes, colons or control characters are refused, and so
	// is any file that lies outside the content folder once links are followed.
	static bool ResolveAssetFile(const FString& GamePath, FString& OutFilePath);
};
