#include "LessonPlayerScreen.h"

#include "Components/CheckBox.h"
#include "Components/ComboBoxString.h"
#include "Components/Image.h"
#include "MediaPlaylist.h"
#include "PravellaTestTypes.h"

#include <gtest/gtest.h>

namespace
{
FString Tooltip(FLessonPlayerScreen& Screen)
{
	return Screen.Child<UWidget>(TEXT("SuspendButton"))->GetToolTipText().ToString();
}

bool SuspendChecked(FLessonPlayerScreen& Screen)
{
	return Screen.Child<UCheckBox>(TEXT("SuspendButton"))->IsChecked();
}

ESlateVisibility PauseSymbol(FLessonPlayerScreen& Screen)
{
	return Screen.Child<UWidget>(TEXT("PauseImage"))->GetVisibility();
}

int32 RedMessagesNaming(const FString& Text)
{
	int32 Count = 0;
	for (const FOnScreenDebugMessage& Message : GEngine->GetOnScreenDebugMessages())
	{
		Count += Message.DisplayColor == FColor::Red && Message.Text.Contains(Text) ? 1 : 0;
	}
	return Count;
}
} // namespace

TEST(UI_PravellaSystem, ConstructedWithoutAMediaPlayerSaysSoOnceAndStaysSafe)
{
	FLessonPlayerScreen Screen(TEXT("/Game/Test/Pravella/WBP_LessonPlayerNoMedia"));
	EXPECT_EQ(RedMessagesNaming(Screen.Player->GetName() + TEXT(".MediaPlayer=NULL")), 1);
	EXPECT_TRUE(Screen.Player->IsClose());

	for (const TCHAR* Control : {TEXT("PauseButton"), TEXT("SuspendButton"), TEXT("ReplayButton"), TEXT("NestButton"),
	                             TEXT("PreviousButton"), TEXT("MovieProgress")})
	{
		Screen.Click(Control);
	}
	Screen.Player->PauseVideo();
	Screen.Player->CloseVideo();
	Screen.Player->AddToPlaylist(FLessonPlayerScreen::LessonUrl);
	Screen.Player->AddBulletChatDataThenSpawn(MakeComment(TEXT("x"), 1.0), FLessonPlayerScreen::LessonUrl);
	EXPECT_FALSE(SuspendChecked(Screen)) << "no playback to pause";
	EXPECT_FALSE(Screen.Media->OnEndReached.IsBound()) << "nothing bound to the shared media player";
	EXPECT_EQ(RedMessagesNaming(TEXT("MediaPlayer=NULL")), 1);
}

TEST(UI_PravellaSystem, PauseAndResumeFollowClicksAndMediaEvents)
{
	FLessonPlayerScreen Screen;
	EXPECT_EQ(RedMessagesNaming(TEXT("MediaPlayer=NULL")), 0);
	Screen.Player->ResetBulletChatDatas(TEXT("{\"datas\":[") + MakeComment(TEXT("at three"), 3.2) + TEXT("]}"));
	Screen.OpenLesson();
	UComboBoxString* Speed = Screen.Child<UComboBoxString>(TEXT("ComboPlaySpeed"));
	Speed->SetSelectedOption(TEXT("1.5x"));
	Screen.PlayUntil(2.0);
	EXPECT_TRUE(Screen.Media->IsPlaying());
	EXPECT_EQ(Tooltip(Screen), TEXT("Pause"));

	Screen.Click(TEXT("PauseButton"));
	EXPECT_TRUE(Screen.Media->IsPaused());
	EXPECT_TRUE(SuspendChecked(Screen));
	EXPECT_EQ(PauseSymbol(Screen), ESlateVisibility::SelfHitTestInvisible);
	EXPECT_EQ(Tooltip(Screen), TEXT("Play"));
	// The overlay is paused with the video: the comment due at 3 s waits.
	Screen.StepFor(2.0);
	EXPECT_TRUE(Screen.CommentsOnScreen().IsEmpty());

	Screen.Click(TEXT("SuspendButton"));
	EXPECT_TRUE(Screen.Media->IsPlaying());
	EXPECT_EQ(Screen.Media->GetRate(), 1.5f) << "resumed at the speed the box shows";
	EXPECT_EQ(Speed->GetSelectedOption(), TEXT("1.5x"));
	EXPECT_FALSE(SuspendChecked(Screen));
	EXPECT_EQ(PauseSymbol(Screen), ESlateVisibility::Collapsed);
	EXPECT_EQ(Tooltip(Screen), TEXT("Pause"));
	Screen.PlayUntil(3.3);
	EXPECT_EQ(Screen.CommentsOnScreen(), TArray<FString>({TEXT("at three")}));
}

TEST(UI_PravellaSystem, TheNextLessonOpenedWhilePausedShowsItsComments)
{
	FLessonPlayerScreen Screen;
	Screen.Player->AddToPlaylist(FLessonPlayerScreen::LessonUrl);
	Screen.Player->AddToPlaylist(FLessonPlayerScreen::SecondLessonUrl);
	Screen.Player->ResetBulletChatDatas(TEXT("{\"datas\":[") + MakeComment(TEXT("at two"), 2.2) + TEXT("]}"));
	Screen.OpenLesson();
	Screen.PlayUntil(1.0);
	Screen.Click(TEXT("PauseButton"));
	ASSERT_TRUE(Screen.Media->IsPaused());

	// The next lesson plays as it opens, and its comments with it.
	Screen.Click(TEXT("NestButton"));
	Screen.StepFor(0.3);
	ASSERT_TRUE(Screen.Media->IsPlaying());
	EXPECT_LT(Screen.Media->GetTime().GetTotalSeconds(), 0.9) << "the next lesson starts from its beginning";
	Screen.PlayUntil(2.4);
	EXPECT_EQ(Screen.CommentsOnScreen(), TArray<FString>({TEXT("at two")}));
}

TEST(UI_PravellaSystem, APauseAskedWhileOpeningIsCarriedOutWhenPlaybackStarts)
{
	FLessonPlayerScreen Screen(TEXT("/Game/UI/WBP_LessonPlayer"), 60.0, 1.0);
	Screen.Player->PlayMediaByNet(FLessonPlayerScreen::LessonUrl);
	Screen.Step();
	ASSERT_TRUE(Screen.Media->IsPreparing());

	Screen.Player->PauseVideo();
	Screen.Click(TEXT("SuspendButton"));
	EXPECT_FALSE(SuspendChecked(Screen)) << "a click while preparing is undone";
	EXPECT_FALSE(Screen.Media->IsPaused());

	Screen.StepFor(1.2);
	EXPECT_TRUE(Screen.Media->IsPaused());
	EXPECT_TRUE(SuspendChecked(Screen));
	EXPECT_EQ(Tooltip(Screen), TEXT("Play"));
}

TEST(UI_PravellaSystem, APendingPauseIsDroppedWhenTheHostOpensAnotherLesson)
{
	FLessonPlayerScreen Screen(TEXT("/Game/UI/WBP_LessonPlayer"), 60.0, 1.0);
	Screen.Player->PlayMediaByNet(FLessonPlayerScreen::LessonUrl);
	Screen.Step();
	Screen.Player->PauseVideo();
	Screen.Player->PlayMediaByNet(FLessonPlayerScreen::SecondLessonUrl);
	Screen.StepFor(1.5);
	EXPECT_TRUE(Screen.Media->IsPlaying());
	EXPECT_LT(Screen.Media->GetTime().GetTotalSeconds(), 0.9) << "the next lesson starts from its beginning";
}

TEST(UI_PravellaSystem, ReplayRewindsAndPlaysWhetherPausedOrPlaying)
{
	FLessonPlayerScreen Screen;
	Screen.OpenLesson();
	Screen.Child<UComboBoxString>(TEXT("ComboPlaySpeed"))->SetSelectedOption(TEXT("2x"));
	Screen.PlayUntil(5.0);
	Screen.Click(TEXT("ReplayButton"));
	Screen.Step();
	EXPECT_LT(Screen.Media->GetTime().GetTotalSeconds(), 0.5);
	EXPECT_TRUE(Screen.Media->IsPlaying());

	Screen.PlayUntil(4.0);
	Screen.Click(TEXT("PauseButton"));
	ASSERT_TRUE(Screen.Media->IsPaused());
	Screen.Click(TEXT("ReplayButton"));
	Screen.Step();
	EXPECT_LT(Screen.Media->GetTime().GetTotalSeconds(), 0.5);
	EXPECT_TRUE(Screen.Media->IsPlaying());
	EXPECT_EQ(Screen.Media->GetRate(), 2.0f);
	EXPECT_FALSE(SuspendChecked(Screen));
}

// While a lesson stalls for data it is still open: a pause pauses at once and a playlist move is made.
TEST(UI_PravellaSystem, AStallHoldsNeitherAPauseNorAPlaylistMove)
{
	FLessonPlayerScreen Screen;
	FMediaSourceDescription Slow;
	Slow.Duration = FTimespan::FromSeconds(60.0);
	Slow.CacheRate = 0.5;
	FMediaSourceRegistry::Register(FLessonPlayerScreen::LessonUrl, Slow);
	TArray<FString> Announced;
	Screen.Player->OnPlaylistUrlChanged.BindLambda([&Announced](const FString& Url) { Announced.Add(Url); });
	Screen.Player->AddToPlaylist(FLessonPlayerScreen::LessonUrl);
	Screen.Player->AddToPlaylist(FLessonPlayerScreen::SecondLessonUrl);
	Screen.Player->OpenPlaylistUrl(FLessonPlayerScreen::LessonUrl);
	Screen.StepFor(2.0);
	ASSERT_TRUE(Screen.Media->IsPreparing()) << "playing faster than the data comes";

	Screen.Click(TEXT("PauseButton"));
	EXPECT_TRUE(Screen.Media->IsPaused());
	EXPECT_TRUE(SuspendChecked(Screen));
	Screen.Click(TEXT("SuspendButton"));
	EXPECT_TRUE(Screen.Media->IsPlaying()) << "resumed, not undone by a pause left waiting";
	Screen.Click(TEXT("NestButton"));
	Screen.StepFor(0.5);
	EXPECT_EQ(Screen.Media->GetUrl(), FLessonPlayerScreen::SecondLessonUrl);
	EXPECT_EQ(Announced, TArray<FString>({FLessonPlayerScreen::SecondLessonUrl}));
}

TEST(UI_PravellaSystem, TheEndOfAVideoEmptiesTheOverlayRaisesTheEventOnceAndCloses)
{
	FLessonPlayerScreen Screen(TEXT("/Game/UI/WBP_LessonPlayer"), 4.0);
	Screen.Player->ResetBulletChatDatas(TEXT("{\"datas\":[") + MakeComment(TEXT("late"), 3.5) + TEXT("]}"));
	Screen.OpenLesson();
	Screen.PlayUntil(3.6);
	EXPECT_EQ(Screen.CommentsOnScreen().Num(), 1);

	Screen.StepFor(1.0);
	EXPECT_EQ(Screen.Host->Finished, 1);
	EXPECT_EQ(Screen.Host->UrlSeenAtEnd, FLessonPlayerScreen::LessonUrl) << "handlers see the ended source";
	EXPECT_TRUE(Screen.CommentsOnScreen().IsEmpty());
	EXPECT_TRUE(Screen.Player->IsClose());

	Screen.Click(TEXT("ReplayButton"));
	Screen.StepFor(0.5);
	EXPECT_TRUE(Screen.Player->IsClose()) << "replay does nothing once the video has closed";
	EXPECT_EQ(Screen.Host->Finished, 1);
}

TEST(UI_PravellaSystem, PlayMediaSeeksToItsStartTimeOnceTheLessonHasOpened)
{
	FLessonPlayerScreen Screen(TEXT("/Game/Test/Pravella/WBP_VolumeStandIn"));
	Cast<UVolumeStandInPlayer>(Screen.Player)->PlayMedia(FLessonPlayerScreen::LessonUrl, FTimespan::FromSeconds(42.0));
	Screen.StepFor(0.4);
	EXPECT_NEAR(Screen.Media->GetTime().GetTotalSeconds(), 42.0, 0.5);
	EXPECT_TRUE(Screen.Media->IsPlaying());
}

TEST(UI_PravellaSystem, AHandlerThatStartsTheLessonAgainAtTheEndKeepsItOpen)
{
	FLessonPlayerScreen Screen(TEXT("/Game/UI/WBP_LessonPlayer"), 2.0);
	Screen.Host->bRestartAtEnd = true;
	Screen.OpenLesson();
	Screen.StepFor(2.5);
	EXPECT_EQ(Screen.Host->Finished, 1);
	EXPECT_FALSE(Screen.Player->IsClose());
	EXPECT_TRUE(Screen.Media->IsPlaying());
	EXPECT_LT(Screen.Media->GetTime().GetTotalSeconds(), 1.0);
}

TEST(UI_PravellaSystem, AHandlerThatOpensTheNextLessonAtTheEndIsNotUndone)
{
	FLessonPlayerScreen Screen(TEXT("/Game/UI/WBP_LessonPlayer"), 2.0);
	Screen.Host->NextUrl = FLessonPlayerScreen::SecondLessonUrl;
	Screen.OpenLesson();
	Screen.StepFor(2.5);
	EXPECT_EQ(Screen.Host->Finished, 1);
	EXPECT_FALSE(Screen.Player->IsClose());
	EXPECT_LT(Screen.Media->GetTime().GetTotalSeconds(), 0.9) << "the next lesson starts from its beginning";
	EXPECT_TRUE(Screen.Media->IsPlaying());
}

TEST(UI_PravellaSystem, WithoutUiThePauseSymbolIsLeftAloneWhileTheBoxFollows)
{
	FLessonPlayerScreen Screen;
	Screen.Player->SetShowUI(false);
	Screen.OpenLesson();
	Screen.PlayUntil(1.0);
	Screen.Player->PauseVideo();
	Screen.Step();
	EXPECT_TRUE(SuspendChecked(Screen));
	EXPECT_EQ(Tooltip(Screen), TEXT("Play"));
	EXPECT_EQ(PauseSymbol(Screen), ESlateVisibility::Collapsed);
}

TEST(UI_PravellaSystem, AHostsHandlersOnTheMediaPlayerOutliveThePlayer)
{
	FLessonPlayerScreen Screen(TEXT("/Game/UI/WBP_LessonPlayer"), 3.0);
	Screen.Media->OnEndReached.AddUniqueDynamic(Screen.Host, &ULessonHostDouble::OnMediaEnded);
	Screen.Player->RemoveFromParent();
	Screen.Step();
	// Every one of the player's own bindings went with it.
	EXPECT_FALSE(Screen.Media->OnPlaybackResumed.IsBound());
	EXPECT_FALSE(Screen.Media->OnPlaybackSuspended.IsBound());
	EXPECT_FALSE(Screen.Media->OnMediaOpened.IsBound());
	EXPECT_FALSE(Screen.Media->OnMediaOpenFailed.IsBound());
	EXPECT_FALSE(Screen.Media->OnSeekCompleted.IsBound());

	// The host plays on with the same media player; only its own handler hears the end.
	Screen.Media->OpenUrl(FLessonPlayerScreen::LessonUrl);
	Screen.StepFor(4.0);
	EXPECT_EQ(Screen.Host->MediaEnded, 1);
	EXPECT_EQ(Screen.Host->Finished, 0);
	Screen.Media->OnEndReached.RemoveDynamic(Screen.Host, &ULessonHostDouble::OnMediaEnded);
	Screen.Player->AddToViewport();
}

TEST(UI_PravellaSystem, ALiveCommentOnTheOpenLessonIsShownAndFiled)
{
	FLessonPlayerScreen Screen;
	Screen.OpenLesson();
	Screen.PlayUntil(2.0);

	Screen.Player->AddBulletChatDataThenSpawn(MakeComment(TEXT("elsewhere"), 2.0),
	                                          FLessonPlayerScreen::SecondLessonUrl);
	Screen.Player->AddBulletChatDataThenSpawn(TEXT("{\"datas\":[]}"), FLessonPlayerScreen::LessonUrl);
	Screen.Player->AddBulletChatDataThenSpawn(TEXT("not json"), FLessonPlayerScreen::LessonUrl);
	Screen.Step();
	EXPECT_TRUE(Screen.CommentsOnScreen().IsEmpty());

	// A host's block list applies to live comments as to due ones.
	Screen.Child<UUI_Danmaku>(TEXT("Danmaku"))->AddBlockedWord(TEXT("spoiler"));
	Screen.Player->AddBulletChatDataThenSpawn(MakeComment(TEXT("a SPOILER here"), 2.1), FLessonPlayerScreen::LessonUrl);
	Screen.Player->AddBulletChatDataThenSpawn(MakeComment(TEXT("live"), 2.1),
	                                          FString(FLessonPlayerScreen::LessonUrl).ToUpper());
	Screen.Step();
	EXPECT_EQ(Screen.CommentsOnScreen(), TArray<FString>({TEXT("live")}));

	// Filed under its second: a later pass shows it again.
	Screen.StepFor(10.0);
	Screen.Media->Seek(FTimespan::FromSeconds(1.5));
	Screen.Step();
	Screen.PlayUntil(2.2);
	EXPECT_EQ(Screen.CommentsOnScreen(), TArray<FString>({TEXT("live")}));
}

TEST(UI_PravellaSystem, ARefusedRewindLeavesNoResumeForALaterSeek)
{
	FLessonPlayerScreen Screen;
	FMediaSourceDescription Live;
	Live.Duration = FTimespan::FromSeconds(100.0);
	Live.bCanSeek = false;
	FMediaSourceRegistry::Register(FLessonPlayerScreen::SecondLessonUrl, Live);
	Screen.Player->PlayMediaByNet(FLessonPlayerScreen::SecondLessonUrl);
	Screen.PlayUntil(3.0);
	Screen.Click(TEXT("PauseButton"));
	Screen.Click(TEXT("ReplayButton"));
	EXPECT_TRUE(Screen.Media->IsPaused());

	// The host opens a lesson that can seek and seeks in it while paused: it stays paused.
	Screen.Player->PlayMediaByNet(FLessonPlayerScreen::LessonUrl);
	Screen.StepFor(0.3);
	Screen.Player->PauseVideo();
	Screen.Step();
	Screen.Media->Seek(FTimespan::FromSeconds(10.0));
	Screen.StepFor(0.2);
	EXPECT_TRUE(Screen.Media->IsPaused());
	EXPECT_TRUE(SuspendChecked(Screen));

	// A resume owed to a seek still under way belongs to its lesson: a host opening another one drops it.
	FMediaSourceDescription SlowSeek;
	SlowSeek.Duration = FTimespan::FromSeconds(100.0);
	SlowSeek.SeekSeconds = 1.0;
	FMediaSourceRegistry::Register(FLessonPlayerScreen::SecondLessonUrl, SlowSeek);
	Screen.Player->PlayMediaByNet(FLessonPlayerScreen::SecondLessonUrl);
	Screen.PlayUntil(2.0);
	Screen.Click(TEXT("PauseButton"));
	ASSERT_TRUE(Screen.Media->IsPaused());
	Screen.Click(TEXT("ReplayButton"));
	Screen.Player->PlayMediaByNet(FLessonPlayerScreen::LessonUrl);
	Screen.StepFor(0.3);
	Screen.Player->PauseVideo();
	Screen.Step();
	Screen.Media->Seek(FTimespan::FromSeconds(20.0));
	Screen.StepFor(0.2);
	EXPECT_TRUE(Screen.Media->IsPaused()) << "the host's seek on the new lesson started nothing";

	// A seek that completes inside the call, as the engine allows, still resumes the paused video it was for.
	FMediaSourceDescription Instant;
	Instant.Duration = FTimespan::FromSeconds(100.0);
	Instant.bSeekCompletesInCall = true;
	FMediaSourceRegistry::Register(FLessonPlayerScreen::SecondLessonUrl, Instant);
	Screen.Player->PlayMediaByNet(FLessonPlayerScreen::SecondLessonUrl);
	Screen.PlayUntil(2.0);
	Screen.Click(TEXT("PauseButton"));
	Screen.Click(TEXT("ReplayButton"));
	Screen.Step();
	EXPECT_TRUE(Screen.Media->IsPlaying());
	EXPECT_LT(Screen.Media->GetTime().GetTotalSeconds(), 0.5);
	Screen.Click(TEXT("PauseButton"));
	Screen.Media->Seek(FTimespan::FromSeconds(30.0));
	Screen.Step();
	EXPECT_TRUE(Screen.Media->IsPaused()) << "no resume was left behind for a later seek";
}

TEST(UI_PravellaSystem, CloseVideoEmptiesTheOverlay)
{
	FLessonPlayerScreen Screen;
	Screen.Player->ResetBulletChatDatas(TEXT("{\"datas\":[") + MakeComment(TEXT("shown"), 1.2) + TEXT("]}"));
	Screen.OpenLesson();
	Screen.PlayUntil(1.5);
	ASSERT_EQ(Screen.CommentsOnScreen().Num(), 1);
	Screen.Player->CloseVideo();
	Screen.Step();
	EXPECT_TRUE(Screen.CommentsOnScreen().IsEmpty());
	EXPECT_TRUE(Screen.Player->IsClose());
}
