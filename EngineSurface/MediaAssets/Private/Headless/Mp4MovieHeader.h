#pragma once

#include "CoreMinimal.h"

// Reads the length of an MP4 (ISO base media) file from its movie header box ('moov' > 'mvhd'), walking box
// headers only, so that large files are not read through.
struct FMp4MovieHeader
{
	// False when the file cannot be read, is not an MP4, or its header states no duration.
	static bool ReadDuration(const FString& Filename, FTimespan& OutDuration);
};
