#include "Headless/HeadlessMediaCache.h"

#include "MediaPlayer.h"

bool FHeadlessMediaCache::GetCachedTimeRange(const UMediaPlayer& Player, FTimespan& OutStart, FTimespan& OutEnd)
{
	if (!Player.IsReady())
	{
		OutStart = FTimespan::Zero();
		OutEnd = FTimespan::Zero();
		return false;
	}
	OutStart = FTimespan::FromSeconds(Player.CacheStartSeconds);
	OutEnd = FTimespan::FromSeconds(Player.CacheEndSeconds);
	return true;
}
