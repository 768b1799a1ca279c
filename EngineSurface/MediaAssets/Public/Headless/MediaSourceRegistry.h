#pragma once

#include "CoreMinimal.h"
#include "Headless/MediaSourceDescription.h"

// The descriptions of media sources by URL, shared by all media players of the process.
//
// URLs are compared without regard to letter case; a local path and its "file://" URL are the same source
// (relative paths are taken from the project's Content folder).
//
// A description file lists sources in sections named by their URL, with key=value lines; '#' starts a comment
// line; keys missing from a section keep FMediaSourceDescription's defaults:
//
//     [https://cdn.example.com/lesson1.mp4]
//     Duration=754.5        seconds
//     CanSeek=true          true/false
//     CacheRate=4           media seconds buffered per second
//     OpenSeconds=0.5
//     SeekSeconds=0.2
//     FailsToOpen=false
class MEDIAASSETS_API FMediaSourceRegistry
{
public:
	static void Register(const FString& Url, const FMediaSourceDescription& Description);
	static void Unregister(const FString& Url);
	static void UnregisterAll();
	static const FMediaSourceDescription* Find(const FString& Url);

	// Registers every section of the text; false (and nothing registered) when a line cannot be read.
	static bool LoadFromString(const FString& Text);
	static bool LoadFromFile(const FString& Filename);

	// The form URLs are kept in: local paths become "file://" plus the absolute path.
	static FString NormalizeUrl(const FString& Url);
};
