#include "LessonRecorder.h"

#include "CommentTrace.h"
#include "Components/Button.h"
#include "DanmakuTrackManager.h"
#include "LessonDocuments.h"
#include "LessonPlayerEvents.h"
#include "MediaPlayer.h"
#include "MediaPlaylist.h"
#include "MediaSource.h"
#include "UI_Danmaku.h"
#include "UI_DanmakuBar.h"
#include "UI_DanmakuNode.h"
#include "UI_PravellaSystem.h"
#include "ViewerAction.h"

namespace
{
FString ShortLabel(const FViewerStep& Step)
{
	FString Label = Step.Source;
	// Drop the time, keep the action and its first words.
	int32 Space = INDEX_NONE;
	if (Label.FindChar(u' ', Space))
	{
		Label = Label.RightChop(Space + 1).TrimStart();
	}
	return Label.Len() > 24 ? Label.Left(23) + TEXT("…") : Label;
}
} // namespace

FLessonRecorder::FLessonRecorder(FCommentTrace& InTrace, FLessonDocuments& InDocuments, TArray<FString>& InProblems)
    : Trace(InTrace), Documents(InDocuments), Problems(InProblems)
{
}

double FLessonRecorder::MediaSeconds() const
{
	return Media ? Media->GetTime().GetTotalSeconds() : 0.0;
}

ULessonPlayerEvents* FLessonRecorder::Bind(UUI_PravellaSystem* InPlayer, UUI_Danmaku* InOverlay, UMediaPlayer* InMedia)
{
	Player = InPlayer;
	Overlay = InOverlay;
	Media = InMedia;
	if (UDanmakuTrackManager* Manager = Overlay->GetTrackManager())
	{
		BindReports(Manager);
	}
	Overlay->OnTrackManagerCreated.AddLambda([this](UDanmakuTrackManager* Manager) { BindReports(Manager); });
	ULessonPlayerEvents* Events = NewObject<ULessonPlayerEvents>();
	Events->Sink = [this](const FString& Event, const FString& Fields) { OnEvent(Event, Fields); };
	Events->OnSendSeen = [this](const FString&)
	{
		if (FLessonDocuments::FLesson* Lesson = Documents.Current())
		{
			++Lesson->Counts.Sent;
		}
	};
	Media->OnMediaOpened.AddUniqueDynamic(Events, &ULessonPlayerEvents::OnOpened);
	Media->OnMediaOpenFailed.AddUniqueDynamic(Events, &ULessonPlayerEvents::OnOpenFailed);
	Media->OnPlaybackResumed.AddUniqueDynamic(Events, &ULessonPlayerEvents::OnResumed);
	Media->OnPlaybackSuspended.AddUniqueDynamic(Events, &ULessonPlayerEvents::OnSuspended);
	Media->OnSeekCompleted.AddUniqueDynamic(Events, &ULessonPlayerEvents::OnSeekCompleted);
	Media->OnEndReached.AddUniqueDynamic(Events, &ULessonPlayerEvents::OnEndReached);
	Player->GetSendDanmakuDelegate().AddUniqueDynamic(Events, &ULessonPlayerEvents::OnSent);
	// Where the player starts raises no event; every move after it does.
	bFullscreen = Player->GetPravellaType() == EPravellaType::FullScreen;
	Player->OnPravellaTypeChanged.AddUniqueDynamic(Events, &ULessonPlayerEvents::OnTypeChanged);
	if (UUI_DanmakuBar* Bar = Cast<UUI_DanmakuBar>(Player->GetWidgetFromName(TEXT("DanmakuBar"))))
	{
		Bar->GetOpenDanmakuButtonClickedEvent().AddUniqueDynamic(Events, &ULessonPlayerEvents::OnOverlaySwitched);
	}
	BindPlaylistMoves(*Events);
	return Events;
}

void FLessonRecorder::BindPlaylistMoves(ULessonPlayerEvents& Events)
{
	// In a playlist of two both neighbours are the same lesson, so the direction comes from the button pressed.
	Events.OnMovePressed = [this](bool bNext) { PressedDirection = bNext ? 1 : 0; };
	if (UButton* NextButton = Cast<UButton>(Player->GetWidgetFromName(TEXT("NestButton"))))
	{
		NextButton->OnPressed.AddUniqueDynamic(&Events, &ULessonPlayerEvents::OnNextPressed);
	}
	if (UButton* PreviousButton = Cast<UButton>(Player->GetWidgetFromName(TEXT("PreviousButton"))))
	{
		PreviousButton->OnPressed.AddUniqueDynamic(&Events, &ULessonPlayerEvents::OnPreviousPressed);
	}
	// The host's part in next and previous: the new lesson's comments.
	Player->OnPlaylistUrlChanged.BindLambda(
	    [this](const FString& Url)
	    {
		    UMediaPlaylist* Playlist = Player->GetPlaylist();
		    const int32 From = Player->GetPlaylistIndex();
		    const int32 Count = Playlist ? Playlist->Num() : 0;
		    bool bNext = Count > 0 && FLessonDocuments::SameSource(Playlist->Get((From + 1) % Count)->GetUrl(), Url);
		    if (PressedDirection >= 0)
		    {
			    bNext = PressedDirection == 1;
			    PressedDirection = -1;
		    }
		    OnEvent(bNext ? TEXT("next") : TEXT("previous"),
		            FString::Printf(TEXT(",\"to\":%s"), *FCommentTrace::Quote(Url)));
		    Documents.HandOver(Url);
	    });
}

void FLessonRecorder::BindReports(UDanmakuTrackManager* Manager)
{
	// Looked up once here rather than for each of the comments reported below.
	const TWeakObjectPtr<UWidget> Canvas = Overlay->GetWidgetFromName(TEXT("DanmakuCanvasPanel"));
	const auto NoteLanes = [this, Manager, Canvas]
	{
		const UWidget* Lanes = Canvas.Get();
		Trace.NoteLanes(Lanes ? Lanes->GetCachedGeometry().GetLocalSize() : FVector2D::ZeroVector,
		                UDanmakuTrackManager::TrackHeight, Manager->GetTrackNum());
	};
	Manager->OnDanmakuPlaced.AddLambda(
	    [this, NoteLanes](const FDanmakuPlacement& Placement)
	    {
		    NoteLanes();
		    Trace.WritePlacement(Placement);
		    if (FLessonDocuments::FLesson* Lesson = Documents.Current())
		    {
			    Lesson->Counts.CountPlaced(*Placement.Node, Placement.bUserNode);
			    if (!Placement.bUserNode)
			    {
				    Lesson->Timeline.Add(FLessonTimeline::ECount::Shown, MediaSeconds(),
				                         int32(Placement.Node->GetData().Mode));
			    }
		    }
	    });
	Manager->OnDanmakuNotShown.AddLambda(
	    [this, NoteLanes, Manager](const FDanmakuData& Data, EDanmakuNotShownReason Reason)
	    {
		    NoteLanes();
		    Trace.WriteNotShown(Data, Reason, Manager->GetNodeNotShown());
		    if (FLessonDocuments::FLesson* Lesson = Documents.Current())
		    {
			    Lesson->Counts.CountNotShown(Data, Reason);
			    Lesson->Timeline.Add(FLessonTimeline::ECount::Dropped, MediaSeconds(), int32(Data.Mode));
		    }
	    });
}

void FLessonRecorder::OnEvent(const FString& Event, const FString& Fields)
{
	const bool bOpen = Event == TEXT("open");
	if (Event == TEXT("fullscreen_on") || Event == TEXT("fullscreen_off"))
	{
		bFullscreen = Event == TEXT("fullscreen_on");
	}
	FString All = Fields;
	if (bOpen)
	{
		LastUrl = Media->GetUrl();
	}
	// After the end the media player is closed; the event still names the lesson that ended.
	if (!Fields.Contains(TEXT("\"url\"")) && Media)
	{
		All += FString::Printf(TEXT(",\"url\":%s"),
		                       *FCommentTrace::Quote(Media->GetUrl().IsEmpty() ? LastUrl : Media->GetUrl()));
	}
	if (bOpen)
	{
		All +=
		    FString::Printf(TEXT(",\"duration\":%s"), *FCommentTrace::Number(Media->GetDuration().GetTotalSeconds()));
	}
	Trace.WriteEvent(Event, All);
	if (bOpen)
	{
		Documents.OnLessonOpened(Media->GetUrl(), Media->GetDuration().GetTotalSeconds(), Trace, Problems);
	}
	else if (Event == TEXT("open_failed"))
	{
		Problems.Add(FString::Printf(TEXT("a lesson did not open: %s"), *Fields));
	}
}

void FLessonRecorder::RecordStep(const FViewerStep& Step)
{
	Trace.WriteEvent(TEXT("action"), FString::Printf(TEXT(",\"line\":%d,\"action\":%s"), Step.Line,
	                                                 *FCommentTrace::Quote(Step.Source)));
	if (IsViewerInput(Step.Action))
	{
		if (FLessonDocuments::FLesson* Lesson = Documents.Current())
		{
			Lesson->Timeline.AddMark(MediaSeconds(), ShortLabel(Step));
		}
	}
}

void FLessonRecorder::PollPlayerState()
{
	const float Volume = Player->GetVolumeMultiplier();
	if (Volume != LastVolume)
	{
		LastVolume = Volume;
		OnEvent(TEXT("volume"), FString::Printf(TEXT(",\"level\":%.3f"), double(Volume)));
	}
	// A rate of 0 is a pause, reported as such.
	const float Rate = Media->GetRate();
	if (Rate != 0.0f && Rate != LastRate)
	{
		LastRate = Rate;
		OnEvent(TEXT("speed"), FString::Printf(TEXT(",\"rate\":%.3f"), double(Rate)));
	}
}
