#pragma once

#include "CoreMinimal.h"

// What a soak run plays and how hard the viewer works.
struct FSoakOptions
{
	double LessonSeconds = 7200.0;
	int32 Comments = 50000;
	uint32 Seed = 1;
	int32 Actions = 5000;
	// Drawn frames per second of lesson time.
	int32 FramesPerSecond = 30;
	bool bLegacy = false;
	// Prints every action.
	bool bVerbose = false;
	bool bHelp = false;

	bool Parse(const TArray<FString>& Arguments, FString& OutError);
	static FString Usage();

private:
	bool ParseArguments(const TArray<FString>& Arguments, FString& OutError);
};
