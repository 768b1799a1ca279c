#include "FileMediaSource.h"

#include "Headless/MediaSourceRegistry.h"
#include "Headless/MediaUrl.h"
#include "Misc/Paths.h"

void UFileMediaSource::SetFilePath(const FString& Path)
{
	FilePath = Path;
}

FString UFileMediaSource::GetFullPath() const
{
	return FilePath.IsEmpty() ? FString() : FMediaUrl::ToFilePath(FilePath);
}

FString UFileMediaSource::GetUrl() const
{
	return FilePath.IsEmpty() ? FString() : FMediaUrl::FromFilePath(FilePath);
}

bool UFileMediaSource::Validate() const
{
	return !FilePath.IsEmpty() && (FPaths::FileExists(GetFullPath()) || FMediaSourceRegistry::Find(GetUrl()));
}
