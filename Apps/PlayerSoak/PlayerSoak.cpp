#include "PlayerSoak.h"

#include "FullPlayerSoak.h"
#include "Headless/EnsureHandler.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/MediaSourceRegistry.h"
#include "LegacySoak.h"

#include <chrono>
#include <cstdio>
#include <memory>

namespace
{
int32 GFailedEnsures = 0;
} // namespace

FPlayerSoak::FPlayerSoak(const FSoakOptions& InOptions) : Options(InOptions)
{
	// The modules' log lines would drown the figures.
	GLog->SetStandardErrorEnabled(false);
}

void FPlayerSoak::PrintFigures(const FSoakRun& SoakRun, double WallSeconds) const
{
	const FSoakFigures& Figures = SoakRun.GetFigures();
	const double Played = SoakRun.PlayedSeconds();
	std::printf("%s soak, seed %u: %d actions over %.0f s of lesson time in %.1f s (%.1fx real time)\n",
	            Options.bLegacy ? "Legacy overlay" : "Full player", Options.Seed, Figures.ActionsDone, Played,
	            WallSeconds, Played / FMath::Max(WallSeconds, 1e-3));
	std::printf("Live objects: %d before, %d after the run and a collection, at most %d after a collection during "
	            "the run; failed ensures: %d\n",
	            Figures.LiveBefore, Figures.LiveAfter, Figures.LivePeak, GFailedEnsures);
	const auto Count = [](int64 Value) { return static_cast<long long>(Value); };
	if (Options.bLegacy)
	{
		std::printf("Comments: %lld due, %lld hand-overs to the track manager (every comment of the playing second on "
		            "every frame, and each push it took): %lld placed (%lld on a shared band), %lld reported not "
		            "placed, %lld outstanding; %lld live pushes, %lld of them for another lesson (ignored)\n",
		            Count(Figures.Due), Count(Figures.HandOvers), Count(Figures.Placed), Count(Figures.SharedBands),
		            Count(Figures.NotShown), Count(Figures.HandOvers - Figures.Placed - Figures.NotShown),
		            Count(Figures.Pushes), Count(Figures.ForeignPushes));
	}
	else
	{
		std::printf(
		    "Comments: %lld due, %lld placed, %lld reported not shown, %lld outstanding; %lld live pushes, "
		    "%lld of them kept for later (pushed while paused); %lld sends typed: %lld went out, %lld not taken by the "
		    "closed bar, %lld not taken otherwise; %lld own comments shown and %lld reported not shown\n",
		    Count(Figures.Due), Count(Figures.Placed), Count(Figures.NotShown),
		    Count(Figures.Due - Figures.Placed - Figures.NotShown), Count(Figures.Pushes), Count(Figures.Skipped),
		    Count(Figures.Sends), Count(Figures.SendsOut), Count(Figures.SendsBarClosed), Count(Figures.SendsNotTyped),
		    Count(Figures.OwnShown), Count(Figures.OwnNotShown));
	}
	for (const TPair<FString, int32>& Reason : Figures.NotShownByReason)
	{
		std::printf("  not %s, %s: %d\n", Options.bLegacy ? "placed" : "shown", TCHAR_TO_UTF8(*Reason.Key),
		            Reason.Value);
	}
}

int32 FPlayerSoak::Run()
{
	UE::Assert::SetEnsureHandler([](const char*, const char*, int) { ++GFailedEnsures; });
	FHeadlessApplication App(SoakScreenSizes[0]);
	App.SetGarbageCollectionInterval(-1.0);
	for (const TCHAR* Url : SoakLessonUrls)
	{
		FMediaSourceDescription Description;
		Description.Duration = FTimespan::FromSeconds(Options.LessonSeconds);
		Description.OpenSeconds = 0.1;
		// The second lesson's data comes slower than it plays, so it stalls now and then.
		Description.CacheRate = Url == SoakLessonUrls[1] ? 0.8 : 0.0;
		FMediaSourceRegistry::Register(Url, Description);
	}
	std::unique_ptr<FSoakRun> SoakRun;
	if (Options.bLegacy)
	{
		SoakRun = std::make_unique<FLegacySoak>(Options, App);
	}
	else
	{
		SoakRun = std::make_unique<FFullPlayerSoak>(Options, App);
	}
	const auto Start = std::chrono::steady_clock::now();
	const int32 Result = SoakRun->Run();
	const double Wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
	const FSoakFigures& Figures = SoakRun->GetFigures();
	if (GFailedEnsures > 0)
	{
		SoakRun->Fail(FString::Printf(TEXT("%d ensures failed"), GFailedEnsures));
	}
	if (Figures.LiveAfter != Figures.LiveBefore)
	{
		SoakRun->Fail(FString::Printf(TEXT("%d live objects after the run and a garbage collection, %d before"),
		                              Figures.LiveAfter, Figures.LiveBefore));
	}
	PrintFigures(*SoakRun, Wall);
	if (!SoakRun->GetFailure().IsEmpty())
	{
		std::fprintf(stderr, "PlayerSoak: FAILED at %s\n", TCHAR_TO_UTF8(*SoakRun->GetFailure()));
		return 1;
	}
	return Result;
}
