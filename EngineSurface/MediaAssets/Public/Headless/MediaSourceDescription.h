#pragma once

#include "CoreMinimal.h"

// What a media player needs to know about a source in place of decoding it. Tests and hosts register one per
// URL with FMediaSourceRegistry; local MP4 files without one get their duration from the file's movie header.
struct FMediaSourceDescription
{
	// Length of the media.
	FTimespan Duration = FTimespan::FromSeconds(60.0);
	bool bCanSeek = true;
	// Seconds of media buffered per second of application time, from the open call and from the target of a
	// seek outside the buffered range. Zero or less: everything is buffered at once.
	double CacheRate = 0.0;
	// Application seconds between the open call and the opened (or open failed) event. Zero: the next frame.
	double OpenSeconds = 0.1;
	// Application seconds a seek takes. Zero: it completes in the next frame.
	double SeekSeconds = 0.0;
	// The seek completes, and OnSeekCompleted is raised, inside the Seek call, as the engine allows a player to.
	bool bSeekCompletesInCall = false;
	// Opening ends with OnMediaOpenFailed instead of OnMediaOpened.
	bool bFailsToOpen = false;
};
