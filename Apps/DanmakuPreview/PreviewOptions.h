#pragma once

#include "CoreMinimal.h"
#include "CommentControls.h"

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

	FCommentControls Controls;

	// Reads the arguments; false with a message for anything it does not understand.
	bool Parse(const TArray<FString>& Arguments, FString& OutError);
	static FString Usage();

private:
	// The value of an option that takes one; false with the message.
	bool ReadValue(const FString& Name, const FString& Value, FString& OutError);
};
