#pragma once

#include "CoreMinimal.h"
#include "CommentControls.h"

// What a run of the lesson player does, from the command line.
struct FLessonPlayerOptions
{
	// A viewer script; empty runs the bundled one.
	FString ScriptFile;
	// The folder the script's files are taken from, instead of the script's own.
	FString FilesFrom;
	FString OutputDir = TEXT("out");
	// Empty writes trace.jsonl in the output folder.
	FString TraceFile;
	// Where to write what a viewer would hear, as a WAV file; empty writes none.
	FString AudioFile;
	// Seconds of the script's clock at which to write snapshots besides the script's own.
	TArray<double> SnapshotTimes;
	// Seconds of the script's clock to run at most; 0 runs to the script's end.
	double RunSeconds = 0.0;
	double FrameSeconds = 1.0 / 60.0;
	int32 Seed = 1;
	bool bHelp = false;
	FCommentControls Controls;

	bool Parse(const TArray<FString>& Arguments, FString& OutError);
	static FString Usage();

private:
	// The value of an option that takes one; false with the message.
	bool ReadValue(const FString& Name, const FString& Value, FString& OutError);
};
