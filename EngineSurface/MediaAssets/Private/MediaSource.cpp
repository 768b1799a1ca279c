#include "MediaSource.h"

FString UMediaSource::GetUrl() const
{
	return FString();
}

bool UMediaSource::Validate() const
{
	return !GetUrl().IsEmpty();
}
