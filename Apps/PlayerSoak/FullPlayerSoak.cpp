#include "FullPlayerSoak.h"

#include "Blueprint/UserWidget.h"
#include "Components/CheckBox.h"
#include "Components/EditableText.h"
#include "Engine/World.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/HeadlessViewport.h"
#include "MediaPlayer.h"
#include "MediaPlaylist.h"
#include "UI_Danmaku.h"
#include "UI_PravellaSystem.h"

#include <cstdio>

FFullPlayerSoak::FFullPlayerSoak(const FSoakOptions& InOptions, FHeadlessApplication& InApp)
    : FSoakRun(InOptions, InApp), Driver(InApp, TEXT("player")), Due(*this, Figures, IdsBySecond)
{
}

bool FFullPlayerSoak::Build()
{
	UClass* PageClass = StaticLoadClass(UUserWidget::StaticClass(), nullptr, TEXT("/Game/UI/WBP_LessonPage"));
	Media = LoadObject<UMediaPlayer>(nullptr, TEXT("/Game/Media/MP_LessonPlayer"));
	if (!PageClass || !Media)
	{
		return Fail(TEXT("the lesson page or its media player did not load"));
	}
	// Once built and thrown away, so that what stays loaded for good is in the count before the run.
	UUserWidget* Warm = CreateWidget<UUserWidget>(App.GetWorld(), PageClass);
	Warm->AddToViewport(0);
	App.Tick(0.1f);
	Warm->RemoveFromParent();
	App.Tick(0.1f);
	KeepLoadedClasses();
	Media->AddToRoot();
	Figures.LiveBefore = LiveObjects();

	Page = CreateWidget<UUserWidget>(App.GetWorld(), PageClass);
	Page->AddToViewport(0);
	Player = Cast<UUI_PravellaSystem>(Page->GetWidgetFromName(TEXT("Player")));
	PagePanel = Player ? Player->GetParent() : nullptr;
	Overlay = Player ? Cast<UUI_Danmaku>(Player->GetWidgetFromName(TEXT("Danmaku"))) : nullptr;
	Bar = Player ? Cast<UUserWidget>(Player->GetWidgetFromName(TEXT("DanmakuBar"))) : nullptr;
	if (!Overlay || !Bar)
	{
		return Fail(TEXT("the lesson page has no player with an overlay and a comment bar"));
	}
	Driver.SetRoot(Player);
	Overlay->OnTrackManagerCreated.AddLambda([this](UDanmakuTrackManager* Manager) { Due.Bind(Manager); });
	if (Overlay->GetTrackManager())
	{
		Due.Bind(Overlay->GetTrackManager());
	}
	// The host's part in next and previous: the lesson's comments, which replace what was filed.
	Player->OnPlaylistUrlChanged.BindLambda(
	    [this](const FString&)
	    {
		    Player->ResetBulletChatDatas(Document);
		    IdsBySecond = DocumentIds;
	    });
	return true;
}

bool FFullPlayerSoak::Settle()
{
	return Due.Settle(*Media, Frame);
}

bool FFullPlayerSoak::ClickOn(const FString& Path)
{
	const FViewerStep Click = FViewerStep::Make(EViewerAction::Click, FViewerTarget::Widget(Path));
	FVector2D Centre;
	UWidget* Widget = nullptr;
	FString Error;
	// Just beside the centre, so that the click's own move is a move.
	if (!Driver.Resolve(Click, Centre, Widget, Error) ||
	    !Driver.Perform(FViewerStep::Make(EViewerAction::Move, FViewerTarget::At(Centre + FVector2D(1.0, 0.0))), Error))
	{
		return Fail(Error);
	}
	if (!Step(0.3))
	{
		return false;
	}
	return Driver.Perform(Click, Error) ? Step(0.0) : Fail(Error);
}

bool FFullPlayerSoak::Send()
{
	// A send goes out when the input takes the text and Enter empties it; each one that goes out must come back as
	// exactly one own comment, shown or reported not shown, and no other may.
	const int64 Before = Figures.OwnShown + Figures.OwnNotShown;
	UEditableText* Input = Cast<UEditableText>(Bar->GetWidgetFromName(TEXT("InputDanmakuText")));
	bool bOk = ClickOn(TEXT("DanmakuBar/InputDanmakuText"));
	const FString Typed = FString::Printf(TEXT("sent %lld"), static_cast<long long>(++Figures.Sends));
	FString Error;
	// Input reaches the widgets on the next frame.
	Driver.Perform(FViewerStep::Make(EViewerAction::Type, FViewerTarget(), Typed), Error);
	bOk = bOk && Step(0.0);
	const bool bTyped = Input->GetText().ToString().Equals(Typed, ESearchCase::CaseSensitive);
	// A sent comment is also filed under its second, without an id, and comes again with it.
	const int32 SentSecond = SoakSecondOf(Media->GetTime());
	Driver.Perform(FViewerStep::Make(EViewerAction::Enter), Error);
	bOk = bOk && Step(0.1);
	const bool bWentOut = bTyped && Input->GetText().IsEmpty();
	const int64 Own = Figures.OwnShown + Figures.OwnNotShown - Before;
	if (bWentOut)
	{
		++Figures.SendsOut;
		IdsBySecond.FindOrAdd(SentSecond).Add(0);
	}
	else
	{
		++(Input->GetIsEnabled() ? Figures.SendsNotTyped : Figures.SendsBarClosed);
	}
	if (bOk && Own != (bWentOut ? 1 : 0))
	{
		bOk = Fail(FString::Printf(TEXT("send %lld %s, and %lld own comments were reported for it"),
		                           static_cast<long long>(Figures.Sends),
		                           bWentOut ? TEXT("went out") : TEXT("did not go out"), static_cast<long long>(Own)));
	}
	if (bOk && bTyped && !bWentOut && !Media->GetUrl().IsEmpty())
	{
		bOk = Fail(FString::Printf(TEXT("send %lld was typed but Enter did not send it"),
		                           static_cast<long long>(Figures.Sends)));
	}
	App.ClearFocus();
	return bOk;
}

void FFullPlayerSoak::PushLiveComment()
{
	// Another viewer's comment, at the current time: shown at once and filed under its second.
	const int32 Id = SoakFirstLiveId + int32(++Figures.Pushes);
	const double Seconds = Media->GetTime().GetTotalSeconds();
	if (Media->GetUrl().IsEmpty())
	{
		return;
	}
	IdsBySecond.FindOrAdd(SoakSecondOf(Media->GetTime())).Add(Id);
	if (Media->IsPlaying())
	{
		Due.MakeDue(Id, Frame);
	}
	else
	{
		Due.MaybeShow(Id, Frame);
	}
	Player->AddBulletChatDataThenSpawn(SoakDanmakuRecord(Id, Seconds, 0, TEXT("live")), Media->GetUrl());
}

bool FFullPlayerSoak::BeforeAction()
{
	// The host starts the first lesson again when the viewer has let the playlist run out.
	if (!Media->IsPlaying() && !Media->IsPaused() && !Media->IsPreparing())
	{
		Player->PlayMediaByNet(SoakLessonUrls[0]);
		return Step(0.3);
	}
	return true;
}

bool FFullPlayerSoak::Act()
{
	const int32 Action = Pick(11);
	if (Options.bVerbose)
	{
		std::printf("frame %lld: action %d at %.2f s, %s%s\n", static_cast<long long>(Frame), Action,
		            Media->GetTime().GetTotalSeconds(), Media->IsPlaying() ? "playing" : "not playing",
		            Media->IsPaused() ? ", paused" : "");
	}
	switch (Action)
	{
		case 0:
			Media->Seek(FTimespan::FromSeconds(PickLessonTime()));
			return true;
		case 1:
			return ClickOn(TEXT("PauseButton"));
		case 2:
			return ClickOn(TEXT("ScreenButton"));
		case 3:
			return ClickOn(TEXT("DanmakuBar/OpenDanmakuButton"));
		case 4:
			return Send();
		case 5:
			return ClickOn(Pick(2) ? TEXT("NestButton") : TEXT("PreviousButton"));
		case 6:
			App.SetViewportSize(SoakScreenSizes[Pick(UE_ARRAY_COUNT(SoakScreenSizes))]);
			return true;
		case 7:
		case 8:
			PushLiveComment();
			return true;
		case 9:
			Player->ResetBulletChatDatas(Document);
			IdsBySecond = DocumentIds;
			return true;
		default:
			return true;
	}
}

bool FFullPlayerSoak::AfterAction()
{
	// Every handler bound once, by behaviour: one click on pause pauses, the next resumes.
	if (Figures.ActionsDone % 50 != 0 || !Media->IsPlaying())
	{
		return true;
	}
	if (!ClickOn(TEXT("PauseButton")))
	{
		return false;
	}
	if (!Media->IsPaused())
	{
		return Fail(TEXT("one click on pause did not leave the lesson paused"));
	}
	if (!ClickOn(TEXT("PauseButton")))
	{
		return false;
	}
	return Media->IsPlaying() || Fail(TEXT("a second click on pause did not resume the lesson"));
}

bool FFullPlayerSoak::TakeDown(bool bOk)
{
	// The host closes the page while the player is fullscreen: the player, on the viewport by itself, goes too.
	const UCheckBox* Fullscreen = Cast<UCheckBox>(Player->GetWidgetFromName(TEXT("ScreenButton")));
	if (bOk && Fullscreen && !Fullscreen->IsChecked())
	{
		bOk = ClickOn(TEXT("ScreenButton"));
	}
	if (bOk && !(Fullscreen && Fullscreen->IsChecked() && FHeadlessViewport::Get().ContainsWidget(Player)))
	{
		bOk = Fail(TEXT("a click on the fullscreen button did not take the player fullscreen"));
	}
	Player->OnPlaylistUrlChanged.Unbind();
	// The host rebuilds its page while the player is fullscreen: it clears the page's panel, then takes the page down.
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
	FString Error;
	Driver.Perform(FViewerStep::Make(EViewerAction::Move, FViewerTarget::At(FVector2D(-1.0, -1.0))), Error);
	App.Tick(0.1f);
	bOk = bOk && Settle();
	// The player leaves the viewport on the frame after its page.
	if (bOk && FHeadlessViewport::Get().GetWidgets().Num() > 0)
	{
		bOk = Fail(FString::Printf(TEXT("closing the page of a fullscreen player left %d widgets on the viewport"),
		                           FHeadlessViewport::Get().GetWidgets().Num()));
	}
	return bOk;
}

int32 FFullPlayerSoak::Run()
{
	Document = MakeDocument(false);
	DocumentIds = IdsBySecond;
	if (!Build())
	{
		return 1;
	}
	Player->AddToPlaylist(SoakLessonUrls[0]);
	Player->AddToPlaylist(SoakLessonUrls[1]);
	Player->ResetBulletChatDatas(Document);
	Player->PlayMediaByNet(SoakLessonUrls[0]);
	const bool bOk = TakeDown(Step(0.5) && RunActions() && Step(1.0));
	App.SetViewportSize(SoakScreenSizes[0]);
	Figures.LiveAfter = LiveObjects();
	// The media player asset keeps the playlist the host filled, and one media source per entry, for good.
	const UMediaPlaylist* Playlist = Media->GetPlaylist();
	Figures.LiveAfter -= Playlist ? 1 + Playlist->Num() : 0;
	return bOk ? 0 : 1;
}
