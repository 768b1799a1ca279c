// The host example driven as a game drives it: its widget blueprint put on screen, lessons added and opened, a viewer
// clicking next, lessons playing to their end on the headless clock.
#include "Components/CanvasPanel.h"
#include "Components/CheckBox.h"
#include "DanmakuSave.h"
#include "Engine/Engine.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/MediaSourceRegistry.h"
#include "LessonHostTestTypes.h"
#include "LogCapture.h"
#include "MediaPlayer.h"
#include "TemporarySavedDir.h"
#include "UI_Danmaku.h"
#include "UI_DanmakuNode.h"
#include "UI_LessonHost.h"

#include <gtest/gtest.h>

namespace
{
constexpr float FrameSeconds = 1.0f / 60.0f;
const TCHAR* const FirstLesson = TEXT("https://lessons.test/host-one.mp4");
const TCHAR* const SecondLesson = TEXT("https://lessons.test/host-two.mp4");

FString Comment(const TCHAR* Content, double Seconds, int32 Mode = 0, int32 Id = 1)
{
	return FString::Printf(TEXT("{\"danmaku_id\":%d,\"danmaku_spawn_time\":%lld,\"danmaku_content\":\"%s\","
	                            "\"danmaku_mode\":%d,\"danmaku_font_size\":24,\"danmaku_font_color\":\"#FFFFFF\"}"),
	                       Id, static_cast<long long>(Seconds * ETimespan::TicksPerSecond), Content, Mode);
}

// A game screen holding the example host, made from its widget blueprint, on two described lessons.
class FHostScreen
{
public:
	explicit FHostScreen(const TCHAR* HostAsset = TEXT("/Game/Examples/WBP_LessonHost"))
	{
		App.SetGarbageCollectionInterval(-1.0);
		GEngine->ClearOnScreenDebugMessages();
		FMediaSourceDescription First;
		First.Duration = FTimespan::FromSeconds(6.0);
		FMediaSourceRegistry::Register(FirstLesson, First);
		FMediaSourceDescription Second;
		Second.Duration = FTimespan::FromSeconds(4.0);
		FMediaSourceRegistry::Register(SecondLesson, Second);
		Host = CreateWidget<UUI_LessonHost>(App.GetWorld(),
		                                    StaticLoadClass(UUI_LessonHost::StaticClass(), nullptr, HostAsset));
		Host->AddToViewport();
		Step();
	}
	~FHostScreen()
	{
		Host->RemoveFromParent();
		FMediaSourceRegistry::UnregisterAll();
	}

	void Step() { App.Tick(FrameSeconds); }
	void PlayUntil(double Seconds)
	{
		for (int32 Frame = 0; Frame < 60 * 60 && Media()->GetTime().GetTotalSeconds() < Seconds; ++Frame)
		{
			Step();
		}
	}
	UMediaPlayer* Media() const
	{
		return Cast<UMediaPlayer>(
		    StaticLoadObject(UMediaPlayer::StaticClass(), nullptr, TEXT("/Game/Media/MP_LessonPlayer")));
	}
	template <typename T>
	T* PlayerChild(const TCHAR* Name) const
	{
		return Cast<T>(Host->GetPlayer()->GetWidgetFromName(FName(Name)));
	}
	// Points at a control of the player, waits for the control bar to slide in, and clicks it.
	void Click(const TCHAR* Name)
	{
		const FGeometry& Geometry = PlayerChild<UWidget>(Name)->GetCachedGeometry();
		const FVector2D Center = Geometry.GetAbsolutePosition() + Geometry.GetAbsoluteSize() * 0.5;
		App.MoveMouse(Center + FVector2D(1.0, 0.0));
		for (int32 Frame = 0; Frame < 20; ++Frame)
		{
			Step();
		}
		App.Click(Center);
		Step();
	}
	TArray<FString> CommentsOnScreen() const
	{
		TArray<FString> Contents;
		UUserWidget* Overlay = PlayerChild<UUserWidget>(TEXT("Danmaku"));
		for (UWidget* Widget :
		     Cast<UCanvasPanel>(Overlay->GetWidgetFromName(TEXT("DanmakuCanvasPanel")))->GetAllChildren())
		{
			if (UUI_DanmakuNode* Node = Cast<UUI_DanmakuNode>(Widget))
			{
				Contents.Add(Node->GetData().Content);
			}
		}
		return Contents;
	}

	FHeadlessApplication App;
	UUI_LessonHost* Host = nullptr;
};
} // namespace

TEST(UI_LessonHost, PlacesThePlayerOpensLessonsWithTheirCommentsAndHearsMovesAndEnds)
{
	FTemporarySavedDir Saved("LessonHost");
	FHostScreen Screen;
	UUI_PravellaSystem* Player = Screen.Host->GetPlayer();
	ASSERT_NE(Player, nullptr);
	ULessonScreenListener* Listener = NewObject<ULessonScreenListener>();
	Listener->AddToRoot();
	Screen.Host->OnLessonEnded.AddDynamic(Listener, &ULessonScreenListener::OnEnded);
	Screen.Host->OnLessonChanged.AddDynamic(Listener, &ULessonScreenListener::OnChanged);
	// The player fills the host's canvas, which fills the screen.
	EXPECT_EQ(Player->GetCachedGeometry().GetLocalSize(), FVector2D(1920.0, 1080.0));

	Screen.Host->AddLesson(FirstLesson, TEXT("{\"datas\":[") + Comment(TEXT("from the document"), 1.2) + TEXT(",") +
	                                        Comment(TEXT("no spoiler please"), 1.4, 0, 2) + TEXT(",") +
	                                        Comment(TEXT("going backwards"), 1.6, 3, 3) + TEXT("]}"));
	Screen.Host->AddLesson(SecondLesson, TEXT("<?xml version=\"1.0\"?><i><d p=\"1.5,1,25,16777215,0,0,u,9\">from the "
	                                          "xml</d></i>"));
	ASSERT_NE(Player->GetPlaylist(), nullptr);
	EXPECT_EQ(Player->GetPlaylist()->Num(), 2);

	Screen.Host->OpenLesson(FirstLesson);
	Screen.PlayUntil(2.0);
	EXPECT_EQ(Screen.Media()->GetUrl(), FirstLesson);
	TArray<FString> Shown = Screen.CommentsOnScreen();
	EXPECT_TRUE(Shown.Contains(TEXT("from the document")));
	// The host's controls: its blocked word holds one back, reverse comments are on.
	EXPECT_FALSE(Shown.Contains(TEXT("no spoiler please")));
	EXPECT_TRUE(Shown.Contains(TEXT("going backwards")));

	Screen.Host->PushLiveComment(Comment(TEXT("live from a classmate"), 0.5, 0, 4));
	Screen.Step();
	EXPECT_TRUE(Screen.CommentsOnScreen().Contains(TEXT("live from a classmate")));

	// The viewer presses next: the playlist hook tells the host, which hands over that lesson's XML document.
	Screen.Click(TEXT("NestButton"));
	EXPECT_EQ(Screen.Host->GetOpenLessonUrl(), SecondLesson);
	EXPECT_EQ(Listener->Changed, TArray<FString>{SecondLesson});
	Screen.PlayUntil(2.0);
	EXPECT_EQ(Screen.Media()->GetUrl(), SecondLesson);
	Shown = Screen.CommentsOnScreen();
	EXPECT_TRUE(Shown.Contains(TEXT("from the xml")));
	EXPECT_FALSE(Shown.Contains(TEXT("from the document")));

	EXPECT_TRUE(Listener->Ended.IsEmpty());

	Screen.PlayUntil(10.0);
	EXPECT_EQ(Screen.Host->GetFinishedLessonCount(), 1);
	EXPECT_EQ(Listener->Ended, TArray<FString>{SecondLesson});
	Listener->RemoveFromRoot();
}

// The README's troubleshooting cases, as a host meets them.
TEST(UI_LessonHost, ShowsWhyCommentsOrTheLessonAreMissing)
{
	FTemporarySavedDir Saved("LessonHostOff");
	UDanmakuSave::SaveIsOpend(false);
	{
		FHostScreen Screen;
		Screen.Host->AddLesson(FirstLesson, TEXT("{\"datas\":[") + Comment(TEXT("hidden"), 1.0) + TEXT("]}"));
		Screen.Host->OpenLesson(FirstLesson);
		Screen.PlayUntil(2.0);
		EXPECT_GT(Screen.Media()->GetTime().GetTotalSeconds(), 1.9);
		EXPECT_TRUE(Screen.CommentsOnScreen().IsEmpty());
		// The bar's on/off box shows why, and the viewer can switch them back on.
		UUserWidget* Bar = Screen.PlayerChild<UUserWidget>(TEXT("DanmakuBar"));
		EXPECT_FALSE(Cast<UCheckBox>(Bar->GetWidgetFromName(TEXT("OpenDanmakuButton")))->IsChecked());
	}

	{
		// XML handed to the player's JSON call reads as nothing, with a warning; the overlay's XML loader reads it.
		UDanmakuSave::SaveIsOpend(true);
		FHostScreen Screen;
		Screen.Host->AddLesson(FirstLesson, FString());
		Screen.Host->OpenLesson(FirstLesson);
		Screen.PlayUntil(0.5);
		const FString Xml =
		    TEXT("<i><d p=\"3,1,25,16777215,0,0,u,1\">xml text</d><d p=\"5,1,25,16777215,0,0,u,2\">later "
		         "xml text</d></i>");
		FLogCapture Log;
		Screen.Host->GetPlayer()->ResetBulletChatDatas(Xml);
		Screen.PlayUntil(3.5);
		EXPECT_TRUE(Screen.CommentsOnScreen().IsEmpty());
		EXPECT_TRUE(Log.MessagesOf(TEXT("LogSkorvane"))
		                .ContainsByPredicate([](const FString& Line)
		                                     { return Line.StartsWith(TEXT("Danmaku document not read")); }));
		Screen.PlayerChild<UUI_Danmaku>(TEXT("Danmaku"))->LoadDanmakuXml(Xml);
		Screen.PlayUntil(5.5);
		EXPECT_TRUE(Screen.CommentsOnScreen().Contains(TEXT("later xml text")));
	}

	// A player blueprint without a media player asset: construction says so on screen, naming the player.
	FHostScreen Screen(TEXT("/Game/Test/Examples/WBP_LessonHostNoMedia"));
	ASSERT_NE(Screen.Host->GetPlayer(), nullptr);
	int32 RedMessages = 0;
	for (const FOnScreenDebugMessage& Message : GEngine->GetOnScreenDebugMessages())
	{
		RedMessages += Message.DisplayColor == FColor::Red &&
		                       Message.Text.Contains(Screen.Host->GetPlayer()->GetName() + TEXT(".MediaPlayer=NULL"))
		                   ? 1
		                   : 0;
	}
	EXPECT_EQ(RedMessages, 1);
}
