#pragma once

#include "CoreMinimal.h"

class UUI_Danmaku;

// The overlay's comment controls as program options: block list, density limits, repeat merging and display
// settings. The defaults leave the overlay as it is.
struct FCommentControls
{
	TArray<FString> BlockedWords;
	TArray<FString> BlockedPatterns;
	int32 MaxOnScreen = 0;
	int32 MaxPerSecond = 0;
	float RepeatMergeSeconds = 0.0f;
	float Opacity = 1.0f;
	int32 ScrollAndTopArea = 75;
	int32 BottomArea = 25;
	float SpeedScale = 1.0f;
	float FontScale = 1.0f;
	// Given on the command line, so they win over the settings store.
	bool bSpeedScaleGiven = false;
	bool bFontScaleGiven = false;
	bool bApplySavedSettings = false;

	// Reads Arguments[Index] when it is one of these options, moving Index past its value. False when it is not
	// one of them; OutError is set when it is but its value is bad or missing.
	bool ParseOption(const TArray<FString>& Arguments, int32& Index, FString& OutError);
	// Sets the controls on the overlay; false with a message when the overlay refuses one.
	bool ApplyTo(UUI_Danmaku& Overlay, FString& OutError) const;
	static FString Usage();
};
