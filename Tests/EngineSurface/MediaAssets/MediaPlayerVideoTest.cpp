#include "MediaTestTypes.h"

#include "../Core/FileTestDirectory.h"
#include "Headless/HeadlessAudioOutput.h"
#include "Headless/HeadlessTextures.h"
#include "MediaSoundComponent.h"
#include "MediaTexture.h"
#include "LogCapture.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "UObject/GarbageCollection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

namespace
{
// The bundled lesson video (Scripts/make_sample_video.sh): 640 x 360 at 25 frames a second, 6 s, a 440 Hz tone.
// Relative paths are taken from the Content folder.
const FString VideoPath = TEXT("Samples/LessonVideo.mp4");
constexpr double FrameRate = 25.0;
constexpr float Step = 1.0f / 50.0f;

// The frame number the picture's frame code shows: eight boxes along the bottom, box k white for bit k.
int32 ReadFrameCode(const FHeadlessTexturePicture& Picture)
{
	int32 Code = 0;
	for (int32 Bit = 0; Bit < 8; ++Bit)
	{
		const FColor& Pixel = Picture.Pixels[320 * Picture.Size.X + 16 + Bit * 76 + 32];
		Code |= (Pixel.R + Pixel.G + Pixel.B > 3 * 128 ? 1 : 0) << Bit;
	}
	return Code;
}

// The frame the file has at a media time.
int32 FrameAt(double Seconds)
{
	return int32(std::floor(Seconds * FrameRate + 1e-6));
}

// A media player on the bundled video with a texture and a sound component bound to it, as a game sets them up;
// the audio output's frames are collected.
struct FVideoScene
{
	FVideoScene()
	{
		Player->PlayOnOpen = false;
		Recorder->Listen(Player.Get());
		Texture->SetMediaPlayer(Player.Get());
		Sound->SetMediaPlayer(Player.Get());
		Sound->RegisterComponentWithWorld(App.GetWorld());
		FHeadlessAudioOutput::SetListener([this](const TArray<float>& Samples, bool bAnySource)
		                                  { Heard.Append(Samples); });
	}
	~FVideoScene()
	{
		FHeadlessAudioOutput::SetListener(nullptr);
		Sound->UnregisterComponent();
	}

	void Open()
	{
		ASSERT_TRUE(Player->OpenFile(VideoPath));
		App.Advance(0.2f, Step);
		ASSERT_TRUE(Player->IsReady());
	}
	FHeadlessTexturePicture Picture() const
	{
		FHeadlessTexturePicture Shown;
		FHeadlessTextures::ReadPicture(Texture.Get(), Shown);
		return Shown;
	}
	int32 ShownFrame() const
	{
		const FHeadlessTexturePicture Shown = Picture();
		return Shown.Pixels.IsEmpty() ? -1 : ReadFrameCode(Shown);
	}
	double Seconds() const { return Player->GetTime().GetTotalSeconds(); }
	// Plays for Seconds of application time and returns what was heard then (left channel).
	TArray<float> Listen(double Seconds)
	{
		Heard.Reset();
		App.Advance(float(Seconds), Step);
		TArray<float> Left;
		for (int32 Index = 0; Index < Heard.Num(); Index += 2)
		{
			Left.Add(Heard[Index]);
		}
		return Left;
	}

	FHeadlessApplication App;
	TStrongObjectPtr<UMediaPlayer> Player{NewObject<UMediaPlayer>()};
	TStrongObjectPtr<UMediaEventRecorder> Recorder{NewObject<UMediaEventRecorder>()};
	TStrongObjectPtr<UMediaTexture> Texture{NewObject<UMediaTexture>()};
	TStrongObjectPtr<UMediaSoundComponent> Sound{NewObject<UMediaSoundComponent>()};
	TArray<float> Heard;
};

// Whether FFmpeg's libraries are mapped into this process.
bool IsFfmpegLoaded()
{
	std::ifstream Maps("/proc/self/maps");
	std::stringstream Text;
	Text << Maps.rdbuf();
	return Text.str().find("libavcodec") != std::string::npos;
}

double RootMeanSquare(const TArray<float>& Samples)
{
	double Sum = 0.0;
	for (const float Sample : Samples)
	{
		Sum += double(Sample) * Sample;
	}
	return Samples.IsEmpty() ? 0.0 : std::sqrt(Sum / Samples.Num());
}

// Cycles per second of a tone, from its rising zero crossings.
double ToneFrequency(const TArray<float>& Samples)
{
	int32 Crossings = 0;
	for (int32 Index = 1; Index < Samples.Num(); ++Index)
	{
		Crossings += Samples[Index - 1] < 0.0f && Samples[Index] >= 0.0f ? 1 : 0;
	}
	return double(Crossings) * FHeadlessAudioOutput::SampleRate / Samples.Num();
}
} // namespace

TEST(MediaPlayerVideo, ShowsTheFileFrameAtThePlayHeadThroughSeeksRatesAndPauses)
{
	FVideoScene Scene;
	// Before anything is open the texture shows only its clear colour, and FFmpeg is not loaded: a program that
	// plays no file never maps it. (ctest runs each test in a process of its own; the test program does not link it.)
	EXPECT_TRUE(Scene.Picture().Pixels.IsEmpty());
	EXPECT_FALSE(IsFfmpegLoaded());
	Scene.Open();
	EXPECT_TRUE(IsFfmpegLoaded());
	EXPECT_EQ(Scene.Recorder->Events.Last(), TEXT("Opened:") + Scene.Player->GetUrl());
	EXPECT_EQ(Scene.Player->GetDuration(), FTimespan::FromSeconds(6.0));
	EXPECT_FLOAT_EQ(Scene.Player->GetVideoTrackFrameRate(INDEX_NONE, INDEX_NONE), 25.0f);
	EXPECT_EQ(Scene.Player->GetVideoTrackDimensions(0, 0), FIntPoint(640, 360));
	EXPECT_EQ(Scene.Texture->GetWidth(), 640);
	EXPECT_EQ(Scene.ShownFrame(), 0);

	ASSERT_TRUE(Scene.Player->Play());
	for (const double Until : {0.5, 1.3, 2.02})
	{
		Scene.App.Advance(float(Until - Scene.Seconds()), Step);
		EXPECT_EQ(Scene.ShownFrame(), FrameAt(Scene.Seconds())) << "at " << Scene.Seconds() << " s";
	}

	// A seek lands on the frame at the target, forward past a key frame and back before the play head.
	for (const double Target : {4.3, 1.07, 5.96})
	{
		ASSERT_TRUE(Scene.Player->Seek(FTimespan::FromSeconds(Target)));
		Scene.App.Tick(Step);
		EXPECT_EQ(Scene.ShownFrame(), FrameAt(Scene.Seconds())) << "after a seek to " << Target << " s";
	}
	ASSERT_TRUE(Scene.Player->Seek(FTimespan::FromSeconds(1.0)));
	Scene.App.Tick(Step);

	// Paused, the picture holds; at twice the rate it runs twice as far.
	ASSERT_TRUE(Scene.Player->Pause());
	Scene.App.Tick(Step);
	const int32 Held = Scene.ShownFrame();
	Scene.App.Advance(1.0f, Step);
	EXPECT_EQ(Scene.ShownFrame(), Held);
	ASSERT_TRUE(Scene.Player->SetRate(2.0f));
	const double Before = Scene.Seconds();
	Scene.App.Advance(1.0f, Step);
	EXPECT_NEAR(Scene.Seconds() - Before, 2.0, 0.05);
	EXPECT_EQ(Scene.ShownFrame(), FrameAt(Scene.Seconds()));

	// Looping, the picture starts again from the first frames; without, the last frame stays at the end.
	Scene.Player->Loop = true;
	Scene.App.Advance(2.0f, Step);
	EXPECT_LT(Scene.Seconds(), 1.5) << "3 s plus 4 s at twice the rate, past the 6 s end";
	EXPECT_EQ(Scene.ShownFrame(), FrameAt(Scene.Seconds()));
	Scene.Player->Loop = false;
	Scene.App.Advance(3.0f, Step);
	EXPECT_EQ(Scene.Recorder->Events.Last(), TEXT("EndReached"));
	EXPECT_EQ(Scene.ShownFrame(), 149);
	// Closed, the texture is cleared.
	Scene.Player->Close();
	EXPECT_TRUE(Scene.Picture().Pixels.IsEmpty());
	EXPECT_EQ(Scene.Texture->GetWidth(), 0);
}

TEST(MediaPlayerVideo, OpensWebmWithVp9AndOpus)
{
	// One second at 160 x 90, 10 frames a second, with a tone (Scripts/make_sample_video.sh).
	FVideoScene Scene;
	ASSERT_TRUE(Scene.Player->OpenFile(TEXT("Test/Media/Tiny.webm")));
	Scene.App.Advance(0.2f, Step);
	ASSERT_TRUE(Scene.Player->IsReady());
	EXPECT_NEAR(Scene.Player->GetDuration().GetTotalSeconds(), 1.0, 0.01);
	EXPECT_FLOAT_EQ(Scene.Player->GetVideoTrackFrameRate(0, 0), 10.0f);
	EXPECT_EQ(Scene.Picture().Size, FIntPoint(160, 90));
	ASSERT_TRUE(Scene.Player->Play());
	EXPECT_GT(RootMeanSquare(Scene.Listen(0.5)), 0.03);
}

TEST(MediaPlayerVideo, SoundFollowsVolumeMutePauseAndRate)
{
	FVideoScene Scene;
	Scene.Open();
	ASSERT_TRUE(Scene.Player->Play());
	Scene.App.Advance(0.5f, Step);

	const TArray<float> Normal = Scene.Listen(1.0);
	EXPECT_NEAR(Normal.Num(), FHeadlessAudioOutput::SampleRate, 2);
	// The bundled tone: 440 Hz, amplitude 1/8, mono, so each of the two channels has it 3 dB down.
	const double Level = RootMeanSquare(Normal);
	EXPECT_NEAR(Level, 0.125 / std::sqrt(2.0) / std::sqrt(2.0), 0.005);
	EXPECT_NEAR(ToneFrequency(Normal), 440.0, 5.0);

	Scene.Sound->SetVolumeMultiplier(0.5f);
	EXPECT_NEAR(RootMeanSquare(Scene.Listen(0.5)), Level * 0.5, 0.005);
	Scene.Sound->SetVolumeMultiplier(0.0f);
	EXPECT_EQ(RootMeanSquare(Scene.Listen(0.5)), 0.0);
	Scene.Sound->SetVolumeMultiplier(1.0f);

	ASSERT_TRUE(Scene.Player->Pause());
	Scene.App.Tick(Step);
	EXPECT_EQ(RootMeanSquare(Scene.Listen(0.5)), 0.0);

	// Twice the rate: the tone an octave up, as loud.
	ASSERT_TRUE(Scene.Player->SetRate(2.0f));
	Scene.App.Tick(Step);
	const TArray<float> Fast = Scene.Listen(0.5);
	EXPECT_NEAR(ToneFrequency(Fast), 880.0, 10.0);
	EXPECT_NEAR(RootMeanSquare(Fast), Level, 0.01);
}

namespace
{
// A WAV file of Seconds of silence: a container FFmpeg reads, with no video track.
TArray<uint8> MakeSilentWav(int32 Seconds)
{
	const uint32 DataBytes = uint32(8000 * 2 * Seconds);
	TArray<uint8> Bytes;
	const auto Text = [&Bytes](const char* Chars) { Bytes.Append(reinterpret_cast<const uint8*>(Chars), 4); };
	const auto Number = [&Bytes](uint32 Value, int32 Count)
	{
		for (int32 Index = 0; Index < Count; ++Index)
		{
			Bytes.Add(uint8(Value >> (8 * Index)));
		}
	};
	Text("RIFF");
	Number(36 + DataBytes, 4);
	Text("WAVE");
	Text("fmt ");
	Number(16, 4);
	Number(1, 2);        // PCM
	Number(1, 2);        // mono
	Number(8000, 4);     // samples a second
	Number(8000 * 2, 4); // bytes a second
	Number(2, 2);
	Number(16, 2);
	Text("data");
	Number(DataBytes, 4);
	Bytes.AddZeroed(int32(DataBytes));
	return Bytes;
}

// The bundled video with the length in its movie and track headers made 49 days.
TArray<uint8> WithHugeLength(TArray<uint8> Bytes)
{
	for (const char* Box : {"mvhd", "mdhd"})
	{
		for (int32 Index = 0; Index + 24 < Bytes.Num(); ++Index)
		{
			if (std::memcmp(&Bytes[Index], Box, 4) == 0 && Bytes[Index + 4] == 0)
			{
				// Version 0: flags, two dates and the time scale, then the 32-bit duration.
				Bytes[Index + 20] = Bytes[Index + 21] = Bytes[Index + 22] = 0xFF;
				Bytes[Index + 23] = 0xF0;
			}
		}
	}
	return Bytes;
}
} // namespace

TEST(MediaPlayerVideo, RefusesFilesItCannotPlayWithAReason)
{
	FFileTestDirectory Directory("MediaPlayerVideoBad");
	TArray<uint8> Video;
	ASSERT_TRUE(FFileHelper::LoadFileToArray(Video, *(FPaths::ProjectContentDir() / VideoPath)));
	TArray<uint8> Cut = Video;
	Cut.SetNum(Video.Num() / 2);
	ASSERT_TRUE(FFileHelper::SaveArrayToFile(Cut, *(Directory / "Cut.mp4")));
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("not a movie"), *(Directory / "Notes.mp4")));
	ASSERT_TRUE(FFileHelper::SaveArrayToFile(MakeSilentWav(2), *(Directory / "Sound.wav")));
	ASSERT_TRUE(FFileHelper::SaveArrayToFile(WithHugeLength(Video), *(Directory / "Huge.mp4")));
	const TPair<const char*, const TCHAR*> Cases[] = {
	    {"Cut.mp4", TEXT("break off before the 6.00 s it states")},
	    {"Notes.mp4", TEXT("not a media file that can be read")},
	    {"Sound.wav", TEXT("no video track")},
	    {"Huge.mp4", TEXT("beyond a day")},
	};
	FVideoScene Scene;
	for (const TPair<const char*, const TCHAR*>& Case : Cases)
	{
		FLogCapture Log;
		const FString Path = Directory / Case.Key;
		ASSERT_TRUE(Scene.Player->OpenFile(Path));
		Scene.App.Advance(0.2f, Step);
		EXPECT_EQ(Scene.Recorder->Events.Last(), TEXT("OpenFailed:file://") + Path);
		const TArray<FString> Warnings = Log.Messages(ELogVerbosity::Warning);
		ASSERT_EQ(Warnings.Num(), 1) << Case.Key;
		EXPECT_TRUE(Warnings[0].StartsWith(FString::Printf(TEXT("Media file file://%s cannot be played: "), *Path)))
		    << TCHAR_TO_UTF8(*Warnings[0]);
		EXPECT_TRUE(Warnings[0].Contains(Case.Value)) << TCHAR_TO_UTF8(*Warnings[0]);
		EXPECT_TRUE(Scene.Player->IsClosed());
		EXPECT_TRUE(Scene.Picture().Pixels.IsEmpty());
	}
	// The whole file still plays after them.
	Scene.Open();
	EXPECT_EQ(Scene.ShownFrame(), 0);
}
