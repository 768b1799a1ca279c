#pragma once

#include "CoreMinimal.h"
#include "SoakOptions.h"

#include <random>

class FHeadlessApplication;

// What a soak run counts, printed at its end.
struct FSoakFigures
{
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

// What the soak's two runs (the full player and the legacy overlay) do alike: the seeded viewer's choices, the
// generated comment document, frames each checked once drawn, actions at random frames over the lesson, and the
// count of live objects. A run stops at the first broken promise.
class FSoakRun
{
public:
	FSoakRun(const FSoakOptions& InOptions, FHeadlessApplication& InApp)
	    : Options(InOptions), App(InApp), Random(InOptions.Seed)
	{
	}
	virtual ~FSoakRun() = default;

	// 0 when every promise held, else 1 with the failure.
	virtual int32 Run() = 0;

	// Keeps the first failure, with the frame and the actions done; always false.
	bool Fail(const FString& Message);
	const FString& GetFailure() const { return Failure; }
	const FSoakFigures& GetFigures() const { return Figures; }
	double PlayedSeconds() const { return double(Frame) / Options.FramesPerSecond; }

	// Live objects after a garbage collection.
	static int32 LiveObjects();
	// Loaded classes stay for the life of the process, as a game's do; here nothing else holds them across a
	// collection.
	static void KeepLoadedClasses();

protected:
	// Checks the frame just drawn; false on a broken promise.
	virtual bool Settle() = 0;
	// Before each action, what the host does between them; false on a broken promise.
	virtual bool BeforeAction() { return true; }
	// One of the viewer's or the host's actions, picked at random; false on a broken promise.
	virtual bool Act() = 0;
	// After each action has been counted; false on a broken promise.
	virtual bool AfterAction() { return true; }

	// The comment document, filing the ids of each whole second in IdsBySecond.
	FString MakeDocument(bool bLegacy);
	int32 Pick(int32 Count) { return int32(std::uniform_int_distribution<int32>(0, Count - 1)(Random)); }
	double PickLessonTime() { return std::uniform_real_distribution<double>(0.0, Options.LessonSeconds)(Random); }
	// Draws the frames of Seconds (at least one), checking each; false on a broken promise.
	bool Step(double Seconds);
	// The options' number of actions at random frames over the lesson, in order; false on a broken promise.
	bool RunActions();

	const FSoakOptions& Options;
	FHeadlessApplication& App;
	std::mt19937 Random;
	// Per whole second, the ids filed under it.
	TMap<int32, TArray<int32>> IdsBySecond;
	int64 Frame = 0;
	FSoakFigures Figures;
	FString Failure;
};

// The two lessons of the playlist; the second one's data comes slower than it plays, so it stalls now and then.
inline const TCHAR* const SoakLessonUrls[] = {TEXT("https://lessons.test/soak-one.mp4"),
                                              TEXT("https://lessons.test/soak-two.mp4")};
// The screen sizes the host switches between; the first is the one the run starts and ends with.
inline const FVector2D SoakScreenSizes[] = {FVector2D(1920.0, 1080.0), FVector2D(1280.0, 720.0),
                                            FVector2D(800.0, 600.0), FVector2D(2560.0, 1440.0),
                                            FVector2D(640.0, 360.0)};
// Live comments get ids of their own, above every document id.
constexpr int32 SoakFirstLiveId = 100000000;

// A report comes in the frame that hands the comment over, a placement in the next one, when the node is measured.
constexpr int64 SoakReportFrames = 3;

// As the overlays file comments: hours of the day, minutes and seconds.
int32 SoakSecondOf(const FTimespan& Time);

// A comment in the overlay's document element form, and in the legacy overlay's.
FString SoakDanmakuRecord(int32 Id, double Seconds, int32 Mode, const FString& Content);
FString SoakLegacyRecord(int32 Id, int32 Second, const FString& Content);
