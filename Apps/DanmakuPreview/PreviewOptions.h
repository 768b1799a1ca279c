#pragma once

#include "CoreMinimal.h"

// What a run of the preview does, from the command line.
struct FPreviewOptions
{
	FString CommentsFile;
	// A media file or URL; empty plays the bundled described lesson.
	FString Media;
	// Describes a network source (duration, seeking, caching) for the media framework.
	FString MediaDescription;
	FVector2D CanvasSize = FVector2D(1920.0, 1080.0);
	TArray<double> SnapshotTimes = {6.5, 12.5, 22.0, 47.5, 95.5, 150.5};
	FString OutputDir = TEXT("out");
	FString TraceFile;
	// Seconds of media to play; 0 plays to the end.
	double PlaySeconds = 0.0;
	double FrameSeconds = 1.0 / 60.0;
	int32 Seed = 1;
	bool bSendComments = true;
	bool bHelp = false;

	// The overlay's controls; the defaults leave it as it is.
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

	// Reads the arguments; false with a message for anything it does not understand.
	bool Parse(const TArray<FString>& Arguments, FString& OutError);
	static FString Usage();
};
