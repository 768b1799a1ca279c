#include "PlayerSoak.h"

#include "Blueprint/UserWidget.h"
#include "BulletChat/BulletChatTrackManager.h"
#include "BulletChat/UI_BulletChat.h"
#include "BulletChat/UI_BulletChatNode.h"
#include "Components/CanvasPanel.h"
#include "Components/CheckBox.h"
#include "Components/EditableText.h"
#include "DanmakuTrackManager.h"
#include "Engine/World.h"
#include "Headless/EnsureHandler.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/HeadlessViewport.h"
#include "Headless/MediaSourceRegistry.h"
#include "MediaPlayer.h"
#include "MediaPlaylist.h"
#include "UI_Danmaku.h"
#include "UI_DanmakuNode.h"
#include "UI_PravellaSystem.h"
#include "UObject/UObjectArray.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace
{
int32 GFailedEnsures = 0;

const TCHAR* const LessonUrls[] = {TEXT("https://lessons.test/soak-one.mp4"),
                                   TEXT("https://lessons.test/soak-two.mp4")};
const FVector2D ScreenSizes[] = {FVector2D(1920.0, 1080.0), FVector2D(1280.0, 720.0), FVector2D(800.0, 600.0),
                                 FVector2D(2560.0, 1440.0), FVector2D(640.0, 360.0)};
// A report comes in the frame that hands the comment over, a placement in the next one, when the node is measured.
constexpr int64 ReportFrames = 3;
// Live comments get ids of their own, above every document id.
constexpr int32 FirstLiveId = 100000000;
// Actions between two garbage collections.
constexpr int32 CollectEvery = 25;

int32 SecondOf(const FTimespan& Time)
{
	// As the overlay files comments: hours of the day, minutes and seconds.
	return Time.GetHours() * 3600 + Time.GetMinutes() * 60 + Time.GetSeconds();
}

FString DanmakuRecord(int32 Id, double Seconds, int32 Mode, const FString& Content)
{
	return FString::Printf(TEXT("{\"danmaku_id\":%d,\"danmaku_spawn_time\":%lld,\"danmaku_content\":\"%s\","
	                            "\"danmaku_mode\":%d,\"danmaku_font_size\":24,\"danmaku_font_color\":\"#FFFFFF\"}"),
	                       Id, static_cast<long long>(Seconds * ETimespan::TicksPerSecond), *Content, Mode);
}

FString LegacyRecord(int32 Id, int32 Second, const FString& Content)
{
	return FString::Printf(TEXT("{\"id\":%d,\"time\":\"%02d:%02d:%02d\",\"bullet_chat_content\":\"%s\"}"), Id,
	                       Second / 3600, Second / 60 % 60, Second % 60, *Content);
}

FVector2D CenterOf(const UWidget* Widget)
{
	const FGeometry& Geometry = Widget->GetCachedGeometry();
	return Geometry.GetAbsolutePosition() + Geometry.GetAbsoluteSize() * 0.5;
}

// Loaded classes stay for the life of the process, as a game's do; here nothing else holds them across a
// collection.
void KeepLoadedClasses()
{
	FUObjectArray& Objects = FUObjectArray::Get();
	for (int32 Index = 0; Index < Objects.Capacity(); ++Index)
	{
		if (UClass* Class = Cast<UClass>(Objects.GetItem(Index).Object))
		{
			Class->AddToRoot();
		}
	}
}

int32 LiveObjects()
{
	CollectGarbage();
	return FUObjectArray::Get().GetObjectCount();
}
} // namespace

bool FOwedReports::Answer(int32 Id)
{
	TArray<int64>* Owed = Frames.Find(Id);
	if (!Owed)
	{
		return false;
	}
	Owed->RemoveAt(0);
	if (Owed->IsEmpty())
	{
		Frames.Remove(Id);
	}
	return true;
}

bool FOwedReports::FindOverdue(int64 Frame, int32& OutId, int64& OutSince) const
{
	for (const TPair<int32, TArray<int64>>& Owed : Frames)
	{
		if (Owed.Value[0] < Frame)
		{
			OutId = Owed.Key;
			OutSince = Owed.Value[0];
			return true;
		}
	}
	return false;
}

bool FPlayerSoak::Fail(const FString& Message)
{
	if (Failure.IsEmpty())
	{
		Failure = FString::Printf(TEXT("frame %lld, after %d actions: %s"), static_cast<long long>(Frame), ActionsDone,
		                          *Message);
	}
	return false;
}

FString FPlayerSoak::MakeDocument(bool bLegacy)
{
	IdsBySecond.Reset();
	TArray<FString> Records;
	Records.Reserve(Options.Comments);
	std::uniform_real_distribution<double> Time(0.0, Options.LessonSeconds);
	for (int32 Id = 1; Id <= Options.Comments; ++Id)
	{
		const double Seconds = Time(Random);
		const FString Content = FString::Printf(TEXT("comment %d"), Id);
		// Mostly scrolling comments, some fixed ones and a few of the kind no lane takes.
		const int32 Mode = Pick(10) < 7 ? 0 : 1 + Pick(3);
		Records.Add(bLegacy ? LegacyRecord(Id, int32(Seconds), Content) : DanmakuRecord(Id, Seconds, Mode, Content));
		IdsBySecond.FindOrAdd(int32(Seconds)).Add(Id);
	}
	return TEXT("{\"datas\":[") + FString::Join(Records, TEXT(",")) + TEXT("]}");
}

int32 FPlayerSoak::Run()
{
	UE::Assert::SetEnsureHandler([](const char*, const char*, int) { ++GFailedEnsures; });
	FHeadlessApplication App(ScreenSizes[0]);
	App.SetGarbageCollectionInterval(-1.0);
	for (const TCHAR* Url : LessonUrls)
	{
		FMediaSourceDescription Description;
		Description.Duration = FTimespan::FromSeconds(Options.LessonSeconds);
		Description.OpenSeconds = 0.1;
		// The second lesson's data comes slower than it plays, so it stalls now and then.
		Description.CacheRate = Url == LessonUrls[1] ? 0.8 : 0.0;
		FMediaSourceRegistry::Register(Url, Description);
	}
	const auto Start = std::chrono::steady_clock::now();
	const int32 Result = Options.bLegacy ? RunLegacy(App) : RunFullPlayer(App);
	const double Wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
	if (Failure.IsEmpty() && GFailedEnsures > 0)
	{
		Fail(FString::Printf(TEXT("%d ensures failed"), GFailedEnsures));
	}
	if (Failure.IsEmpty() && LiveAfter != LiveBefore)
	{
		Fail(FString::Printf(TEXT("%d live objects after the run and a garbage collection, %d before"), LiveAfter,
		                     LiveBefore));
	}
	const double Played = double(Frame) / Options.FramesPerSecond;
	std::printf("%s soak, seed %u: %d actions over %.0f s of lesson time in %.1f s (%.1fx real time)\n",
	            Options.bLegacy ? "Legacy overlay" : "Full player", Options.Seed, ActionsDone, Played, Wall,
	            Played / FMath::Max(Wall, 1e-3));
	std::printf("Live objects: %d before, %d after the run and a collection, at most %d after a collection during "
	            "the run; failed ensures: %d\n",
	            LiveBefore, LiveAfter, LivePeak, GFailedEnsures);
	if (Options.bLegacy)
	{
		std::printf("Comments: %lld due, %lld hand-overs to the track manager (every comment of the playing second on "
		            "every frame, and each push it took): %lld placed (%lld on a shared band), %lld reported not "
		            "placed, %lld outstanding; %lld live pushes, %lld of them for another lesson (ignored)\n",
		            static_cast<long long>(Due), static_cast<long long>(HandOvers), static_cast<long long>(Placed),
		            static_cast<long long>(SharedBands), static_cast<long long>(NotShown),
		            static_cast<long long>(HandOvers - Placed - NotShown), static_cast<long long>(Pushes),
		            static_cast<long long>(ForeignPushes));
	}
	else
	{
		std::printf(
		    "Comments: %lld due, %lld placed, %lld reported not shown, %lld outstanding; %lld live pushes, "
		    "%lld of them kept for later (pushed while paused); %lld sends typed: %lld went out, %lld not taken by the "
		    "closed bar, %lld not taken otherwise; %lld own comments shown and %lld reported not shown\n",
		    static_cast<long long>(Due), static_cast<long long>(Placed), static_cast<long long>(NotShown),
		    static_cast<long long>(Due - Placed - NotShown), static_cast<long long>(Pushes),
		    static_cast<long long>(Skipped), static_cast<long long>(Sends), static_cast<long long>(SendsOut),
		    static_cast<long long>(SendsBarClosed), static_cast<long long>(SendsNotTyped),
		    static_cast<long long>(OwnShown), static_cast<long long>(OwnNotShown));
	}
	for (const TPair<FString, int32>& Reason : NotShownByReason)
	{
		std::printf("  not %s, %s: %d\n", Options.bLegacy ? "placed" : "shown", TCHAR_TO_UTF8(*Reason.Key),
		            Reason.Value);
	}
	if (!Failure.IsEmpty())
	{
		std::fprintf(stderr, "PlayerSoak: FAILED at %s\n", TCHAR_TO_UTF8(*Failure));
		return 1;
	}
	return Result;
}

int32 FPlayerSoak::RunFullPlayer(FHeadlessApplication& App)
{
	const FString Document = MakeDocument(false);
	const TMap<int32, TArray<int32>> DocumentIds = IdsBySecond;
	UClass* PageClass = StaticLoadClass(UUserWidget::StaticClass(), nullptr, TEXT("/Game/UI/WBP_LessonPage"));
	UMediaPlayer* Media = LoadObject<UMediaPlayer>(nullptr, TEXT("/Game/Media/MP_LessonPlayer"));
	if (!PageClass || !Media)
	{
		Fail(TEXT("the lesson page or its media player did not load"));
		return 1;
	}
	// Once built and thrown away, so that what stays loaded for good is in the count before the run.
	{
		UUserWidget* Warm = CreateWidget<UUserWidget>(App.GetWorld(), PageClass);
		Warm->AddToViewport(0);
		App.Tick(0.1f);
		Warm->RemoveFromParent();
		App.Tick(0.1f);
	}
	KeepLoadedClasses();
	Media->AddToRoot();
	LiveBefore = LiveObjects();

	UUserWidget* Page = CreateWidget<UUserWidget>(App.GetWorld(), PageClass);
	Page->AddToViewport(0);
	UUI_PravellaSystem* Player = Cast<UUI_PravellaSystem>(Page->GetWidgetFromName(TEXT("Player")));
	UPanelWidget* PagePanel = Player ? Player->GetParent() : nullptr;
	UUI_Danmaku* Overlay = Player ? Cast<UUI_Danmaku>(Player->GetWidgetFromName(TEXT("Danmaku"))) : nullptr;
	UUserWidget* Bar = Player ? Cast<UUserWidget>(Player->GetWidgetFromName(TEXT("DanmakuBar"))) : nullptr;
	if (!Overlay || !Bar)
	{
		Fail(TEXT("the lesson page has no player with an overlay and a comment bar"));
		return 1;
	}

	// Comments due and not reported since.
	FOwedReports Outstanding;
	TArray<int32> FrameReports;
	// Live comments pushed while the lesson was not playing: the overlay files them, and shows them only if it
	// runs (it pauses with the lesson). Id -> frame of the push.
	TMap<int32, int64> MaybeShown;
	int32 HandedSecond = INDEX_NONE;
	const auto MakeDue = [&](int32 Id)
	{
		Outstanding.Owe(Id, Frame);
		++Due;
	};
	const auto Report = [&](int32 Id, bool bPlaced, EDanmakuNotShownReason Reason)
	{
		FrameReports.Add(Id);
		if (bPlaced)
		{
			++Placed;
		}
		else
		{
			++NotShown;
			++NotShownByReason.FindOrAdd(StaticEnum<EDanmakuNotShownReason>()->GetNameStringByValue(int64(Reason)));
		}
	};
	const auto BindReports = [&](UDanmakuTrackManager* Manager)
	{
		Manager->OnDanmakuPlaced.AddLambda(
		    [&](const FDanmakuPlacement& Placement)
		    {
			    if (Placement.bUserNode)
			    {
				    ++OwnShown;
				    return;
			    }
			    Report(Placement.Node->GetData().DanmakuID, true, EDanmakuNotShownReason::NoFreeLane);
		    });
		Manager->OnDanmakuNotShown.AddLambda([&](const FDanmakuData& Data, EDanmakuNotShownReason Reason)
		                                     { Report(Data.DanmakuID, false, Reason); });
	};
	Overlay->OnTrackManagerCreated.AddLambda(BindReports);
	if (Overlay->GetTrackManager())
	{
		BindReports(Overlay->GetTrackManager());
	}
	// The host's part in next and previous: the lesson's comments, which replace what was filed.
	Player->OnPlaylistUrlChanged.BindLambda(
	    [&](const FString&)
	    {
		    Player->ResetBulletChatDatas(Document);
		    IdsBySecond = DocumentIds;
	    });

	// Checks the frame just drawn: a second the clock entered while playing, or one the overlay handed over
	// (its reports say so), makes all its comments due; every report must answer a due comment, and every due
	// comment must be answered within a few frames.
	const auto Settle = [&]
	{
		const int32 Second = SecondOf(Media->GetTime());
		TArray<int32> Handed;
		if (Media->IsPlaying() && Second != HandedSecond)
		{
			Handed.AddUnique(Second);
		}
		for (int32 Id : FrameReports)
		{
			if (Id != 0 && !Outstanding.IsOwed(Id) && !MaybeShown.Contains(Id))
			{
				for (const TPair<int32, TArray<int32>>& Bucket : IdsBySecond)
				{
					if (Bucket.Value.Contains(Id))
					{
						Handed.AddUnique(Bucket.Key);
						break;
					}
				}
			}
		}
		for (int32 HandedNow : Handed)
		{
			// A second passed over is reported once, when the clock is already past it.
			if (HandedNow == Second)
			{
				HandedSecond = HandedNow;
			}
			if (const TArray<int32>* Ids = IdsBySecond.Find(HandedNow))
			{
				for (int32 Id : *Ids)
				{
					MakeDue(Id);
				}
			}
		}
		for (int32 Id : FrameReports)
		{
			if (Outstanding.Answer(Id))
			{
				continue;
			}
			if (MaybeShown.Remove(Id) > 0)
			{
				++Due;
				continue;
			}
			// The viewer's own comment carries no id: not shown as it was sent, when it is not due from the index.
			if (Id == 0)
			{
				--NotShown;
				++OwnNotShown;
				continue;
			}
			return Fail(FString::Printf(TEXT("comment %d was reported but was not due"), Id));
		}
		FrameReports.Reset();
		TArray<int32> KeptForLater;
		for (const TPair<int32, int64>& Pushed : MaybeShown)
		{
			if (Pushed.Value < Frame - ReportFrames)
			{
				KeptForLater.Add(Pushed.Key);
			}
		}
		for (int32 Id : KeptForLater)
		{
			++Skipped;
			MaybeShown.Remove(Id);
		}
		int32 Overdue = 0;
		int64 Since = 0;
		if (Outstanding.FindOverdue(Frame - ReportFrames, Overdue, Since))
		{
			return Fail(FString::Printf(TEXT("comment %d, due at frame %lld, was neither placed nor reported"), Overdue,
			                            static_cast<long long>(Since)));
		}
		return true;
	};
	const auto Step = [&](double Seconds)
	{
		for (int32 Frames = FMath::Max(1, int32(Seconds * Options.FramesPerSecond)); Frames > 0; --Frames)
		{
			App.Tick(1.0f / Options.FramesPerSecond);
			++Frame;
			if (!Settle())
			{
				return false;
			}
		}
		return true;
	};
	const auto Click = [&](UWidget* Widget)
	{
		App.MoveMouse(CenterOf(Widget) + FVector2D(1.0, 0.0));
		return Step(0.3) && (App.Click(CenterOf(Widget)), Step(0.0));
	};
	const auto Control = [&](const TCHAR* Name) { return Player->GetWidgetFromName(FName(Name)); };

	Player->AddToPlaylist(LessonUrls[0]);
	Player->AddToPlaylist(LessonUrls[1]);
	Player->ResetBulletChatDatas(Document);
	Player->PlayMediaByNet(LessonUrls[0]);
	bool bOk = Step(0.5);

	const int64 Frames = int64(Options.LessonSeconds * Options.FramesPerSecond);
	TArray<int64> ActionFrames;
	for (int32 Index = 0; Index < Options.Actions; ++Index)
	{
		ActionFrames.Add(std::uniform_int_distribution<int64>(0, Frames - 1)(Random));
	}
	ActionFrames.Sort();
	for (int32 Index = 0; bOk && Index < ActionFrames.Num(); ++Index)
	{
		bOk = Step(double(FMath::Max(ActionFrames[Index] - Frame, int64(1))) / Options.FramesPerSecond);
		// The host starts the first lesson again when the viewer has let the playlist run out.
		if (bOk && !Media->IsPlaying() && !Media->IsPaused() && !Media->IsPreparing())
		{
			Player->PlayMediaByNet(LessonUrls[0]);
			bOk = Step(0.3);
		}
		const int32 Action = bOk ? Pick(11) : -1;
		if (Options.bVerbose)
		{
			std::printf("frame %lld: action %d at %.2f s, %s%s\n", static_cast<long long>(Frame), Action,
			            Media->GetTime().GetTotalSeconds(), Media->IsPlaying() ? "playing" : "not playing",
			            Media->IsPaused() ? ", paused" : "");
		}
		switch (Action)
		{
			case 0:
				Media->Seek(
				    FTimespan::FromSeconds(std::uniform_real_distribution<double>(0.0, Options.LessonSeconds)(Random)));
				break;
			case 1:
				bOk = Click(Control(TEXT("PauseButton")));
				break;
			case 2:
				bOk = Click(Control(TEXT("ScreenButton")));
				break;
			case 3:
				bOk = Click(Bar->GetWidgetFromName(TEXT("OpenDanmakuButton")));
				break;
			case 4:
			{
				// A send goes out when the input takes the text and Enter empties it; each one that goes out must
				// come back as exactly one own comment, shown or reported not shown, and no other may.
				const int64 Before = OwnShown + OwnNotShown;
				UEditableText* Input = Cast<UEditableText>(Bar->GetWidgetFromName(TEXT("InputDanmakuText")));
				bOk = Click(Input);
				const FString Typed = FString::Printf(TEXT("sent %d"), ++Sends);
				// Input reaches the widgets on the next frame.
				App.TypeText(Typed);
				bOk = bOk && Step(0.0);
				const bool bTyped = Input->GetText().ToString().Equals(Typed, ESearchCase::CaseSensitive);
				// A sent comment is also filed under its second, without an id, and comes again with it.
				const int32 SentSecond = SecondOf(Media->GetTime());
				App.PressEnter();
				bOk = bOk && Step(0.1);
				const bool bWentOut = bTyped && Input->GetText().IsEmpty();
				const int64 Own = OwnShown + OwnNotShown - Before;
				if (bWentOut)
				{
					++SendsOut;
					IdsBySecond.FindOrAdd(SentSecond).Add(0);
				}
				else
				{
					++(Input->GetIsEnabled() ? SendsNotTyped : SendsBarClosed);
				}
				if (bOk && Own != (bWentOut ? 1 : 0))
				{
					bOk = Fail(FString::Printf(
					    TEXT("send %lld %s, and %lld own comments were reported for it"), static_cast<long long>(Sends),
					    bWentOut ? TEXT("went out") : TEXT("did not go out"), static_cast<long long>(Own)));
				}
				if (bOk && bTyped && !bWentOut && !Media->GetUrl().IsEmpty())
				{
					bOk = Fail(FString::Printf(TEXT("send %lld was typed but Enter did not send it"),
					                           static_cast<long long>(Sends)));
				}
				App.ClearFocus();
				break;
			}
			case 5:
				bOk = Click(Control(Pick(2) ? TEXT("NestButton") : TEXT("PreviousButton")));
				break;
			case 6:
				App.SetViewportSize(ScreenSizes[Pick(UE_ARRAY_COUNT(ScreenSizes))]);
				break;
			case 7:
			case 8:
			{
				// Another viewer's comment, at the current time: shown at once and filed under its second.
				const int32 Id = FirstLiveId + int32(++Pushes);
				const double Seconds = Media->GetTime().GetTotalSeconds();
				if (Media->GetUrl().IsEmpty())
				{
					break;
				}
				IdsBySecond.FindOrAdd(SecondOf(Media->GetTime())).Add(Id);
				if (Media->IsPlaying())
				{
					MakeDue(Id);
				}
				else
				{
					MaybeShown.Add(Id, Frame);
				}
				Player->AddBulletChatDataThenSpawn(DanmakuRecord(Id, Seconds, 0, TEXT("live")), Media->GetUrl());
				break;
			}
			case 9:
				Player->ResetBulletChatDatas(Document);
				IdsBySecond = DocumentIds;
				break;
			default:
				break;
		}
		++ActionsDone;
		// A game collects garbage now and then; the peak is what is alive after a collection.
		if (ActionsDone % CollectEvery == 0)
		{
			LivePeak = FMath::Max(LivePeak, LiveObjects());
		}
		// Every handler bound once, by behaviour: one click on pause pauses, the next resumes.
		if (bOk && ActionsDone % 50 == 0 && Media->IsPlaying())
		{
			bOk = Click(Control(TEXT("PauseButton")));
			if (bOk && !Media->IsPaused())
			{
				bOk = Fail(TEXT("one click on pause did not leave the lesson paused"));
			}
			bOk = bOk && Click(Control(TEXT("PauseButton")));
			if (bOk && !Media->IsPlaying())
			{
				bOk = Fail(TEXT("a second click on pause did not resume the lesson"));
			}
		}
	}
	bOk = bOk && Step(1.0);
	// The host closes the page while the player is fullscreen: the player, on the viewport by itself, goes too.
	const UCheckBox* Fullscreen = Cast<UCheckBox>(Control(TEXT("ScreenButton")));
	if (bOk && Fullscreen && !Fullscreen->IsChecked())
	{
		bOk = Click(Control(TEXT("ScreenButton")));
	}
	if (bOk && !(Fullscreen && Fullscreen->IsChecked() && FHeadlessViewport::Get().ContainsWidget(Player)))
	{
		bOk = Fail(TEXT("a click on the fullscreen button did not take the player fullscreen"));
	}
	Player->OnPlaylistUrlChanged.Unbind();
	// The host rebuilds its page while the player is fullscreen: it clears the page's panel, then takes the page
	// down.
	if (bOk && PagePanel)
	{
		PagePanel->ClearChildren();
		App.Tick(0.1f);
		if (FHeadlessViewport::Get().ContainsWidget(Player) || !Media->IsClosed())
		{
			bOk = Fail(TEXT("the host cleared the page of a fullscreen player, and the player stayed on screen"));
		}
	}
	Page->RemoveFromParent();
	Media->Close();
	App.ClearFocus();
	App.MoveMouse(FVector2D(-1.0, -1.0));
	App.Tick(0.1f);
	bOk = bOk && Settle();
	// The player leaves the viewport on the frame after its page.
	if (bOk && FHeadlessViewport::Get().GetWidgets().Num() > 0)
	{
		bOk = Fail(FString::Printf(TEXT("closing the page of a fullscreen player left %d widgets on the viewport"),
		                           FHeadlessViewport::Get().GetWidgets().Num()));
	}
	App.SetViewportSize(ScreenSizes[0]);
	LiveAfter = LiveObjects();
	// The media player asset keeps the playlist the host filled, and one media source per entry, for good.
	const UMediaPlaylist* Playlist = Media->GetPlaylist();
	LiveAfter -= Playlist ? 1 + Playlist->Num() : 0;
	return bOk ? 0 : 1;
}

int32 FPlayerSoak::RunLegacy(FHeadlessApplication& App)
{
	const FString Document = MakeDocument(true);
	const TMap<int32, TArray<int32>> DocumentIds = IdsBySecond;
	UClass* OverlayClass = StaticLoadClass(UUI_BulletChat::StaticClass(), nullptr, TEXT("/Game/UI/WBP_BulletChat"));
	if (!OverlayClass)
	{
		Fail(TEXT("the legacy overlay did not load"));
		return 1;
	}
	KeepLoadedClasses();
	LiveBefore = LiveObjects();
	UMediaPlayer* Media = NewObject<UMediaPlayer>();
	Media->AddToRoot();
	UUI_BulletChat* Overlay = CreateWidget<UUI_BulletChat>(App.GetWorld(), OverlayClass);
	Overlay->AddToRoot();
	Overlay->AddToViewport();
	UCanvasPanel* Canvas = Cast<UCanvasPanel>(Overlay->GetWidgetFromName(TEXT("RootCanvas")));
	Overlay->Init(Media);
	// Kept by the overlay until its track manager exists.
	Overlay->ResetDatas(Document);
	// The track manager is made on the first laid-out frame; listening before the lesson opens, the soak hears
	// about every comment handed to it.
	App.Tick(1.0f / Options.FramesPerSecond);
	++Frame;
	UBulletChatTrackManager* Manager = Overlay->GetTrackManager();
	if (!Canvas || !Manager)
	{
		Fail(TEXT("the legacy overlay has no canvas, or no track manager after its first frame"));
		return 1;
	}

	// Comments the overlay handed to the manager and no report has answered since.
	FOwedReports Outstanding;
	// Ids reported during the frame, answered once the frame's hand-overs are known.
	TArray<int32> FrameReports;
	int32 DueSecond = INDEX_NONE;
	// Ids of the nodes on the canvas; rebuilt when first needed after a frame starts or an action.
	TMap<int32, bool> CanvasIds;
	bool bCanvasIdsKnown = false;
	const auto HandOver = [&](int32 Id)
	{
		Outstanding.Owe(Id, Frame);
		++HandOvers;
	};
	Manager->OnBulletChatPlaced.AddLambda(
	    [&](const FBulletChatPlacement& Placement)
	    {
		    const UUI_BulletChatNode* Node = Placement.Node;
		    const FVector2D Position = Node->GetPosition();
		    if (Node->GetParent() != Canvas || float(Position.X) != float(Node->GetParentSize().X) ||
		        float(Position.Y) != float(Placement.FirstTrack * UBulletChatTrackManager::TrackHeight))
		    {
			    Fail(FString::Printf(TEXT("comment %d was reported placed on track %d but stands at (%.1f, %.1f)%s"),
			                         Node->GetData().ID, Placement.FirstTrack, Position.X, Position.Y,
			                         Node->GetParent() == Canvas ? TEXT("") : TEXT(" off the canvas")));
		    }
		    FrameReports.Add(Node->GetData().ID);
		    ++Placed;
		    SharedBands += Placement.bSharedBand ? 1 : 0;
	    });
	Manager->OnBulletChatNotPlaced.AddLambda(
	    [&](const FBulletChatData& Data, EBulletChatNotPlacedReason Reason)
	    {
		    if (Reason == EBulletChatNotPlacedReason::AlreadyShowing)
		    {
			    if (!bCanvasIdsKnown)
			    {
				    CanvasIds.Reset();
				    for (UWidget* Child : Canvas->GetAllChildren())
				    {
					    if (const UUI_BulletChatNode* Node = Cast<UUI_BulletChatNode>(Child))
					    {
						    CanvasIds.Add(Node->GetData().ID, true);
					    }
				    }
				    bCanvasIdsKnown = true;
			    }
			    // Refused as showing while no node of it is on screen: lost.
			    if (!CanvasIds.Contains(Data.ID))
			    {
				    Fail(FString::Printf(TEXT("comment %d was refused as already showing, but no node of it is on "
				                              "the canvas"),
				                         Data.ID));
			    }
		    }
		    FrameReports.Add(Data.ID);
		    ++NotShown;
		    ++NotShownByReason.FindOrAdd(StaticEnum<EBulletChatNotPlacedReason>()->GetNameStringByValue(int64(Reason)));
	    });

	// Checks the frame just drawn. While the lesson plays the overlay hands every comment of the playing second to
	// the manager on every frame; each hand-over must be answered by one report within a few frames, and no report
	// may come for a comment not handed over.
	const auto Settle = [&]
	{
		const int32 Second = SecondOf(Media->GetTime());
		if (Media->IsPlaying())
		{
			if (const TArray<int32>* Ids = IdsBySecond.Find(Second))
			{
				for (int32 Id : *Ids)
				{
					HandOver(Id);
				}
				Due += Second != DueSecond ? Ids->Num() : 0;
			}
			DueSecond = Second;
		}
		for (int32 Id : FrameReports)
		{
			if (!Outstanding.Answer(Id))
			{
				return Fail(FString::Printf(TEXT("comment %d was reported but was not handed over"), Id));
			}
		}
		FrameReports.Reset();
		int32 Overdue = 0;
		int64 Since = 0;
		if (Outstanding.FindOverdue(Frame - ReportFrames, Overdue, Since))
		{
			return Fail(FString::Printf(TEXT("comment %d, handed over at frame %lld, was neither placed nor reported"),
			                            Overdue, static_cast<long long>(Since)));
		}
		return Failure.IsEmpty();
	};
	const auto Step = [&](double Seconds)
	{
		for (int32 Frames = FMath::Max(1, int32(Seconds * Options.FramesPerSecond)); Frames > 0; --Frames)
		{
			++Frame;
			bCanvasIdsKnown = false;
			App.Tick(1.0f / Options.FramesPerSecond);
			if (!Settle())
			{
				return false;
			}
		}
		return true;
	};

	Media->OpenUrl(LessonUrls[0]);
	const int64 Frames = int64(Options.LessonSeconds * Options.FramesPerSecond);
	TArray<int64> ActionFrames;
	for (int32 Index = 0; Index < Options.Actions; ++Index)
	{
		ActionFrames.Add(std::uniform_int_distribution<int64>(0, Frames - 1)(Random));
	}
	ActionFrames.Sort();
	bool bHostPaused = false;
	bool bVisible = true;
	bool bOk = Step(0.5);
	for (int32 Index = 0; bOk && Index < ActionFrames.Num(); ++Index)
	{
		bOk = Step(double(FMath::Max(ActionFrames[Index] - Frame, int64(1))) / Options.FramesPerSecond);
		if (!bOk)
		{
			break;
		}
		// The host starts the lesson again when it has run out.
		if (!Media->IsPlaying() && !Media->IsPaused() && !Media->IsPreparing())
		{
			Media->OpenUrl(LessonUrls[0]);
		}
		const int32 Action = Pick(10);
		if (Options.bVerbose)
		{
			std::printf("frame %lld: action %d at %.2f s, %s%s\n", static_cast<long long>(Frame), Action,
			            Media->GetTime().GetTotalSeconds(), Media->IsPlaying() ? "playing" : "not playing",
			            bHostPaused ? ", overlay paused" : "");
		}
		switch (Action)
		{
			case 0:
				Media->Seek(
				    FTimespan::FromSeconds(std::uniform_real_distribution<double>(0.0, Options.LessonSeconds)(Random)));
				break;
			case 1:
				Media->IsPaused() ? Media->Play() : Media->Pause();
				break;
			case 2:
				// The host's pause: nodes stand still, comments are still handed over while the lesson plays.
				bHostPaused = !bHostPaused;
				bHostPaused ? Overlay->Pause() : Overlay->Resume();
				break;
			case 3:
				bVisible = !bVisible;
				Overlay->SetVisible(bVisible);
				break;
			case 4:
			case 5:
			{
				// A comment of another viewer at the current time; the overlay takes it for its own lesson only,
				// whatever the letter case of the address.
				const int32 Id = FirstLiveId + int32(++Pushes);
				const int32 Second = SecondOf(Media->GetTime());
				const int32 Kind = Pick(3);
				const FString Url = Kind == 0 ? Media->GetUrl() : Kind == 1 ? Media->GetUrl().ToUpper() : LessonUrls[1];
				if (Url.Equals(Media->GetUrl(), ESearchCase::IgnoreCase))
				{
					IdsBySecond.FindOrAdd(Second).Add(Id);
					HandOver(Id);
					++Due;
				}
				else
				{
					++ForeignPushes;
				}
				Overlay->AddDataThenSpawn(LegacyRecord(Id, Second, TEXT("live")), Url);
				break;
			}
			case 6:
				App.SetViewportSize(ScreenSizes[Pick(UE_ARRAY_COUNT(ScreenSizes))]);
				break;
			case 7:
				Overlay->ResetDatas(Document);
				IdsBySecond = DocumentIds;
				break;
			default:
				Overlay->Empty();
				break;
		}
		bCanvasIdsKnown = false;
		++ActionsDone;
		if (ActionsDone % CollectEvery == 0)
		{
			LivePeak = FMath::Max(LivePeak, LiveObjects());
		}
	}
	bOk = bOk && Step(1.0);
	// Nothing is handed over once the lesson is closed; what was must still be answered.
	Media->Close();
	bOk = bOk && Step(double(ReportFrames + 1) / Options.FramesPerSecond);
	if (bOk && Outstanding.Num() > 0)
	{
		bOk = Fail(FString::Printf(TEXT("%d comments handed over were never answered"), Outstanding.Num()));
	}
	// The listeners hold this run's locals.
	Manager->OnBulletChatPlaced.Clear();
	Manager->OnBulletChatNotPlaced.Clear();
	Overlay->RemoveFromParent();
	Overlay->RemoveFromRoot();
	Media->RemoveFromRoot();
	App.Tick(0.1f);
	App.SetViewportSize(ScreenSizes[0]);
	LiveAfter = LiveObjects();
	return bOk ? 0 : 1;
}
