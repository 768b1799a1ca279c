// The headless media player's decoding and drawing of the bundled lesson video (640 x 360, 25 frames a second,
// H.264 with AAC sound): the next frame decoded in order, as playback does it (with the sound around it); a seek,
// decoded from the key frame before it; the frame converted to pixels; the picture drawn into a 1920 x 1080 screen;
// and one whole frame of playback, decoded, converted and drawn.

#include "Headless/HeadlessMediaDecoder.h"
#include "Headless/HeadlessPainter.h"
#include "Misc/Paths.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace
{
constexpr double FrameSeconds = 1.0 / 25.0;

std::unique_ptr<FHeadlessMediaDecoder> OpenVideo(benchmark::State& State)
{
	FString Error;
	std::unique_ptr<FHeadlessMediaDecoder> Decoder = FHeadlessMediaDecoder::Open(
	    FPaths::Combine(FPaths::ProjectContentDir(), TEXT("Samples/LessonVideo.mp4")), Error);
	if (!Decoder)
	{
		State.SkipWithError(TCHAR_TO_UTF8(*(TEXT("the bundled video does not open: ") + Error)));
	}
	return Decoder;
}

// Moves one frame on, starting again at the beginning at the end (the seek back is not timed).
void NextFrame(benchmark::State& State, FHeadlessMediaDecoder& Decoder, double& Time)
{
	Time += FrameSeconds;
	if (Time >= Decoder.GetDuration())
	{
		State.PauseTiming();
		Time = 0.0;
		Decoder.SeekTo(0.0);
		State.ResumeTiming();
		return;
	}
	Decoder.AdvanceTo(Time);
}
} // namespace

static void BM_DecodeNextFrame(benchmark::State& State)
{
	std::unique_ptr<FHeadlessMediaDecoder> Decoder = OpenVideo(State);
	double Time = 0.0;
	for (auto _ : State)
	{
		NextFrame(State, *Decoder, Time);
		benchmark::DoNotOptimize(Decoder->GetFrameTime());
	}
}
BENCHMARK(BM_DecodeNextFrame)->Unit(benchmark::kMicrosecond);

static void BM_SeekAndDecode(benchmark::State& State)
{
	std::unique_ptr<FHeadlessMediaDecoder> Decoder = OpenVideo(State);
	// Targets spread over the video, mostly between key frames (one a second).
	double Target = 0.0;
	for (auto _ : State)
	{
		Target = std::fmod(Target + 1.37, Decoder->GetDuration());
		Decoder->SeekTo(Target);
		benchmark::DoNotOptimize(Decoder->GetFrameTime());
	}
}
BENCHMARK(BM_SeekAndDecode)->Unit(benchmark::kMicrosecond);

static void BM_ConvertFrame(benchmark::State& State)
{
	std::unique_ptr<FHeadlessMediaDecoder> Decoder = OpenVideo(State);
	Decoder->AdvanceTo(2.5);
	TArray<FColor> Pixels;
	FIntPoint Size;
	for (auto _ : State)
	{
		Decoder->GetFrame(Pixels, Size);
		benchmark::DoNotOptimize(Pixels.GetData());
	}
}
BENCHMARK(BM_ConvertFrame)->Unit(benchmark::kMicrosecond);

static void BM_DrawFrame1080p(benchmark::State& State)
{
	std::unique_ptr<FHeadlessMediaDecoder> Decoder = OpenVideo(State);
	Decoder->AdvanceTo(2.5);
	TArray<FColor> Pixels;
	FIntPoint Size;
	Decoder->GetFrame(Pixels, Size);
	FHeadlessPainter Painter(1920, 1080);
	for (auto _ : State)
	{
		Painter.DrawPicture(FVector2D(0.0, 0.0), FVector2D(1920.0, 1080.0), Pixels, Size, FLinearColor::White);
		benchmark::DoNotOptimize(Painter.GetPixel(960, 540));
	}
}
BENCHMARK(BM_DrawFrame1080p)->Unit(benchmark::kMillisecond);

static void BM_DecodeConvertAndDrawOneFrame(benchmark::State& State)
{
	std::unique_ptr<FHeadlessMediaDecoder> Decoder = OpenVideo(State);
	FHeadlessPainter Painter(1920, 1080);
	TArray<FColor> Pixels;
	FIntPoint Size;
	double Time = 0.0;
	for (auto _ : State)
	{
		NextFrame(State, *Decoder, Time);
		Decoder->GetFrame(Pixels, Size);
		Painter.DrawPicture(FVector2D(0.0, 0.0), FVector2D(1920.0, 1080.0), Pixels, Size, FLinearColor::White);
		benchmark::DoNotOptimize(Painter.GetPixel(960, 540));
	}
}
BENCHMARK(BM_DecodeConvertAndDrawOneFrame)->Unit(benchmark::kMillisecond);
