#include "DanmakuTestStage.h"
#include "UObject/GarbageCollection.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <string>

namespace
{
const FString Words = TEXT("lorem ipsum dolor sit amet consectetur adipiscing elit sed do eiusmod tempor");

// Fills every lane of the mode with small comments that have not entered yet, so that each lane refuses.
void FillLanes(FDanmakuStage& Stage, EDanmakuMode Mode)
{
	while (Stage.Spawn(FDanmakuStage::Comment(TEXT("busy"), Mode, 10)))
	{
	}
}

FDanmakuData MixedComment()
{
	const int32 Roll = FMath::RandRange(0, 9);
	const EDanmakuMode Mode = Roll < 7 ? EDanmakuMode::SCROLL : (Roll < 9 ? EDanmakuMode::TOP : EDanmakuMode::BOTTOM);
	return FDanmakuStage::Comment(Words.Left(FMath::RandRange(4, Words.Len())), Mode, FMath::RandRange(18, 30));
}
} // namespace

// Places comments in bursts of 500 a second, every scroll lane busy when each burst starts.
static void PlaceBursts(benchmark::State& State, FDanmakuStage& Stage)
{
	int32 InBurst = 0;
	FillLanes(Stage, EDanmakuMode::SCROLL);
	for (auto _ : State)
	{
		Stage.Manager()->SpawnDanmakuNode(MixedComment());
		if (++InBurst == 500)
		{
			State.PauseTiming();
			InBurst = 0;
			Stage.Advance(1.0f, 1.0f / 60.0f);
			FillLanes(Stage, EDanmakuMode::SCROLL);
			State.ResumeTiming();
		}
	}
	State.counters["nodes on canvas"] = Stage.Nodes().Num();
}

// A burst of 500 comments within one second on a 1920 x 1080 canvas whose 53 scroll lanes are all busy.
static void BM_PlaceCommentBurstWithEveryScrollLaneBusy(benchmark::State& State)
{
	FDanmakuStage Stage(FVector2D(1920.0, 1080.0), 42);
	Stage.App.SetGarbageCollectionInterval(1.0);
	PlaceBursts(State, Stage);
}
BENCHMARK(BM_PlaceCommentBurstWithEveryScrollLaneBusy)->Unit(benchmark::kMicrosecond);

// One positioned comment: its payload read, its node made, measured, fitted to the stage and put on the canvas.
// Such comments take no lane, so the canvas is cleared after every 500 to keep it as busy as a real burst leaves it.
static void BM_PlacePositionedComment(benchmark::State& State)
{
	FDanmakuStage Stage(FVector2D(1920.0, 1080.0), 42);
	Stage.App.SetGarbageCollectionInterval(1.0);
	const FDanmakuData Data = FDanmakuStage::Comment(TEXT("[0.2, \"0.35\", \"1-0.3\", 4.5, \"前方高能/nlook here\", "
	                                                      "15, 30, 0.6, 0.35, 2000, 500, true, \"SimHei\", 1]"),
	                                                 EDanmakuMode::POSITIONED, 25);
	int32 Placed = 0;
	for (auto _ : State)
	{
		Stage.Manager()->SpawnDanmakuNode(Data);
		if (++Placed % 500 == 0)
		{
			State.PauseTiming();
			Stage.Manager()->Empty();
			Stage.Advance(1.0f, 1.0f / 60.0f);
			State.ResumeTiming();
		}
	}
	State.counters["nodes on canvas"] = Stage.Nodes().Num();
}
BENCHMARK(BM_PlacePositionedComment)->Unit(benchmark::kMicrosecond);

// One 60 Hz frame with every scroll, top and bottom lane holding comments.
static void BM_TickFrameWithEveryLaneFull(benchmark::State& State)
{
	FDanmakuStage Stage(FVector2D(1920.0, 1080.0), 7);
	Stage.App.SetGarbageCollectionInterval(1.0);
	int32 Frame = 0;
	int64 NodesTicked = 0;
	for (auto _ : State)
	{
		if (Frame++ % 60 == 0)
		{
			State.PauseTiming();
			for (EDanmakuMode Mode : {EDanmakuMode::SCROLL, EDanmakuMode::TOP, EDanmakuMode::BOTTOM})
			{
				FillLanes(Stage, Mode);
			}
			NodesTicked += Stage.Nodes().Num();
			State.ResumeTiming();
		}
		Stage.App.Tick(1.0f / 60.0f);
	}
	State.counters["nodes on canvas"] =
	    benchmark::Counter(double(NodesTicked) / double(FMath::Max(1, (Frame + 59) / 60)));
}
BENCHMARK(BM_TickFrameWithEveryLaneFull)->Unit(benchmark::kMillisecond);

namespace
{
// A 1,000-entry block list of the kind viewers keep: words, and PatternCount regular expressions made from the
// shapes below (each with its own number). None of the benchmark's comments is blocked, so every check runs in full.
TSharedRef<FDanmakuBlockList> MakeBlockList(int32 PatternCount)
{
	static const TCHAR* const Shapes[] = {TEXT("^6{%d,}$"),       TEXT("buy\\s*%d\\s*cheap"),
	                                      TEXT("qq\\s*\\d{%d,}"), TEXT("https?://\\S*%d"),
	                                      TEXT("加[vV微]%d"),     TEXT("^[?？!！。.]{%d,}$"),
	                                      TEXT("(.)\\1{%d,}"),    TEXT("^(ha){%d,}$"),
	                                      TEXT("wx\\s*id%d"),     TEXT("2{3,}%d3")};
	TSharedRef<FDanmakuBlockList> List = MakeShared<FDanmakuBlockList>();
	FString Error;
	for (int32 Index = 0; Index < 1000 - PatternCount; ++Index)
	{
		List->AddWord(FString::Printf(TEXT("blocked%dword"), Index));
	}
	for (int32 Index = 0; Index < PatternCount; ++Index)
	{
		List->AddPattern(FString::Printf(Shapes[Index % 10], Index / 10 + 4), Error);
	}
	return List;
}
} // namespace

// The burst above with a 1,000-entry block list (990 words, 10 patterns) and both density limits on, set high
// enough that the burst is placed, so every comment pays for the checks and for its placement.
static void BM_PlaceCommentWithBlockListAndDensityLimit(benchmark::State& State)
{
	FDanmakuStage Stage(FVector2D(1920.0, 1080.0), 42);
	Stage.App.SetGarbageCollectionInterval(1.0);
	Stage.Manager()->SetBlockList(MakeBlockList(10));
	FDanmakuDisplayControls Controls;
	Controls.MaxOnScreen = 2000;
	Controls.MaxPerSecond = 1000;
	Stage.Manager()->SetDisplayControls(Controls);
	int32 HeldBack = 0;
	Stage.Manager()->OnDanmakuNotShown.AddLambda([&HeldBack](const FDanmakuData&, EDanmakuNotShownReason Reason)
	                                             { HeldBack += Reason >= EDanmakuNotShownReason::Blocked ? 1 : 0; });
	PlaceBursts(State, Stage);
	State.counters["held back by the controls"] = HeldBack;
}
BENCHMARK(BM_PlaceCommentWithBlockListAndDensityLimit)->Unit(benchmark::kMicrosecond);

// The block list check alone on the same comments, by the number of patterns among the 1,000 entries.
static void BM_CheckCommentAgainstBlockList(benchmark::State& State)
{
	const TSharedRef<FDanmakuBlockList> List = MakeBlockList(int32(State.range(0)));
	FMath::RandInit(42);
	TArray<FString> Contents;
	for (int32 Index = 0; Index < 256; ++Index)
	{
		Contents.Add(MixedComment().Content);
	}
	int32 Index = 0;
	for (auto _ : State)
	{
		benchmark::DoNotOptimize(List->IsBlocked(Contents[Index++ & 255]));
	}
}
BENCHMARK(BM_CheckCommentAgainstBlockList)->Arg(0)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);

namespace
{
long ResidentKilobytes()
{
	std::ifstream Status("/proc/self/status");
	std::string Line;
	while (std::getline(Status, Line))
	{
		if (Line.rfind("VmRSS:", 0) == 0)
		{
			return std::stol(Line.substr(6));
		}
	}
	return 0;
}
} // namespace

// 20,000 comments due within one second, handed over in 60 frames, on a canvas whose lanes take a few hundred: what
// the burst costs in live objects and resident memory at its peak, per comment due. Collection runs once a second as
// in a game, so whatever the burst makes for comments it cannot place lives until the second is over. Run it alone
// (--benchmark_filter=BM_BurstOfCommentsDueInOneSecond) for a resident figure that earlier runs did not lower.
static void BM_BurstOfCommentsDueInOneSecond(benchmark::State& State)
{
	constexpr int32 Due = 20000;
	constexpr int32 Frames = 60;
	for (auto _ : State)
	{
		FDanmakuStage Stage(FVector2D(1920.0, 1080.0), 42);
		Stage.App.SetGarbageCollectionInterval(1.0);
		Stage.App.Tick(0.0f);
		const int32 ObjectsBefore = GetNumLiveObjects();
		const long ResidentBefore = ResidentKilobytes();
		int32 PeakObjects = ObjectsBefore;
		long PeakResident = ResidentBefore;
		for (int32 Frame = 0; Frame < Frames; ++Frame)
		{
			for (int32 Index = Frame * Due / Frames; Index < (Frame + 1) * Due / Frames; ++Index)
			{
				const EDanmakuMode Mode = Index % 10 < 7 ? EDanmakuMode::SCROLL : EDanmakuMode::TOP;
				Stage.Manager()->SpawnDanmakuNode(
				    FDanmakuStage::Comment(FString::Printf(TEXT("comment %d"), Index), Mode, 18 + Index % 8));
			}
			Stage.App.Tick(1.0f / Frames);
			PeakObjects = FMath::Max(PeakObjects, GetNumLiveObjects());
			PeakResident = FMath::Max(PeakResident, ResidentKilobytes());
		}
		State.counters["objects per due comment"] = double(PeakObjects - ObjectsBefore) / Due;
		State.counters["bytes per due comment"] = double(PeakResident - ResidentBefore) * 1024.0 / Due;
		State.counters["nodes on canvas"] = Stage.Nodes().Num();
	}
}
BENCHMARK(BM_BurstOfCommentsDueInOneSecond)->Iterations(1)->Unit(benchmark::kMillisecond);

// Two minutes of a busy lesson, 40 comments a second, with collection once a minute as the engine's default
// purge interval has it: the peak of live objects per comment placed, and the most nodes on the canvas at once.
// Nodes whose comment has gone carry later ones, so the peak follows the canvas rather than the minute.
static void BM_SteadyCommentsForTwoMinutes(benchmark::State& State)
{
	constexpr int32 Seconds = 120;
	constexpr int32 PerSecond = 40;
	constexpr int32 Frames = 60;
	for (auto _ : State)
	{
		FDanmakuStage Stage(FVector2D(1920.0, 1080.0), 42);
		Stage.App.SetGarbageCollectionInterval(60.0);
		Stage.App.Tick(0.0f);
		int32 Placed = 0;
		Stage.Manager()->OnDanmakuPlaced.AddLambda([&Placed](const FDanmakuPlacement&) { ++Placed; });
		const int32 ObjectsBefore = GetNumLiveObjects();
		int32 PeakObjects = ObjectsBefore;
		int32 MostOnCanvas = 0;
		for (int32 Frame = 0; Frame < Seconds * Frames; ++Frame)
		{
			for (int32 Index = Frame * PerSecond / Frames; Index < (Frame + 1) * PerSecond / Frames; ++Index)
			{
				const EDanmakuMode Mode = Index % 10 < 7 ? EDanmakuMode::SCROLL : EDanmakuMode::TOP;
				Stage.Manager()->SpawnDanmakuNode(
				    FDanmakuStage::Comment(FString::Printf(TEXT("comment %d"), Index), Mode, 18 + Index % 8));
			}
			Stage.App.Tick(1.0f / Frames);
			PeakObjects = FMath::Max(PeakObjects, GetNumLiveObjects());
			MostOnCanvas = FMath::Max(MostOnCanvas, Stage.Canvas()->GetChildrenCount());
		}
		State.counters["objects per placed comment"] = double(PeakObjects - ObjectsBefore) / FMath::Max(1, Placed);
		State.counters["placed"] = Placed;
		State.counters["most on canvas"] = MostOnCanvas;
	}
}
BENCHMARK(BM_SteadyCommentsForTwoMinutes)->Iterations(1)->Unit(benchmark::kMillisecond);
