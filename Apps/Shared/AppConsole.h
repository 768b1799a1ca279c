#pragma once

#include "CoreMinimal.h"

// What the headless programs print: errors and warnings named after the program, summaries, and progress on a
// long run.
class FAppConsole
{
public:
	static void SetProgramName(const FString& Name);
	static void Error(const FString& Message);
	static void Warning(const FString& Message);
	static void Line(const FString& Message);
	// Hours, minutes, seconds and tenths: 00:01:05.5.
	static FString FormatClock(double Seconds);
};

// Prints a line to standard error each time another tenth of the run is done.
class FProgressReport
{
public:
	// Called every frame, so the line's detail is made only when a line is printed.
	void Update(double Done, double Total, TFunctionRef<FString()> Detail);

private:
	int32 LastDecile = -1;
};
