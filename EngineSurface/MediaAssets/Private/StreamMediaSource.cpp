#include "StreamMediaSource.h"

#include "Headless/MediaUrl.h"

bool UStreamMediaSource::Validate() const
{
	return FMediaUrl::IsPlayable(StreamUrl);
}
