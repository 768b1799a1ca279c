#pragma once

#include "CoreMinimal.h"
#include "OwedReports.h"
#include "SoakRun.h"

class UDanmakuTrackManager;
class UMediaPlayer;
enum class EDanmakuNotShownReason : uint8;

// The full player's promise about comments, checked frame by frame: a second the clock entered while playing, or
// one the overlay handed over (its reports say so), makes all its comments due; every report must answer a due
// comment, and every due comment must be answered within a few frames.
class FDueComments
{
public:
	FDueComments(FSoakRun& InSoak, FSoakFigures& InFigures, const TMap<int32, TArray<int32>>& InIdsBySecond);

	// Hears the track manager's placements and refusals.
	void Bind(UDanmakuTrackManager* Manager);
	void MakeDue(int32 Id, int64 Frame);
	// A live comment pushed while the lesson was not playing: the overlay files it, and shows it only if it runs
	// (it pauses with the lesson); not answered within a few frames, it counts as kept for later.
	void MaybeShow(int32 Id, int64 Frame);
	// Checks the frame just drawn; false on a broken promise.
	bool Settle(const UMediaPlayer& Media, int64 Frame);

private:
	void Report(int32 Id, bool bPlaced, EDanmakuNotShownReason Reason);
	// The seconds handed over in the frame: the one the clock entered while playing, and those reports name.
	TArray<int32> HandedSeconds(const UMediaPlayer& Media, int32 Second) const;
	bool AnswerReports();

	FSoakRun& Soak;
	FSoakFigures& Figures;
	const TMap<int32, TArray<int32>>& IdsBySecond;
	// Comments due and not reported since.
	FOwedReports Outstanding;
	TArray<int32> FrameReports;
	// Live comments maybe shown: id -> frame of the push.
	TMap<int32, int64> MaybeShown;
	int32 HandedSecond = INDEX_NONE;
};
