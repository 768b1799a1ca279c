#include "MediaTestTypes.h"

#include "Headless/HeadlessMediaCache.h"
#include "Headless/MediaSourceRegistry.h"
#include "MediaPlaylist.h"
#include "UObject/GarbageCollection.h"

#include <gtest/gtest.h>

namespace
{
// Steps that floats represent exactly, so positions compare exactly.
constexpr float Step = 0.25f;
const FString LessonUrl = TEXT("https://cdn.example.com/lesson1.mp4");
const FString SecondUrl = TEXT("https://cdn.example.com/lesson2.mp4");

FMediaSourceDescription Describe(double DurationSeconds, double OpenSeconds = 0.0)
{
	FMediaSourceDescription Description;
	Description.Duration = FTimespan::FromSeconds(DurationSeconds);
	Description.OpenSeconds = OpenSeconds;
	return Description;
}

// An application with one media player whose events are recorded; descriptions registered here are removed
// again at the end of the test.
struct FMediaScene
{
	explicit FMediaScene(bool bPlayOnOpen = true)
	{
		Player->PlayOnOpen = bPlayOnOpen;
		Recorder->Listen(Player.Get());
	}
	~FMediaScene() { FMediaSourceRegistry::UnregisterAll(); }

	// Opens a source of the given length and ticks until it has opened (and, with PlayOnOpen, started).
	void OpenPlaying(double DurationSeconds, const FMediaSourceDescription* Description = nullptr)
	{
		FMediaSourceRegistry::Register(LessonUrl, Description ? *Description : Describe(DurationSeconds));
		ASSERT_TRUE(Player->OpenUrl(LessonUrl));
		App.Tick(Step);
		ASSERT_TRUE(Player->IsReady());
		Recorder->Events.Empty();
		Recorder->Times.Empty();
	}
	double Seconds() const { return Player->GetTime().GetTotalSeconds(); }

	FHeadlessApplication App;
	TStrongObjectPtr<UMediaPlayer> Player{NewObject<UMediaPlayer>()};
	TStrongObjectPtr<UMediaEventRecorder> Recorder{NewObject<UMediaEventRecorder>()};
};
} // namespace

TEST(MediaPlayer, OpensDescribedSourceAfterPreparing)
{
	FMediaScene Scene(false);
	FMediaSourceRegistry::Register(LessonUrl, Describe(90.0, 0.5));

	EXPECT_TRUE(Scene.Player->IsClosed());
	ASSERT_TRUE(Scene.Player->OpenUrl(LessonUrl));
	EXPECT_TRUE(Scene.Player->IsPreparing());
	EXPECT_FALSE(Scene.Player->IsReady());
	EXPECT_EQ(Scene.Player->GetUrl(), LessonUrl);
	Scene.App.Tick(Step);
	EXPECT_TRUE(Scene.Player->IsPreparing());
	EXPECT_TRUE(Scene.Recorder->Events.IsEmpty());

	Scene.App.Tick(Step);
	EXPECT_EQ(Scene.Recorder->Events, TArray<FString>({TEXT("Opened:") + LessonUrl}));
	EXPECT_FALSE(Scene.Player->IsPreparing());
	EXPECT_TRUE(Scene.Player->IsReady());
	EXPECT_EQ(Scene.Player->GetDuration(), FTimespan::FromSeconds(90.0));
	EXPECT_EQ(Scene.Player->GetTime(), FTimespan::Zero());
	// Without PlayOnOpen the opened source waits, paused at the start.
	EXPECT_TRUE(Scene.Player->IsPaused());
	EXPECT_FALSE(Scene.Player->IsPlaying());
	Scene.App.Advance(1.0f, Step);
	EXPECT_EQ(Scene.Player->GetTime(), FTimespan::Zero());
}

TEST(MediaPlayer, PlayOnOpenStartsPlaybackAfterTheOpenedEvent)
{
	FMediaScene Scene;
	FMediaSourceRegistry::Register(LessonUrl, Describe(90.0));
	Scene.Player->OpenUrl(LessonUrl);
	Scene.App.Tick(Step);
	EXPECT_EQ(Scene.Recorder->Events, TArray<FString>({TEXT("Opened:") + LessonUrl, TEXT("Resumed")}));
	EXPECT_TRUE(Scene.Player->IsPlaying());
	EXPECT_TRUE(Scene.Player->CanPause());
	Scene.App.Advance(2.0f, Step);
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 2.0);
}

TEST(MediaPlayer, PlaysThroughToEndReachedAtTheStatedDuration)
{
	FMediaScene Scene;
	Scene.OpenPlaying(3.0);
	Scene.App.Advance(2.75f, Step);
	EXPECT_TRUE(Scene.Recorder->Events.IsEmpty());
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 2.75);

	Scene.App.Tick(Step);
	ASSERT_EQ(Scene.Recorder->Events, TArray<FString>({TEXT("EndReached")}));
	EXPECT_DOUBLE_EQ(Scene.Recorder->Times[0], 3.0);
	EXPECT_FALSE(Scene.Player->IsPlaying());
	EXPECT_FALSE(Scene.Player->IsPaused());
	EXPECT_TRUE(Scene.Player->IsReady());
	Scene.App.Advance(1.0f, Step);
	EXPECT_EQ(Scene.Recorder->Count(TEXT("EndReached")), 1);
	EXPECT_EQ(Scene.Player->GetTime(), FTimespan::FromSeconds(3.0));

	// Playing again after the end starts from the beginning.
	EXPECT_TRUE(Scene.Player->Play());
	Scene.App.Tick(Step);
	EXPECT_EQ(Scene.Recorder->Events.Last(), TEXT("Resumed"));
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 0.25);
}

TEST(MediaPlayer, LoopStartsAgainWithoutEndReached)
{
	FMediaScene Scene;
	Scene.Player->Loop = true;
	Scene.OpenPlaying(2.0);
	Scene.App.Advance(2.5f, Step);
	EXPECT_TRUE(Scene.Recorder->Events.IsEmpty());
	EXPECT_TRUE(Scene.Player->IsPlaying());
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 0.5);
}

TEST(MediaPlayer, PauseAndResumeRaiseTheirEventsInTheNextMediaPhase)
{
	FMediaScene Scene;
	Scene.OpenPlaying(60.0);
	Scene.App.Advance(1.0f, Step);

	EXPECT_TRUE(Scene.Player->Pause());
	EXPECT_TRUE(Scene.Player->IsPaused());
	EXPECT_FALSE(Scene.Player->CanPause());
	EXPECT_TRUE(Scene.Recorder->Events.IsEmpty());
	Scene.App.Tick(Step);
	EXPECT_EQ(Scene.Recorder->Events, TArray<FString>({TEXT("Suspended")}));
	Scene.App.Advance(1.0f, Step);
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 1.0);
	// Pausing what is already paused changes nothing and raises nothing.
	EXPECT_TRUE(Scene.Player->Pause());

	EXPECT_TRUE(Scene.Player->Play());
	Scene.App.Tick(Step);
	EXPECT_EQ(Scene.Recorder->Events, TArray<FString>({TEXT("Suspended"), TEXT("Resumed")}));
	EXPECT_TRUE(Scene.Player->IsPlaying());
	Scene.App.Advance(1.0f, Step);
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 2.25);
}

TEST(MediaPlayer, SeekCompletesLaterAndMovesThePositionThen)
{
	FMediaScene Scene;
	FMediaSourceDescription Description = Describe(120.0);
	Description.SeekSeconds = 0.5;
	Scene.OpenPlaying(120.0, &Description);
	Scene.App.Advance(1.0f, Step);

	EXPECT_TRUE(Scene.Player->SupportsSeeking());
	ASSERT_TRUE(Scene.Player->Seek(FTimespan::FromSeconds(90.0)));
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 1.0);
	Scene.App.Tick(Step);
	EXPECT_TRUE(Scene.Recorder->Events.IsEmpty());
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 1.0);
	Scene.App.Tick(Step);
	ASSERT_EQ(Scene.Recorder->Events, TArray<FString>({TEXT("SeekCompleted")}));
	// Handlers already read the new position.
	EXPECT_DOUBLE_EQ(Scene.Recorder->Times[0], 90.0);
	EXPECT_TRUE(Scene.Player->IsPlaying());
	Scene.App.Advance(1.0f, Step);
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 91.0);

	// Past the end is clamped to the end.
	Scene.Player->Seek(FTimespan::FromSeconds(500.0));
	Scene.App.Advance(0.5f, Step);
	EXPECT_EQ(Scene.Recorder->Events.Last(), TEXT("SeekCompleted"));
	EXPECT_EQ(Scene.Player->GetTime(), FTimespan::FromSeconds(120.0));
}

TEST(MediaPlayer, RewindSeeksToTheStartAndKeepsTheState)
{
	FMediaScene Scene;
	Scene.OpenPlaying(60.0);
	Scene.App.Advance(5.0f, Step);
	Scene.Player->Pause();
	EXPECT_TRUE(Scene.Player->Rewind());
	Scene.App.Tick(Step);
	EXPECT_EQ(Scene.Recorder->Events, TArray<FString>({TEXT("Suspended"), TEXT("SeekCompleted")}));
	EXPECT_EQ(Scene.Player->GetTime(), FTimespan::Zero());
	EXPECT_TRUE(Scene.Player->IsPaused());
}

TEST(MediaPlayer, SourcesThatCannotSeekRefuseSeeks)
{
	FMediaScene Scene;
	FMediaSourceDescription Description = Describe(60.0);
	Description.bCanSeek = false;
	Scene.OpenPlaying(60.0, &Description);
	Scene.App.Advance(1.0f, Step);
	EXPECT_FALSE(Scene.Player->SupportsSeeking());
	EXPECT_FALSE(Scene.Player->Seek(FTimespan::FromSeconds(30.0)));
	EXPECT_FALSE(Scene.Player->Rewind());
	Scene.App.Tick(Step);
	EXPECT_TRUE(Scene.Recorder->Events.IsEmpty());
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 1.25);
}

TEST(MediaPlayer, RateScalesTheClockAndZeroStopsIt)
{
	FMediaScene Scene;
	Scene.OpenPlaying(60.0);
	Scene.App.Advance(1.0f, Step);
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 1.0);

	EXPECT_TRUE(Scene.Player->SetRate(2.0f));
	EXPECT_EQ(Scene.Player->GetRate(), 2.0f);
	Scene.App.Advance(1.0f, Step);
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 3.0);
	EXPECT_TRUE(Scene.Recorder->Events.IsEmpty());

	EXPECT_TRUE(Scene.Player->SetRate(0.0f));
	Scene.App.Advance(1.0f, Step);
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 3.0);
	EXPECT_EQ(Scene.Recorder->Events, TArray<FString>({TEXT("Suspended")}));

	EXPECT_FALSE(Scene.Player->SetRate(-1.0f));
	EXPECT_FALSE(Scene.Player->SetRate(100.0f));
	EXPECT_TRUE(Scene.Player->SetRate(0.5f));
	Scene.App.Advance(1.0f, Step);
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 3.5);
	EXPECT_EQ(Scene.Recorder->Events.Last(), TEXT("Resumed"));

	Scene.Player->Close();
	EXPECT_FALSE(Scene.Player->SetRate(1.0f));
	EXPECT_FALSE(Scene.Player->Play());
}

TEST(MediaPlayer, NativeVolumeIsAppliedOnlyToAnOpenSource)
{
	FMediaScene Scene;
	EXPECT_FALSE(Scene.Player->SetNativeVolume(0.5f));
	Scene.OpenPlaying(60.0);
	EXPECT_TRUE(Scene.Player->SetNativeVolume(0.0f));
	EXPECT_TRUE(Scene.Player->SetNativeVolume(1.0f));
}

TEST(MediaPlayer, DescribedFailureRaisesOpenFailedInsteadOfOpened)
{
	FMediaScene Scene;
	FMediaSourceDescription Description = Describe(60.0, 0.5);
	Description.bFailsToOpen = true;
	FMediaSourceRegistry::Register(LessonUrl, Description);
	ASSERT_TRUE(Scene.Player->OpenUrl(LessonUrl));
	EXPECT_TRUE(Scene.Player->IsPreparing());
	Scene.App.Advance(0.5f, Step);
	EXPECT_EQ(Scene.Recorder->Events, TArray<FString>({TEXT("OpenFailed:") + LessonUrl}));
	EXPECT_TRUE(Scene.Player->IsClosed());
	EXPECT_FALSE(Scene.Player->IsReady());
	EXPECT_FALSE(Scene.Player->IsPreparing());
	EXPECT_TRUE(Scene.Player->GetUrl().IsEmpty());
}

TEST(MediaPlayer, UndescribedNetworkSourceFailsToOpen)
{
	FMediaScene Scene;
	ASSERT_TRUE(Scene.Player->OpenUrl(SecondUrl));
	Scene.App.Advance(0.5f, Step);
	EXPECT_EQ(Scene.Recorder->Events, TArray<FString>({TEXT("OpenFailed:") + SecondUrl}));
}

TEST(MediaPlayer, MissingLocalFileDoesNotStartOpening)
{
	FMediaScene Scene;
	EXPECT_FALSE(Scene.Player->OpenFile(TEXT("/nonexistent/folder/lesson.mp4")));
	EXPECT_FALSE(Scene.Player->OpenUrl(TEXT("file:///nonexistent/folder/lesson.mp4")));
	EXPECT_TRUE(Scene.Player->IsClosed());
	Scene.App.Advance(1.0f, Step);
	EXPECT_TRUE(Scene.Recorder->Events.IsEmpty());
}

TEST(MediaPlayer, CanPlayUrlAcceptsKnownSchemesAndLocalPaths)
{
	TStrongObjectPtr<UMediaPlayer> Player(NewObject<UMediaPlayer>());
	EXPECT_TRUE(Player->CanPlayUrl(TEXT("https://cdn.example.com/a.mp4")));
	EXPECT_TRUE(Player->CanPlayUrl(TEXT("HTTP://cdn.example.com/a.mp4")));
	EXPECT_TRUE(Player->CanPlayUrl(TEXT("rtsp://camera/live")));
	EXPECT_TRUE(Player->CanPlayUrl(TEXT("file:///home/user/a.mp4")));
	EXPECT_TRUE(Player->CanPlayUrl(TEXT("/home/user/a.mp4")));
	EXPECT_TRUE(Player->CanPlayUrl(TEXT("Movies/a.mp4")));
	EXPECT_FALSE(Player->CanPlayUrl(TEXT("ftp://files.example.com/a.mp4")));
	EXPECT_FALSE(Player->CanPlayUrl(TEXT("")));
	EXPECT_FALSE(Player->OpenUrl(TEXT("ftp://files.example.com/a.mp4")));
}

TEST(MediaPlayer, BufferingHoldsTheClockUntilDataArrives)
{
	FMediaScene Scene;
	FMediaSourceDescription Description = Describe(60.0);
	Description.CacheRate = 0.5;
	// Opening took one frame, which buffered 0.125 s.
	Scene.OpenPlaying(60.0, &Description);
	FTimespan Start;
	FTimespan End;
	ASSERT_TRUE(FHeadlessMediaCache::GetCachedTimeRange(*Scene.Player, Start, End));
	EXPECT_EQ(End, FTimespan::FromSeconds(0.125));

	// Playing at twice the buffering speed catches up with the data and waits for it.
	Scene.App.Advance(2.0f, Step);
	FHeadlessMediaCache::GetCachedTimeRange(*Scene.Player, Start, End);
	EXPECT_EQ(Start, FTimespan::Zero());
	EXPECT_EQ(End, FTimespan::FromSeconds(1.125));
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 1.125);
	EXPECT_TRUE(Scene.Player->IsPreparing());
	EXPECT_TRUE(Scene.Player->IsReady());
	EXPECT_TRUE(Scene.Player->IsPlaying());

	// While paused the cache fills up ahead of the position.
	Scene.Player->Pause();
	Scene.App.Advance(4.0f, Step);
	FHeadlessMediaCache::GetCachedTimeRange(*Scene.Player, Start, End);
	EXPECT_EQ(End, FTimespan::FromSeconds(3.125));
	EXPECT_FALSE(Scene.Player->IsPreparing());
	EXPECT_DOUBLE_EQ(Scene.Seconds(), 1.125);

	// A seek outside the buffered span starts buffering again from its target.
	Scene.Player->Seek(FTimespan::FromSeconds(30.0));
	Scene.App.Tick(Step);
	FHeadlessMediaCache::GetCachedTimeRange(*Scene.Player, Start, End);
	EXPECT_EQ(Start, FTimespan::FromSeconds(30.0));
	EXPECT_EQ(Scene.Seconds(), 30.0);
}

TEST(MediaPlayer, HandlersMayCloseAndReopenThePlayerDuringEvents)
{
	FMediaScene Scene;
	FMediaSourceRegistry::Register(SecondUrl, Describe(10.0));
	Scene.OpenPlaying(1.0);
	UMediaPlayer* Player = Scene.Player.Get();
	Scene.Recorder->OnEvent = [Player](const FString& Event)
	{
		if (Event == TEXT("EndReached"))
		{
			Player->Close();
			Player->OpenUrl(SecondUrl);
		}
	};
	Scene.App.Advance(1.0f, Step);
	EXPECT_EQ(Scene.Recorder->Events, TArray<FString>({TEXT("EndReached")}));
	EXPECT_TRUE(Scene.Player->IsPreparing());
	Scene.App.Tick(Step);
	EXPECT_EQ(Scene.Recorder->Events,
	          TArray<FString>({TEXT("EndReached"), TEXT("Opened:") + SecondUrl, TEXT("Resumed")}));
	EXPECT_EQ(Scene.Player->GetDuration(), FTimespan::FromSeconds(10.0));

	// Closing inside the opened event cancels PlayOnOpen, and a pause queued before Close is dropped.
	Scene.Recorder->OnEvent = [Player](const FString& Event)
	{
		if (Event.StartsWith(TEXT("Opened")))
		{
			Player->Close();
		}
	};
	Scene.Recorder->Events.Empty();
	Scene.Player->Pause();
	Scene.Player->OpenUrl(LessonUrl);
	Scene.App.Advance(1.0f, Step);
	EXPECT_EQ(Scene.Recorder->Events, TArray<FString>({TEXT("Opened:") + LessonUrl}));
	EXPECT_TRUE(Scene.Player->IsClosed());
}

TEST(MediaPlayer, OpensPlaylistEntriesByIndex)
{
	FMediaScene Scene(false);
	FMediaSourceRegistry::Register(LessonUrl, Describe(30.0));
	FMediaSourceRegistry::Register(SecondUrl, Describe(45.0));
	UMediaPlaylist* Playlist = Scene.Player->GetPlaylist();
	ASSERT_NE(Playlist, nullptr);
	EXPECT_EQ(Scene.Player->GetPlaylist(), Playlist);
	EXPECT_EQ(Scene.Player->GetPlaylistIndex(), INDEX_NONE);
	Playlist->AddUrl(LessonUrl);
	Playlist->AddUrl(SecondUrl);

	ASSERT_TRUE(Scene.Player->OpenPlaylistIndex(Playlist, 1));
	EXPECT_EQ(Scene.Player->GetPlaylistIndex(), 1);
	Scene.App.Tick(Step);
	EXPECT_EQ(Scene.Recorder->Events, TArray<FString>({TEXT("Opened:") + SecondUrl}));
	EXPECT_EQ(Scene.Player->GetDuration(), FTimespan::FromSeconds(45.0));

	EXPECT_FALSE(Scene.Player->OpenPlaylistIndex(Playlist, 2));
	EXPECT_FALSE(Scene.Player->OpenPlaylistIndex(nullptr, 0));
	EXPECT_EQ(Scene.Player->GetPlaylistIndex(), 1);
	EXPECT_EQ(Scene.Player->GetUrl(), SecondUrl);

	// Closing keeps the place in the playlist; opening a URL directly leaves it.
	Scene.Player->Close();
	EXPECT_EQ(Scene.Player->GetPlaylistIndex(), 1);
	Scene.Player->OpenUrl(LessonUrl);
	EXPECT_EQ(Scene.Player->GetPlaylistIndex(), INDEX_NONE);
	EXPECT_EQ(Scene.Player->GetPlaylist(), Playlist);
}

TEST(MediaPlayer, CollectedPlayerIsNoLongerTicked)
{
	FMediaScene Scene;
	FMediaSourceRegistry::Register(SecondUrl, Describe(10.0));
	TWeakObjectPtr<UMediaPlayer> Weak;
	{
		UMediaPlayer* Temporary = NewObject<UMediaPlayer>();
		Temporary->OpenUrl(SecondUrl);
		Weak = Temporary;
	}
	CollectGarbage();
	EXPECT_FALSE(Weak.IsValid());
	Scene.App.Advance(1.0f, Step);
}

TEST(MediaPlayer, BufferingStartsWhileOpening)
{
	FMediaScene Scene;
	FMediaSourceDescription Description = Describe(60.0, 1.0);
	Description.CacheRate = 2.0;
	FMediaSourceRegistry::Register(LessonUrl, Description);
	Scene.Player->OpenUrl(LessonUrl);
	Scene.App.Advance(1.0f, Step);
	ASSERT_TRUE(Scene.Player->IsPlaying());
	FTimespan Start;
	FTimespan End;
	FHeadlessMediaCache::GetCachedTimeRange(*Scene.Player, Start, End);
	EXPECT_EQ(End, FTimespan::FromSeconds(2.0));
	EXPECT_FALSE(Scene.Player->IsPreparing());
}
