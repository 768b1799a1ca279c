#include "DanmakuTestStage.h"

#include <benchmark/benchmark.h>

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

// A burst of 500 comments within one second on a 1920 x 1080 canvas whose 53 scroll lanes are all busy.
static void BM_PlaceCommentBurstWithEveryScrollLaneBusy(benchmark::State& State)
{
	FDanmakuStage Stage(FVector2D(1920.0, 1080.0), 42);
	Stage.App.SetGarbageCollectionInterval(1.0);
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
BENCHMARK(BM_PlaceCommentBurstWithEveryScrollLaneBusy)->Unit(benchmark::kMicrosecond);

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
