#pragma once

#include "CoreMinimal.h"

// How the overlay thins out, places and draws comments. The defaults show every comment as it comes, at full
// opacity, over the lane areas of the track manager, at the life time and font size the comment asks for.
struct FDanmakuDisplayControls
{
	// Comments on screen at once; 0 is no limit.
	int32 MaxOnScreen = 0;
	// Comments that may appear within any one second; 0 is no limit.
	int32 MaxPerSecond = 0;
	// A comment whose text is on screen from the last this many seconds adds a count to it instead; 0 is off.
	float RepeatMergeSeconds = 0.0f;
	// Of every comment, 0 to 1.
	float Opacity = 1.0f;
	// Percent of the canvas height, from the top for scroll and top comments, from the bottom for bottom ones.
	int32 ScrollAndTopArea = 75;
	int32 BottomArea = 25;
	// Above 1 comments cross faster (and pinned ones stay shorter); below 1 slower.
	float SpeedScale = 1.0f;
	// Multiplies every comment's font size.
	float FontScale = 1.0f;
	// Reverse comments scroll left to right over the scroll comments' area; off, they are not placed.
	bool bShowReverse = false;
};
