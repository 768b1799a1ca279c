#pragma once

#include "CoreMinimal.h"

// How the media framework reads a URL: "scheme://rest", or a local path when there is no scheme.
struct FMediaUrl
{
	// The scheme in lower case ("https"), or empty for a local path.
	static FString GetScheme(const FString& Url);
	static bool IsLocal(const FString& Url);
	// Local paths and the schemes file, http, https and rtsp.
	static bool IsPlayable(const FString& Url);
	// The absolute file path of a local path or "file://" URL; relative paths start at the Content folder.
	static FString ToFilePath(const FString& Url);
	// "file://" plus the absolute path.
	static FString FromFilePath(const FString& Path);
};
