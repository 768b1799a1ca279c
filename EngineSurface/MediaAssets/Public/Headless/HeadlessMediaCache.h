#pragma once

#include "CoreMinimal.h"

class UMediaPlayer;

// The span of a player's source that is buffered, which the engine keeps inside the player; for tests of
// buffering. OutStart is at or behind the position, OutEnd at or ahead of it; false (both zero) while nothing is
// open.
class MEDIAASSETS_API FHeadlessMediaCache
{
public:
	static bool GetCachedTimeRange(const UMediaPlayer& Player, FTimespan& OutStart, FTimespan& OutEnd);
};
