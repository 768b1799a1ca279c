#pragma once

#include "CoreMinimal.h"
#include "DanmakuDisplayControls.h"

class UUI_Danmaku;

// The overlay's comment controls as program options: block list, density limits, repeat merging and display
// settings. The defaults leave the overlay as it is, except that reverse comments are shown.
struct FCommentControls
{
	FCommentControls() { Display.bShowReverse = true; }

	TArray<FString> BlockedWords;
	TArray<FString> BlockedPatterns;
	// The overlay's display controls the options set; the defaults are the overlay's.
	FDanmakuDisplayControls Display;
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

private:
	// The value of an option that takes one; OutError is set when it is bad.
	void ReadValue(const FString& Argument, const FString& Value, FString& OutError);
};
