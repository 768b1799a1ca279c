#include "ViewerDriver.h"
#include "ViewerScript.h"

#include "Blueprint/UserWidget.h"
#include "Components/ComboBoxString.h"
#include "Components/EditableText.h"
#include "Engine/World.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/MediaSourceRegistry.h"
#include "MediaPlayer.h"
#include "Misc/Paths.h"
#include "UI_PravellaSystem.h"

#include <gtest/gtest.h>

namespace
{
const TCHAR* const LessonUrl = TEXT("https://lessons.test/driven.mp4");

// The full player made from its widget asset, a described lesson playing, driven one script line at a time as the
// lesson player drives it: the line's step, then its pending work a frame at a time.
class FDrivenPlayer
{
public:
	FDrivenPlayer()
	{
		App.SetGarbageCollectionInterval(-1.0);
		FMediaSourceDescription Description;
		Description.Duration = FTimespan::FromSeconds(60.0);
		Description.OpenSeconds = 0.1;
		FMediaSourceRegistry::Register(LessonUrl, Description);
		UClass* PlayerClass =
		    StaticLoadClass(UUI_PravellaSystem::StaticClass(), nullptr, TEXT("/Game/UI/WBP_LessonPlayer"));
		Player = CreateWidget<UUI_PravellaSystem>(App.GetWorld(), PlayerClass);
		Player->AddToRoot();
		Player->AddToViewport();
		Media = Cast<UMediaPlayer>(
		    StaticLoadObject(UMediaPlayer::StaticClass(), nullptr, TEXT("/Game/Media/MP_LessonPlayer")));
		Script.Path = TEXT("driven.script");
		Driver.SetRoot(Player);
		Driver.SetWhere([this](const FViewerStep& Step) { return Script.Where(Step); });
		Player->PlayMediaByNet(LessonUrl);
		Frames(12);
	}

	~FDrivenPlayer()
	{
		Player->RemoveFromParent();
		Player->RemoveFromRoot();
		Media->Close();
		FMediaSourceRegistry::UnregisterAll();
	}

	void Frames(int32 Count)
	{
		for (int32 Frame = 0; Frame < Count; ++Frame)
		{
			App.Tick(1.0f / 60.0f);
		}
	}

	// Runs one line ("click ScreenButton"); false with the driver's message.
	bool Do(const FString& Line)
	{
		Error.Reset();
		if (!Script.Parse(TEXT("0 ") + Line + TEXT("\n"), FPaths::ProjectContentDir(), Error))
		{
			ADD_FAILURE() << "the test's line does not read: " << TCHAR_TO_UTF8(*Error);
			return false;
		}
		const bool bDone = Driver.Perform(Script.Steps[0], Error);
		for (Frames(1); Driver.HasPending(); Frames(1))
		{
			Driver.RunPending();
		}
		Frames(1);
		return bDone;
	}

	template <typename T>
	T* Child(const TCHAR* Owner, const TCHAR* Name) const
	{
		const UUserWidget* Parent = Owner ? Cast<UUserWidget>(Player->GetWidgetFromName(Owner)) : Player;
		return Cast<T>(Parent->GetWidgetFromName(Name));
	}

	FHeadlessApplication App{FVector2D(1920.0, 1080.0)};
	FViewerDriver Driver{App, TEXT("player")};
	FViewerScript Script;
	UUI_PravellaSystem* Player = nullptr;
	UMediaPlayer* Media = nullptr;
	FString Error;
};
} // namespace

TEST(ViewerDriver, DrivesThePlayersWidgetsByNamePathAndPositionAndHandsOnTheRest)
{
	FDrivenPlayer Screen;
	ASSERT_TRUE(Screen.Media->IsPlaying());
	// The pointer over the picture brings the control bar in.
	ASSERT_TRUE(Screen.Do(TEXT("move 960,500")));
	Screen.Frames(30);

	// Typing goes to the field a click focused; backspace takes COUNT characters off its end.
	ASSERT_TRUE(Screen.Do(TEXT("click DanmakuBar/InputDanmakuText")));
	ASSERT_TRUE(Screen.Do(TEXT("type hello viewer")));
	ASSERT_TRUE(Screen.Do(TEXT("backspace 7")));
	EXPECT_EQ(Screen.Child<UEditableText>(TEXT("DanmakuBar"), TEXT("InputDanmakuText"))->GetText().ToString(),
	          TEXT("hello"));

	// A choice in a drop-down list spans two frames: the list opens, then its row is clicked.
	ASSERT_TRUE(Screen.Do(TEXT("select ComboPlaySpeed 1.5x")));
	EXPECT_EQ(Screen.Child<UComboBoxString>(nullptr, TEXT("ComboPlaySpeed"))->GetSelectedOption(), TEXT("1.5x"));
	EXPECT_FLOAT_EQ(Screen.Media->GetRate(), 1.5f);

	// A drag presses at FROM and releases at TO along the slider's middle: the volume follows the handle.
	ASSERT_TRUE(Screen.Do(TEXT("move VolumeButton")));
	Screen.Frames(30);
	ASSERT_TRUE(Screen.Script.Parse(TEXT("0 drag VolumeProgress/VolumeProgress 0.9 0.3\n"), FString(), Screen.Error));
	ASSERT_TRUE(Screen.Driver.Perform(Screen.Script.Steps[0], Screen.Error));
	TArray<float> Levels;
	for (Screen.Frames(1); Screen.Driver.HasPending(); Screen.Frames(1))
	{
		Screen.Driver.RunPending();
		Screen.Frames(1);
		Levels.Add(Screen.Player->GetVolumeMultiplier());
	}
	ASSERT_EQ(Levels.Num(), 3) << "press, move and release, a frame each";
	EXPECT_NEAR(Levels[0], 0.9f, 0.05f) << "pressed at FROM";
	EXPECT_NEAR(Levels[2], 0.3f, 0.05f) << "released at TO";

	// A screen position is a target too: the pause button's centre pauses the lesson.
	const FGeometry& Pause = Screen.Child<UWidget>(nullptr, TEXT("SuspendButton"))->GetCachedGeometry();
	const FVector2D Centre = Pause.GetAbsolutePosition() + Pause.GetAbsoluteSize() * 0.5;
	ASSERT_TRUE(Screen.Do(TEXT("move 960,500")));
	ASSERT_TRUE(Screen.Do(FString::Printf(TEXT("click %g,%g"), Centre.X, Centre.Y)));
	EXPECT_TRUE(Screen.Media->IsPaused());

	// What is no pointer or key goes to the program's hook, as written; without a hook it is passed over.
	EXPECT_TRUE(Screen.Do(TEXT("snapshot before-hook")));
	TArray<FString> Handed;
	Screen.Driver.SetOtherActions(
	    [&Handed](const FViewerStep& Step, FString& OutError)
	    {
		    Handed.Add(Step.Text);
		    OutError = TEXT("refused by the program");
		    return Step.Action != EViewerAction::End;
	    });
	EXPECT_TRUE(Screen.Do(TEXT("live {\"danmaku_id\":1}")));
	EXPECT_TRUE(Screen.Do(TEXT("snapshot shot")));
	EXPECT_FALSE(Screen.Do(TEXT("end")));
	EXPECT_EQ(Screen.Error, TEXT("refused by the program"));
	EXPECT_EQ(Handed, (TArray<FString>{TEXT("{\"danmaku_id\":1}"), TEXT("shot"), FString()}));
}

TEST(ViewerDriver, NamesTheLineAndWhatIsMissingAndLeavesNothingPending)
{
	FDrivenPlayer Screen;
	const auto Refused = [&Screen](const TCHAR* Line, const TCHAR* Expected)
	{
		EXPECT_FALSE(Screen.Driver.Perform(
		    (Screen.Script.Parse(FString::Printf(TEXT("0 %s\n"), Line), FPaths::ProjectContentDir(), Screen.Error),
		     Screen.Script.Steps[0]),
		    Screen.Error))
		    << TCHAR_TO_UTF8(Line);
		EXPECT_EQ(Screen.Error, Expected) << TCHAR_TO_UTF8(Line);
		EXPECT_FALSE(Screen.Driver.HasPending()) << TCHAR_TO_UTF8(Line);
	};
	Refused(TEXT("click NoSuchButton"), TEXT("driven.script:1: the player has no widget NoSuchButton"));
	Refused(TEXT("move DanmakuBar/NoSuchField"),
	        TEXT("driven.script:1: the player has no widget DanmakuBar/NoSuchField (a name after '/' is looked up "
	             "inside the widget before it)"));
	Refused(TEXT("drag NoSuchSlider 0 1"), TEXT("driven.script:1: the player has no widget NoSuchSlider"));
	Refused(TEXT("select ComboPlaySpeed 3x"),
	        TEXT("driven.script:1: ComboPlaySpeed has no option '3x' (it has: 0.5x, 0.75x, 1x, 1.25x, 1.5x, 2x)"));
	Refused(TEXT("select ScreenButton 1x"), TEXT("driven.script:1: ScreenButton is not a drop-down list"));
}
