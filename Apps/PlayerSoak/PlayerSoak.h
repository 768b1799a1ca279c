#pragma once

#include "CoreMinimal.h"
#include "SoakOptions.h"

#include <random>

class FHeadlessApplication;

// Comments owed a report (placed or not shown), each with the frames it became owed in, oldest first.
class FOwedReports
{
public:
	void Owe(int32 Id, int64 Frame) { Frames.FindOrAdd(Id).Add(Frame); }
	bool IsOwed(int32 Id) const { return Frames.Contains(Id); }
	// Settles the oldest debt to Id; false when nothing was owed to it.
	bool Answer(int32 Id);
	// A comment owed since before Frame, with that frame; false when there is none.
	bool FindOverdue(int64 Frame, int32& OutId, int64& OutSince) const;
	int32 Num() const { return Frames.Num(); }

private:
	TMap<int32, TArray<int64>> Frames;
};

// One soak run. Exits on the first broken promise with a message saying which and when.
class FPlayerSoak
{
public:
	explicit FPlayerSoak(const FSoakOptions& InOptions) : Options(InOptions), Random(InOptions.Seed) {}

	// The process exit code; the figures go to standard output.
	int32 Run();

private:
	int32 RunFullPlayer(FHeadlessApplication& App);
	int32 RunLegacy(FHeadlessApplication& App);
	// The comment document, and per whole second the ids filed under it.
	FString MakeDocument(bool bLegacy);
	int32 Pick(int32 Count) { return int32(std::uniform_int_distribution<int32>(0, Count - 1)(Random)); }
	bool Fail(const FString& Message);

	FSoakOptions Options;
	std::mt19937 Random;
	TMap<int32, TArray<int32>> IdsBySecond;
	int64 Frame = 0;
	FString Failure;
	// Figures.
	int32 LiveBefore = 0;
	int32 LiveAfter = 0;
	int32 LivePeak = 0;
	int64 Due = 0;
	int64 Placed = 0;
	int64 NotShown = 0;
	int64 Skipped = 0;
	int64 OwnShown = 0;
	int64 OwnNotShown = 0;
	int64 Sends = 0;
	int64 SendsOut = 0;
	int64 SendsBarClosed = 0;
	int64 SendsNotTyped = 0;
	int64 Pushes = 0;
	int64 HandOvers = 0;
	int64 SharedBands = 0;
	int64 ForeignPushes = 0;
	int32 ActionsDone = 0;
	TMap<FString, int32> NotShownByReason;
};
