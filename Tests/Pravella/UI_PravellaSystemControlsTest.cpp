#include "LessonPlayerScreen.h"

#include "Components/CanvasPanelSlot.h"
#include "Components/WrapBoxSlot.h"
#include "Components/CheckBox.h"
#include "Components/ComboBoxString.h"
#include "Components/ProgressBar.h"
#include "Components/Slider.h"
#include "Components/TextBlock.h"
#include "MediaPlaylist.h"

#include <gtest/gtest.h>

namespace
{
const TCHAR* const ThirdLessonUrl = TEXT("https://lessons.test/three.mp4");

// A playlist of the given lessons, the first one open and playing; lessons take a second to open.
void StartPlaylist(FLessonPlayerScreen& Screen, const TArray<const TCHAR*>& Urls)
{
	FMediaSourceDescription Description;
	Description.Duration = FTimespan::FromSeconds(60.0);
	Description.OpenSeconds = 1.0;
	for (const TCHAR* Url : {FLessonPlayerScreen::LessonUrl, FLessonPlayerScreen::SecondLessonUrl, ThirdLessonUrl})
	{
		FMediaSourceRegistry::Register(Url, Description);
	}
	for (const TCHAR* Url : Urls)
	{
		Screen.Player->AddToPlaylist(Url);
	}
	Screen.Player->OpenPlaylistUrl(Urls[0]);
	Screen.StepFor(1.2);
}

FString TimeText(FLessonPlayerScreen& Screen)
{
	return Screen.Child<UTextBlock>(TEXT("PlayTimeText"))->GetText().ToString();
}

double BarOffset(FLessonPlayerScreen& Screen)
{
	return Screen.Child<UWidget>(TEXT("ControlBar"))->GetRenderTransform().Translation.Y;
}

// Drags the progress slider's thumb to Fraction of its width, as a viewer does.
void DragProgressTo(FLessonPlayerScreen& Screen, double Fraction)
{
	USlider* Slider = Screen.Child<USlider>(TEXT("MovieProgress"));
	const FGeometry& Geometry = Slider->GetCachedGeometry();
	const FVector2D Start = Geometry.GetAbsolutePosition() + Geometry.GetAbsoluteSize() * FVector2D(0.1, 0.5);
	Screen.App.MoveMouse(Start);
	Screen.StepFor(0.3);
	Screen.App.PressMouse();
	Screen.Step();
	Screen.App.MoveMouse(Geometry.GetAbsolutePosition() + Geometry.GetAbsoluteSize() * FVector2D(Fraction, 0.5));
	Screen.Step();
	Screen.App.ReleaseMouse();
	Screen.Step();
}
} // namespace

TEST(UI_PravellaSystem, NextAndPreviousWrapAroundThePlaylist)
{
	FLessonPlayerScreen Screen;
	TArray<FString> Announced;
	Screen.Player->OnPlaylistUrlChanged.BindLambda([&Announced](const FString& Url) { Announced.Add(Url); });

	// An empty playlist has nowhere to go: nothing is announced or opened.
	Screen.Click(TEXT("NestButton"));
	EXPECT_TRUE(Announced.IsEmpty());
	EXPECT_TRUE(Screen.Player->IsClose());

	StartPlaylist(Screen, {FLessonPlayerScreen::LessonUrl, FLessonPlayerScreen::SecondLessonUrl, ThirdLessonUrl});
	Screen.Click(TEXT("PreviousButton"));
	Screen.StepFor(1.2);
	EXPECT_EQ(Screen.Media->GetUrl(), ThirdLessonUrl);
	Screen.Click(TEXT("NestButton"));
	Screen.StepFor(1.2);
	EXPECT_EQ(Screen.Media->GetUrl(), FLessonPlayerScreen::LessonUrl);
	EXPECT_EQ(Announced, TArray<FString>({ThirdLessonUrl, FLessonPlayerScreen::LessonUrl}));

	// Clicks while the next lesson still opens: only the last target is kept, opened afterwards, and the host
	// hears of the moves that are made, not of the one dropped.
	Announced.Empty();
	Screen.Click(TEXT("NestButton"));
	Screen.Click(TEXT("NestButton"));
	Screen.Click(TEXT("PreviousButton"));
	Screen.StepFor(2.5);
	EXPECT_EQ(Screen.Media->GetUrl(), FLessonPlayerScreen::LessonUrl);
	EXPECT_EQ(Screen.Media->GetPlaylistIndex(), 0);
	EXPECT_EQ(Announced, TArray<FString>({FLessonPlayerScreen::SecondLessonUrl, FLessonPlayerScreen::LessonUrl}));

	// A host may open a playlist of its own on the media player; next and previous still walk the player's.
	UMediaPlaylist* HostList = NewObject<UMediaPlaylist>();
	HostList->AddUrl(ThirdLessonUrl);
	Screen.Media->OpenPlaylistIndex(HostList, 0);
	Screen.StepFor(1.2);
	Screen.Click(TEXT("NestButton"));
	Screen.StepFor(1.2);
	EXPECT_EQ(Screen.Media->GetUrl(), FLessonPlayerScreen::SecondLessonUrl);
	EXPECT_EQ(Screen.Player->GetPlaylist()->Num(), 3);
}

TEST(UI_PravellaSystem, AMoveWaitingForTheOpenSourceKeepsItsPlaylistEntry)
{
	FLessonPlayerScreen Screen;
	// One URL twice: the entry asked for, not the first with that URL, is opened.
	StartPlaylist(Screen, {FLessonPlayerScreen::SecondLessonUrl, FLessonPlayerScreen::LessonUrl,
	                       FLessonPlayerScreen::SecondLessonUrl});
	Screen.Player->OpenPlaylistUrl(FLessonPlayerScreen::LessonUrl);
	Screen.Step();
	ASSERT_TRUE(Screen.Media->IsPreparing());
	Screen.Click(TEXT("NestButton"));
	Screen.StepFor(2.5);
	EXPECT_EQ(Screen.Media->GetPlaylistIndex(), 2);
}

TEST(UI_PravellaSystem, NextOnAOneLessonPlaylistStartsItAgain)
{
	FLessonPlayerScreen Screen;
	StartPlaylist(Screen, {FLessonPlayerScreen::LessonUrl});
	Screen.PlayUntil(3.0);
	Screen.Click(TEXT("NestButton"));
	Screen.StepFor(1.2);
	EXPECT_EQ(Screen.Media->GetPlaylistIndex(), 0);
	EXPECT_LT(Screen.Media->GetTime().GetTotalSeconds(), 1.0);
}

TEST(UI_PravellaSystem, TheSliderAndTimeFollowPlaybackAndADragSeeks)
{
	FLessonPlayerScreen Screen(TEXT("/Game/UI/WBP_LessonPlayer"), 90000.0);
	USlider* Slider = Screen.Child<USlider>(TEXT("MovieProgress"));
	// Nothing open: a zero duration shows as 0, never NaN.
	EXPECT_EQ(Slider->GetValue(), 0.0f);
	UProgressBar* CacheBar = Screen.Child<UProgressBar>(TEXT("VideoCacheLoading"));
	EXPECT_EQ(CacheBar->GetPercent(), 0.0f);

	Screen.Step();
	EXPECT_EQ(TimeText(Screen), TEXT("00:00:00/00:00:00"));

	Screen.OpenLesson();
	Screen.Step();
	// The length shows as soon as it is known, while the time still reads zero.
	EXPECT_EQ(TimeText(Screen), TEXT("00:00:00/01:00:00"));
	Screen.PlayUntil(65.0);
	Screen.Step();
	// 25 hours long: hours are shown modulo 24.
	EXPECT_EQ(TimeText(Screen), TEXT("00:01:05/01:00:00"));
	// The cache bar shows the media player's cache-behind setting over the length.
	const FTimespan CacheBehind = Screen.Media->CacheBehind;
	Screen.Media->CacheBehind = FTimespan::FromSeconds(9000.0);
	Screen.Step();
	EXPECT_NEAR(CacheBar->GetPercent(), 0.1f, 1e-6f);
	Screen.Media->CacheBehind = CacheBehind;
	EXPECT_NEAR(Slider->GetValue(), 65.0 / 90000.0, 1e-4);

	Screen.Click(TEXT("PauseButton"));
	DragProgressTo(Screen, 0.5);
	Screen.StepFor(0.2);
	EXPECT_NEAR(Screen.Media->GetTime().GetTotalSeconds(), 45000.0, 60.0);
	EXPECT_TRUE(Screen.Media->IsPlaying()) << "a drag while paused plays once the seek completes";

	DragProgressTo(Screen, 0.25);
	Screen.StepFor(0.2);
	EXPECT_NEAR(Screen.Media->GetTime().GetTotalSeconds(), 22500.0, 60.0);
	EXPECT_TRUE(Screen.Media->IsPlaying());
	EXPECT_NEAR(Slider->GetValue(), 0.25, 1e-3);
}

TEST(UI_PravellaSystem, ReleasingTheSliderOnASourceThatCannotSeekSnapsBack)
{
	FLessonPlayerScreen Screen;
	FMediaSourceDescription Live;
	Live.Duration = FTimespan::FromSeconds(100.0);
	Live.bCanSeek = false;
	FMediaSourceRegistry::Register(ThirdLessonUrl, Live);
	Screen.Player->PlayMediaByNet(ThirdLessonUrl);
	Screen.PlayUntil(10.0);
	DragProgressTo(Screen, 0.8);
	Screen.Step();
	EXPECT_NEAR(Screen.Media->GetTime().GetTotalSeconds(), 10.5, 1.0);
	EXPECT_NEAR(Screen.Child<USlider>(TEXT("MovieProgress"))->GetValue(), 0.105, 0.01);
}

TEST(UI_PravellaSystem, TheControlBarOpensOnMovementAndClosesFiveSecondsAfter)
{
	FLessonPlayerScreen Screen;
	Screen.StepFor(6.0);
	Screen.App.MoveMouse(FVector2D(400.0, 300.0));
	Screen.StepFor(1.0);
	EXPECT_EQ(BarOffset(Screen), 0.0) << "slid in";

	// Movement keeps it; a move that does not move is no movement.
	for (int32 Second = 0; Second < 4; ++Second)
	{
		Screen.App.MoveMouse(FVector2D(400.0 + Second * 10.0, 300.0));
		Screen.StepFor(1.0);
	}
	Screen.App.MoveMouse(FVector2D(440.0, 300.0));
	Screen.StepFor(4.5);
	EXPECT_EQ(BarOffset(Screen), 0.0);
	Screen.StepFor(1.0);
	EXPECT_EQ(BarOffset(Screen), 120.0) << "closed five seconds after the last movement";

	Screen.App.MoveMouse(FVector2D(440.0, 300.0));
	Screen.StepFor(1.0);
	EXPECT_EQ(BarOffset(Screen), 120.0);
	Screen.App.MoveMouse(FVector2D(441.0, 300.0));
	Screen.StepFor(1.0);
	EXPECT_EQ(BarOffset(Screen), 0.0);
}

TEST(UI_PravellaSystem, MuteUnmuteVolumeAndSpeed)
{
	FLessonPlayerScreen Screen;
	Screen.OpenLesson();
	UUserWidget* Volume = Screen.Child<UUserWidget>(TEXT("VolumeProgress"));
	USlider* VolumeSlider = Cast<USlider>(Volume->GetWidgetFromName(TEXT("VolumeProgress")));
	UTextBlock* ReadOut = Cast<UTextBlock>(Volume->GetWidgetFromName(TEXT("VolumeValue")));

	Screen.App.MoveMouse(FLessonPlayerScreen::CenterOf(Screen.Child<UWidget>(TEXT("VolumeButton"))));
	Screen.StepFor(0.3);
	const FGeometry& Geometry = VolumeSlider->GetCachedGeometry();
	Screen.App.Click(Geometry.GetAbsolutePosition() + Geometry.GetAbsoluteSize() * FVector2D(0.4, 0.5));
	Screen.Step();
	EXPECT_NEAR(Screen.Player->GetVolumeMultiplier(), 0.4f, 0.02f);
	EXPECT_EQ(ReadOut->GetText().ToString(), TEXT("04"));

	UUserWidget* MuteButton = Screen.Child<UUserWidget>(TEXT("VolumeButton"));
	Screen.App.Click(FLessonPlayerScreen::CenterOf(MuteButton->GetWidgetFromName(TEXT("VolumeButton"))));
	Screen.Step();
	EXPECT_EQ(Screen.Player->GetVolumeMultiplier(), 0.0f);
	Screen.App.Click(FLessonPlayerScreen::CenterOf(MuteButton->GetWidgetFromName(TEXT("VolumeButton"))));
	Screen.Step();
	EXPECT_NEAR(Screen.Player->GetVolumeMultiplier(), VolumeSlider->GetValue(), 1e-4f)
	    << "unmuting restores the slider's level";

	UComboBoxString* Speed = Screen.Child<UComboBoxString>(TEXT("ComboPlaySpeed"));
	Speed->SetSelectedOption(TEXT("0.5x"));
	EXPECT_EQ(Screen.Media->GetRate(), 0.5f);
	Speed->AddOption(TEXT("normal"));
	Speed->SetSelectedOption(TEXT("normal"));
	EXPECT_EQ(Screen.Media->GetRate(), 0.0f) << "an item without a number reads as 0";

	FString Chosen;
	Screen.Player->OnResolutionChosen.BindLambda([&Chosen](const FString& Item) { Chosen = Item; });
	Screen.Child<UComboBoxString>(TEXT("ComboResolution"))->SetSelectedOption(TEXT("720p"));
	EXPECT_EQ(Chosen, TEXT("720p"));
}

namespace
{
struct FSlotLayout
{
	FVector2D Position;
	FVector2D Size;
	FVector2D Alignment;
	int32 ZOrder = 0;
	bool bAutoSize = false;
	bool operator==(const FSlotLayout& Other) const
	{
		return Position == Other.Position && Size == Other.Size && Alignment == Other.Alignment &&
		       ZOrder == Other.ZOrder && bAutoSize == Other.bAutoSize;
	}
};

FSlotLayout LayoutOf(UWidget* Widget)
{
	UCanvasPanelSlot* Slot = Cast<UCanvasPanelSlot>(Widget->Slot);
	return Slot ? FSlotLayout{Slot->GetPosition(), Slot->GetSize(), Slot->GetAlignment(), Slot->GetZOrder(),
	                          Slot->GetAutoSize()}
	            : FSlotLayout();
}
} // namespace

TEST(UI_PravellaSystem, FullscreenAndBackKeepsTheLessonAndTheHostsLayout)
{
	FLessonPlayerScreen Screen(TEXT("/Game/Test/Pravella/WBP_PlayerHost"));
	UPanelWidget* HostRoot = Screen.Player->GetParent();
	ASSERT_NE(HostRoot, nullptr);
	const int32 Index = HostRoot->GetChildIndex(Screen.Player);
	TArray<FSlotLayout> Layouts;
	for (UWidget* Child : HostRoot->GetAllChildren())
	{
		Layouts.Add(LayoutOf(Child));
	}
	Screen.Player->GetSendDanmakuDelegate().AddUniqueDynamic(Screen.Host, &ULessonHostDouble::OnSent);
	Screen.Player->ResetBulletChatDatas(TEXT("{\"datas\":[") + MakeComment(TEXT("before"), 1.5) + TEXT(",") +
	                                    MakeComment(TEXT("after"), 4.5, 2) + TEXT("]}"));
	Screen.OpenLesson();
	Screen.Player->ChangedVolumeValue(0.4f);
	Screen.Child<UComboBoxString>(TEXT("ComboPlaySpeed"))->SetSelectedOption(TEXT("1.5x"));
	Screen.PlayUntil(2.0);
	const TArray<FString> OnScreen = Screen.CommentsOnScreen();
	ASSERT_EQ(OnScreen, TArray<FString>({TEXT("before")}));

	Screen.Click(TEXT("ScreenButton"));
	EXPECT_EQ(Screen.Player->GetParent(), nullptr);
	EXPECT_TRUE(Screen.Player->IsInViewport());
	EXPECT_EQ(HostRoot->GetChildrenCount(), Layouts.Num()) << "its place is held, so siblings keep their indices";
	EXPECT_EQ(Screen.Player->GetPravellaType(), EPravellaType::FullScreen);
	EXPECT_TRUE(Screen.Child<UCheckBox>(TEXT("ScreenButton"))->IsChecked());
	EXPECT_EQ(Screen.CommentsOnScreen(), OnScreen);
	const double Before = Screen.Media->GetTime().GetTotalSeconds();
	Screen.StepFor(0.5);
	EXPECT_GT(Screen.Media->GetTime().GetTotalSeconds(), Before) << "the lesson goes on";
	EXPECT_EQ(Screen.Media->GetUrl(), FLessonPlayerScreen::LessonUrl);

	Screen.Click(TEXT("ScreenButton"));
	EXPECT_EQ(Screen.Player->GetParent(), HostRoot);
	EXPECT_EQ(HostRoot->GetChildIndex(Screen.Player), Index);
	for (int32 Child = 0; Child < HostRoot->GetChildrenCount(); ++Child)
	{
		EXPECT_TRUE(LayoutOf(HostRoot->GetChildAt(Child)) == Layouts[Child]) << "child " << Child;
	}
	EXPECT_FALSE(Screen.Child<UCheckBox>(TEXT("ScreenButton"))->IsChecked());
	EXPECT_TRUE(Screen.Media->IsPlaying());
	EXPECT_NEAR(Screen.Player->GetVolumeMultiplier(), 0.4f, 1e-4f);
	EXPECT_EQ(Screen.Media->GetRate(), 1.5f);

	// Every handler is bound once: one click pauses, the next resumes, one comment is one send.
	Screen.Click(TEXT("PauseButton"));
	EXPECT_TRUE(Screen.Media->IsPaused());
	Screen.Click(TEXT("PauseButton"));
	EXPECT_TRUE(Screen.Media->IsPlaying());
	Screen.PlayUntil(4.6);
	EXPECT_TRUE(Screen.CommentsOnScreen().Contains(TEXT("after")));
	Screen.StepFor(2.0);
	Screen.App.Click(FLessonPlayerScreen::CenterOf(
	    Screen.Child<UUserWidget>(TEXT("DanmakuBar"))->GetWidgetFromName(TEXT("InputDanmakuText"))));
	Screen.Step();
	Screen.App.TypeText(TEXT("hello"));
	Screen.App.PressEnter();
	Screen.Step();
	EXPECT_EQ(Screen.Host->Sent, TArray<FString>({TEXT("hello")}));
	EXPECT_EQ(Screen.CommentsOnScreen().FilterByPredicate([](const FString& C) { return C == TEXT("hello"); }).Num(),
	          1);

	// Muted, fullscreen and back: the slider shows the level unmuting restores, and unmuting restores it.
	UUserWidget* MuteButton = Screen.Child<UUserWidget>(TEXT("VolumeButton"));
	UUserWidget* Volume = Screen.Child<UUserWidget>(TEXT("VolumeProgress"));
	Screen.App.MoveMouse(FLessonPlayerScreen::CenterOf(MuteButton));
	Screen.StepFor(0.3);
	Screen.App.Click(FLessonPlayerScreen::CenterOf(MuteButton->GetWidgetFromName(TEXT("VolumeButton"))));
	Screen.Step();
	ASSERT_EQ(Screen.Player->GetVolumeMultiplier(), 0.0f);
	ASSERT_EQ(Volume->GetVisibility(), ESlateVisibility::Visible) << "the hover opened the volume panel";
	Screen.Click(TEXT("ScreenButton"));
	Screen.App.MoveMouse(FVector2D(900.0, 500.0));
	Screen.Click(TEXT("ScreenButton"));
	// Constructed again, the player starts with the panel closed, so the next hover opens it.
	EXPECT_EQ(Volume->GetVisibility(), ESlateVisibility::Hidden);
	EXPECT_EQ(Cast<UTextBlock>(Volume->GetWidgetFromName(TEXT("VolumeValue")))->GetText().ToString(), TEXT("04"));
	EXPECT_EQ(Screen.Player->GetVolumeMultiplier(), 0.0f);
	Screen.App.MoveMouse(FLessonPlayerScreen::CenterOf(MuteButton));
	Screen.StepFor(0.3);
	EXPECT_EQ(Volume->GetVisibility(), ESlateVisibility::Visible);
	Screen.App.Click(FLessonPlayerScreen::CenterOf(MuteButton->GetWidgetFromName(TEXT("VolumeButton"))));
	Screen.Step();
	EXPECT_NEAR(Screen.Player->GetVolumeMultiplier(), 0.4f, 1e-4f);
}

// The player's own slot goes to its placeholder and comes back, so any panel keeps its layout, and the live
// layout has the player in its place at once.
TEST(UI_PravellaSystem, FullscreenAndBackKeepsThePlayersOwnSlotInAWrapBox)
{
	FLessonPlayerScreen Screen(TEXT("/Game/Test/Pravella/WBP_PlayerWrapHost"));
	UPanelWidget* Row = Screen.Player->GetParent();
	ASSERT_NE(Row, nullptr);
	UWrapBoxSlot* OwnSlot = Cast<UWrapBoxSlot>(Screen.Player->Slot);
	ASSERT_NE(OwnSlot, nullptr);
	Screen.OpenLesson();
	Screen.Click(TEXT("ScreenButton"));
	ASSERT_TRUE(Screen.Player->IsInViewport());
	Screen.App.MoveMouse(FVector2D(900.0, 500.0));
	Screen.Click(TEXT("ScreenButton"));
	Screen.Step();

	ASSERT_EQ(Screen.Player->Slot, OwnSlot);
	EXPECT_EQ(OwnSlot->Padding, FMargin(12.0f, 8.0f, 12.0f, 8.0f));
	const auto Place = [](const UWidget* Widget)
	{
		const FVector2D At = Widget->GetCachedGeometry().GetAbsolutePosition();
		return At.Y * 100000.0 + At.X;
	};
	EXPECT_LT(Place(Row->GetChildAt(0)), Place(Screen.Player));
	EXPECT_LT(Place(Screen.Player), Place(Row->GetChildAt(2))) << "laid out between its siblings, not after them";
	EXPECT_TRUE(Screen.Media->IsPlaying());
}

// A host rebuilding its page while the player is fullscreen takes the player's place with it: the player leaves
// the screen and closes, and does not push itself into the cleared panel.
TEST(UI_PravellaSystem, AHostClearingThePanelOfAFullscreenPlayerLeavesItOut)
{
	FLessonPlayerScreen Screen(TEXT("/Game/Test/Pravella/WBP_PlayerHost"));
	UPanelWidget* HostRoot = Screen.Player->GetParent();
	Screen.OpenLesson();
	Screen.Click(TEXT("ScreenButton"));
	ASSERT_TRUE(Screen.Player->IsInViewport());

	HostRoot->ClearChildren();
	Screen.Step();
	EXPECT_FALSE(Screen.Player->IsInViewport());
	EXPECT_EQ(Screen.Player->GetParent(), nullptr);
	EXPECT_EQ(HostRoot->GetChildrenCount(), 0);
	EXPECT_TRUE(Screen.Media->IsClosed());
}

TEST(UI_PravellaSystem, AHostClosingThePageOfAFullscreenPlayerTakesThePlayerWithIt)
{
	FLessonPlayerScreen Screen(TEXT("/Game/Test/Pravella/WBP_PlayerHost"));
	UPanelWidget* HostRoot = Screen.Player->GetParent();
	Screen.Player->OnPravellaTypeChanged.AddUniqueDynamic(Screen.Host, &ULessonHostDouble::OnTypeChanged);
	Screen.OpenLesson();
	Screen.Click(TEXT("ScreenButton"));
	ASSERT_TRUE(Screen.Player->IsInViewport());
	EXPECT_EQ(Screen.Host->TypeChanges, TEXT("F"));

	Screen.HostScreen->RemoveFromParent();
	Screen.Step();
	EXPECT_EQ(Screen.Host->TypeChanges, TEXT("FE")) << "told once of each move";
	EXPECT_FALSE(Screen.Player->IsInViewport());
	EXPECT_EQ(Screen.Player->GetParent(), HostRoot);
	EXPECT_EQ(Screen.Player->GetPravellaType(), EPravellaType::Embedded);
	EXPECT_TRUE(Screen.Media->IsClosed()) << "taken off screen by the host, the player closes its lesson";
}

TEST(UI_PravellaSystem, FullscreenOutsideAPanelChangesNothing)
{
	FLessonPlayerScreen Screen;
	Screen.Player->OnPravellaTypeChanged.AddUniqueDynamic(Screen.Host, &ULessonHostDouble::OnTypeChanged);
	Screen.OpenLesson();
	Screen.Click(TEXT("ScreenButton"));
	EXPECT_TRUE(Screen.Host->TypeChanges.IsEmpty());
	EXPECT_FALSE(Screen.Child<UCheckBox>(TEXT("ScreenButton"))->IsChecked());
	EXPECT_EQ(Screen.Player->GetPravellaType(), EPravellaType::Embedded);
	EXPECT_TRUE(Screen.Media->IsPlaying());

	// Taken off the screen by the host, the player closes its lesson.
	Screen.Player->RemoveFromParent();
	Screen.Step();
	EXPECT_TRUE(Screen.Media->IsClosed());
	Screen.Player->AddToViewport();
}
