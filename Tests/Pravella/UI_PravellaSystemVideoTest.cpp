#include "Components/ComboBoxString.h"
#include "Components/Slider.h"
#include "Headless/HeadlessPainter.h"
#include "Headless/HeadlessViewport.h"
#include "LessonPlayerScreen.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// The bundled lesson video (Scripts/make_sample_video.sh), 640 x 360 at 25 frames a second, drawn three times its
// size into the player's 1920 x 1080 picture.
const TCHAR* const VideoPath = TEXT("Samples/LessonVideo.mp4");

// The frame number the screen shows: the video's frame code, eight boxes along its bottom, box k white for bit k,
// read in their upper part, which the control bar leaves clear.
int32 FrameOnScreen()
{
	FHeadlessPainter Painter(1920, 1080);
	FHeadlessViewport::Get().Paint(Painter);
	int32 Code = 0;
	for (int32 Bit = 0; Bit < 8; ++Bit)
	{
		const FColor Pixel = Painter.GetPixel(3 * (48 + 76 * Bit), 3 * 300);
		Code |= (Pixel.R + Pixel.G + Pixel.B > 3 * 128 ? 1 : 0) << Bit;
	}
	return Code;
}

int32 FrameAt(const FLessonPlayerScreen& Screen)
{
	return int32(std::floor(Screen.Media->GetTime().GetTotalSeconds() * 25.0 + 1e-6));
}

void DragProgressTo(FLessonPlayerScreen& Screen, double Fraction)
{
	USlider* Slider = Screen.Child<USlider>(TEXT("MovieProgress"));
	const FGeometry& Geometry = Slider->GetCachedGeometry();
	Screen.App.MoveMouse(Geometry.GetAbsolutePosition() + Geometry.GetAbsoluteSize() * FVector2D(0.1, 0.5));
	Screen.StepFor(0.3);
	Screen.App.PressMouse();
	Screen.Step();
	Screen.App.MoveMouse(Geometry.GetAbsolutePosition() + Geometry.GetAbsoluteSize() * FVector2D(Fraction, 0.5));
	Screen.Step();
	Screen.App.ReleaseMouse();
	Screen.Step();
}
} // namespace

TEST(UI_PravellaSystem, TheScreenShowsTheLessonFileFrameThroughSeekPauseAndSpeed)
{
	FLessonPlayerScreen Screen;
	Screen.Player->PlayMediaByLocal(VideoPath);
	Screen.StepFor(0.2);
	Screen.Player->ResetBulletChatDatas(TEXT("{\"datas\":[") + MakeComment(TEXT("over the picture"), 1.0) + TEXT("]}"));
	ASSERT_TRUE(Screen.Media->IsPlaying());
	EXPECT_EQ(Screen.Media->GetDuration(), FTimespan::FromSeconds(6.0));
	Screen.PlayUntil(1.3);
	EXPECT_EQ(FrameOnScreen(), FrameAt(Screen));
	EXPECT_EQ(Screen.CommentsOnScreen(), TArray<FString>({TEXT("over the picture")}));

	// The viewer drags the progress slider to three quarters: the screen shows the file's frame at 4.5 s.
	DragProgressTo(Screen, 0.75);
	Screen.StepFor(0.1);
	EXPECT_NEAR(Screen.Media->GetTime().GetTotalSeconds(), 4.6, 0.1);
	EXPECT_EQ(FrameOnScreen(), FrameAt(Screen));

	// Paused, the picture holds.
	Screen.Click(TEXT("SuspendButton"));
	ASSERT_FALSE(Screen.Media->IsPlaying());
	const int32 Held = FrameOnScreen();
	Screen.StepFor(0.5);
	EXPECT_EQ(FrameOnScreen(), Held);
	Screen.Click(TEXT("SuspendButton"));
	ASSERT_TRUE(Screen.Media->IsPlaying());

	// At half speed the picture moves on half as fast.
	Screen.Child<UComboBoxString>(TEXT("ComboPlaySpeed"))->SetSelectedOption(TEXT("0.5x"));
	const double Before = Screen.Media->GetTime().GetTotalSeconds();
	Screen.StepFor(0.5);
	EXPECT_NEAR(Screen.Media->GetTime().GetTotalSeconds() - Before, 0.25, 0.02);
	EXPECT_EQ(FrameOnScreen(), FrameAt(Screen));
}
