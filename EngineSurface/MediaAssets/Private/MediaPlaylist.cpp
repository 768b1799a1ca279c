#include "MediaPlaylist.h"

#include "FileMediaSource.h"
#include "StreamMediaSource.h"

bool UMediaPlaylist::Add(UMediaSource* MediaSource)
{
	if (!MediaSource)
	{
		return false;
	}
	Items.Add(MediaSource);
	return true;
}

bool UMediaPlaylist::AddFile(const FString& FilePath)
{
	UFileMediaSource* Source = NewObject<UFileMediaSource>(this);
	Source->SetFilePath(FilePath);
	return Source->Validate() && Add(Source);
}

bool UMediaPlaylist::AddUrl(const FString& Url)
{
	if (Url.IsEmpty())
	{
		return false;
	}
	UStreamMediaSource* Source = NewObject<UStreamMediaSource>(this);
	Source->StreamUrl = Url;
	return Add(Source);
}

UMediaSource* UMediaPlaylist::Get(int32 Index)
{
	return Items.IsValidIndex(Index) ? Items[Index].Get() : nullptr;
}

bool UMediaPlaylist::Remove(UMediaSource* MediaSource)
{
	return Items.Remove(MediaSource) > 0;
}

bool UMediaPlaylist::RemoveAt(int32 Index)
{
	if (!Items.IsValidIndex(Index))
	{
		return false;
	}
	Items.RemoveAt(Index);
	return true;
}
