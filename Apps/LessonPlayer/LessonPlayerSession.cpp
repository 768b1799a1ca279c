#include "LessonPlayerSession.h"

#include <cmath>

#include "Blueprint/UserWidget.h"
#include "Components/Button.h"
#include "Components/ComboBoxString.h"
#include "Components/TextBlock.h"
#include "DanmakuTrackManager.h"
#include "Dom/JsonObject.h"
#include "FileChecks.h"
#include "Engine/World.h"
#include "HAL/FileManager.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/HeadlessViewport.h"
#include "Headless/MediaSourceRegistry.h"
#include "LessonPlayerEvents.h"
#include "TraceLog.h"
#include "MediaPlayer.h"
#include "MediaPlaylist.h"
#include "MediaSource.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "UI_Danmaku.h"
#include "UI_DanmakuBar.h"
#include "UI_DanmakuNode.h"
#include "UI_PravellaSystem.h"

#include <cmath>

namespace
{
// The playlist holds local files as absolute paths; the media player reports them as file URLs.
bool SameSource(const FString& A, const FString& B)
{
	return FMediaSourceRegistry::NormalizeUrl(A).Equals(FMediaSourceRegistry::NormalizeUrl(B), ESearchCase::IgnoreCase);
}

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

const TCHAR* const EmptyDocument = TEXT("{\"datas\":[]}");

// Beyond this a lesson's stated length is taken for a broken header: its timeline and counts stop there.
constexpr double MaxLessonSeconds = 7.0 * 24.0 * 3600.0;
} // namespace

FLessonPlayerSession::FLessonPlayerSession(const FLessonPlayerOptions& InOptions) : Options(InOptions) {}

FLessonPlayerSession::~FLessonPlayerSession() = default;

void FLessonPlayerSession::AddReferencedObjects(FReferenceCollector& Collector)
{
	Collector.AddReferencedObject(Page);
	Collector.AddReferencedObject(Player);
	Collector.AddReferencedObject(Media);
	Collector.AddReferencedObject(Events);
}

double FLessonPlayerSession::MediaSeconds() const
{
	return Media ? Media->GetTime().GetTotalSeconds() : 0.0;
}

FString FLessonPlayerSession::TimeLabel() const
{
	const UTextBlock* Label = Player ? Cast<UTextBlock>(Player->GetWidgetFromName(TEXT("PlayTimeText"))) : nullptr;
	return Label ? Label->GetText().ToString() : FString();
}

FLessonPlayerSession::FLesson* FLessonPlayerSession::FindLesson(const FString& Url)
{
	for (const TSharedPtr<FLesson>& Lesson : Lessons)
	{
		if (SameSource(Lesson->Url, Url))
		{
			return Lesson.Get();
		}
	}
	return nullptr;
}

FLessonPlayerSession::FLesson* FLessonPlayerSession::CurrentLesson()
{
	return Media && !Media->GetUrl().IsEmpty() ? FindLesson(Media->GetUrl()) : nullptr;
}

FLessonPlayerSession::FLesson& FLessonPlayerSession::AddLesson(const FString& Url)
{
	if (FLesson* Existing = FindLesson(Url))
	{
		return *Existing;
	}
	Lessons.Add(MakeShared<FLesson>());
	Lessons.Last()->Url = Url;
	return *Lessons.Last();
}

bool FLessonPlayerSession::ReadDocuments(FString& OutError)
{
	// Every document is checked before the session starts, so a broken one stops the run at once.
	for (int32 Index = 0; Index < Script.Steps.Num(); ++Index)
	{
		const FViewerStep& Step = Script.Steps[Index];
		if (Step.File.IsEmpty() || (Step.Action != EViewerAction::Lesson && Step.Action != EViewerAction::Comments))
		{
			continue;
		}
		TSharedPtr<FCommentDocument> Document = MakeShared<FCommentDocument>();
		FString Error;
		if (!Document->Read(Step.File, Error))
		{
			OutError = FString::Printf(TEXT("%s: %s"), *Script.Where(Step), *Error);
			return false;
		}
		if (Document->ClampedIds > 0)
		{
			FAppConsole::Warning(FString::Printf(TEXT("%s: %d comment ids of %s lie beyond 32 bits and were clamped "
			                                          "(the first is %s)"),
			                                     *Script.Where(Step), Document->ClampedIds, *Step.File,
			                                     *Document->FirstClampedId));
		}
		if (Document->UnreadTimes > 0)
		{
			FAppConsole::Warning(FString::Printf(TEXT("%s: %d comment times of %s are text that reads as no number "
			                                          "and are filed at 0 s (the first is '%s')"),
			                                     *Script.Where(Step), Document->UnreadTimes, *Step.File,
			                                     *Document->FirstUnreadTime));
		}
		StepDocuments.Add(Index, MoveTemp(Document));
	}
	return true;
}

bool FLessonPlayerSession::BuildPlayer(FString& OutError)
{
	// The player sits embedded in a course page, as in a game, so that it has somewhere to leave for fullscreen.
	UClass* PageClass = StaticLoadClass(UUserWidget::StaticClass(), nullptr, TEXT("/Game/UI/WBP_LessonPage"));
	Page = PageClass ? CreateWidget<UUserWidget>(App->GetWorld(), PageClass) : nullptr;
	Player = Page ? Cast<UUI_PravellaSystem>(Page->GetWidgetFromName(TEXT("Player"))) : nullptr;
	Media = LoadObject<UMediaPlayer>(nullptr, TEXT("/Game/Media/MP_LessonPlayer"));
	if (!Player || !Media)
	{
		OutError = TEXT("the lesson page /Game/UI/WBP_LessonPage with its player WBP_LessonPlayer, or the media "
		                "player, did not load");
		return false;
	}
	Page->AddToViewport(0);
	Overlay = Cast<UUI_Danmaku>(Player->GetWidgetFromName(TEXT("Danmaku")));
	if (!Overlay)
	{
		OutError = TEXT("the lesson player has no danmaku overlay named Danmaku");
		return false;
	}
	if (UDanmakuTrackManager* Manager = Overlay->GetTrackManager())
	{
		BindReports(Manager);
	}
	Overlay->OnTrackManagerCreated.AddLambda([this](UDanmakuTrackManager* Manager) { BindReports(Manager); });
	BindPlayerEvents();
	return Options.Controls.ApplyTo(*Overlay, OutError);
}

void FLessonPlayerSession::BindPlayerEvents()
{
	Events = NewObject<ULessonPlayerEvents>();
	Events->Sink = [this](const FString& Event, const FString& Fields) { OnEvent(Event, Fields); };
	Events->OnSendSeen = [this](const FString&)
	{
		if (FLesson* Lesson = CurrentLesson())
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
	Player->OnPravellaTypeChanged.AddUniqueDynamic(Events, &ULessonPlayerEvents::OnTypeChanged);
	if (UUI_DanmakuBar* Bar = Cast<UUI_DanmakuBar>(Player->GetWidgetFromName(TEXT("DanmakuBar"))))
	{
		Bar->GetOpenDanmakuButtonClickedEvent().AddUniqueDynamic(Events, &ULessonPlayerEvents::OnOverlaySwitched);
	}
	// In a playlist of two both neighbours are the same lesson, so the direction comes from the button pressed.
	Events->OnMovePressed = [this](bool bNext) { PressedDirection = bNext ? 1 : 0; };
	if (UButton* NextButton = Cast<UButton>(Player->GetWidgetFromName(TEXT("NestButton"))))
	{
		NextButton->OnPressed.AddUniqueDynamic(Events, &ULessonPlayerEvents::OnNextPressed);
	}
	if (UButton* PreviousButton = Cast<UButton>(Player->GetWidgetFromName(TEXT("PreviousButton"))))
	{
		PreviousButton->OnPressed.AddUniqueDynamic(Events, &ULessonPlayerEvents::OnPreviousPressed);
	}
	// The host's part in next and previous: the new lesson's comments.
	Player->OnPlaylistUrlChanged.BindLambda(
	    [this](const FString& Url)
	    {
		    UMediaPlaylist* Playlist = Player->GetPlaylist();
		    const int32 From = Player->GetPlaylistIndex();
		    const int32 Count = Playlist ? Playlist->Num() : 0;
		    bool bNext = Count > 0 && SameSource(Playlist->Get((From + 1) % Count)->GetUrl(), Url);
		    if (PressedDirection >= 0)
		    {
			    bNext = PressedDirection == 1;
			    PressedDirection = -1;
		    }
		    OnEvent(bNext ? TEXT("next") : TEXT("previous"),
		            FString::Printf(TEXT(",\"to\":%s"), *FCommentTrace::Quote(Url)));
		    if (FLesson* Lesson = FindLesson(Url))
		    {
			    LoadComments(*Lesson);
		    }
		    else
		    {
			    ClearComments();
		    }
	    });
}

void FLessonPlayerSession::OnEvent(const FString& Event, const FString& Fields)
{
	FString All = Fields;
	if (Event == TEXT("open"))
	{
		LastUrl = Media->GetUrl();
	}
	// After the end the media player is closed; the event still names the lesson that ended.
	if (!Fields.Contains(TEXT("\"url\"")) && Media)
	{
		All += FString::Printf(TEXT(",\"url\":%s"),
		                       *FCommentTrace::Quote(Media->GetUrl().IsEmpty() ? LastUrl : Media->GetUrl()));
	}
	if (Event == TEXT("open"))
	{
		All +=
		    FString::Printf(TEXT(",\"duration\":%s"), *FCommentTrace::Number(Media->GetDuration().GetTotalSeconds()));
	}
	Trace.WriteEvent(Event, All);
	if (Event == TEXT("open"))
	{
		OnLessonOpened(Media->GetUrl());
	}
	else if (Event == TEXT("open_failed"))
	{
		Problems.Add(FString::Printf(TEXT("a lesson did not open: %s"), *Fields));
	}
}

void FLessonPlayerSession::LoadComments(FLesson& Lesson)
{
	if (InOverlay == &Lesson)
	{
		return;
	}
	if (Lesson.CommentsFile.IsEmpty())
	{
		ClearComments();
		return;
	}
	TakeBackComments();
	Lesson.Document.HandTo(*Overlay);
	InOverlay = &Lesson;
}

void FLessonPlayerSession::TakeBackComments()
{
	// The comments filed into the overlay while its lesson played (sent, or pushed live) go back with them.
	if (InOverlay)
	{
		InOverlay->Document.TakeBackFrom(*Overlay);
		InOverlay = nullptr;
	}
}

void FLessonPlayerSession::ClearComments()
{
	TakeBackComments();
	Player->ResetBulletChatDatas(EmptyDocument);
}

void FLessonPlayerSession::OnLessonOpened(const FString& Url)
{
	FLesson* Lesson = FindLesson(Url);
	if (!Lesson || Lesson->bOpened)
	{
		return;
	}
	Lesson->bOpened = true;
	double Duration = Media->GetDuration().GetTotalSeconds();
	if (!(Duration <= MaxLessonSeconds))
	{
		const FString Problem = FString::Printf(TEXT("%s states a length of %g s, more than a week: its timeline and "
		                                             "counts cover the first week only"),
		                                        *Lesson->Url, Duration);
		FAppConsole::Warning(Problem);
		Problems.Add(Problem);
		Duration = MaxLessonSeconds;
	}
	Lesson->Timeline.SetDuration(Duration);
	Lesson->Document.SetDuration(Duration);
	for (const FCommentDocument::FUnshowable& Comment : Lesson->Document.Unshowable)
	{
		Trace.WriteNeverShown(Lesson->Url, Comment);
	}
	// What the document has due each second, as the overlay filed it: the filed seconds are walked, not the
	// lesson's, so a long lesson with few comments costs little.
	TArray<FTimespan> Filed;
	Overlay->GetIndexedSeconds(Filed);
	for (const FTimespan& Key : Filed)
	{
		const double KeySeconds = FMath::FloorToDouble(Key.GetTotalSeconds());
		const TArray<FDanmakuData>* Bucket = Overlay->FindDanmakuAt(Key);
		if (!Bucket || KeySeconds < 0.0 || KeySeconds > FMath::FloorToDouble(Duration))
		{
			continue;
		}
		const int32 Second = int32(KeySeconds);
		for (const FDanmakuData& Data : *Bucket)
		{
			Lesson->Timeline.Add(FLessonTimeline::ECount::Due, Second, int32(Data.Mode));
		}
		// The earliest of equally busy seconds.
		if (Bucket->Num() > Lesson->BusiestCount ||
		    (Bucket->Num() == Lesson->BusiestCount && Second < Lesson->BusiestSecond))
		{
			Lesson->BusiestCount = Bucket->Num();
			Lesson->BusiestSecond = Second;
		}
	}
}

void FLessonPlayerSession::BindReports(UDanmakuTrackManager* Manager)
{
	const auto NoteLanes = [this, Manager]
	{
		const UWidget* Canvas = Overlay->GetWidgetFromName(TEXT("DanmakuCanvasPanel"));
		Trace.NoteLanes(Canvas ? Canvas->GetCachedGeometry().GetLocalSize() : FVector2D::ZeroVector,
		                UDanmakuTrackManager::TrackHeight, Manager->GetTrackNum());
	};
	Manager->OnDanmakuPlaced.AddLambda(
	    [this, NoteLanes](const FDanmakuPlacement& Placement)
	    {
		    NoteLanes();
		    Trace.WritePlacement(Placement);
		    if (FLesson* Lesson = CurrentLesson())
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
		    FLesson* Lesson = CurrentLesson();
		    if (!Lesson)
		    {
			    return;
		    }
		    Lesson->Counts.CountNotShown(Data, Reason);
		    Lesson->Timeline.Add(FLessonTimeline::ECount::Dropped, MediaSeconds(), int32(Data.Mode));
	    });
}

bool FLessonPlayerSession::ResolveTarget(const FViewerStep& Step, FVector2D& OutPosition, UWidget*& OutWidget,
                                         FString& OutError) const
{
	OutWidget = nullptr;
	if (Step.Target.bIsPosition)
	{
		OutPosition = Step.Target.Position;
		return true;
	}
	TArray<FString> Names;
	Step.Target.WidgetPath.ParseIntoArray(Names, TEXT("/"), true);
	const UUserWidget* Owner = Player;
	for (int32 Index = 0; Index < Names.Num(); ++Index)
	{
		OutWidget = Owner ? Owner->GetWidgetFromName(FName(Names[Index])) : nullptr;
		if (!OutWidget)
		{
			OutError = FString::Printf(
			    TEXT("%s: the player has no widget %s%s"), *Script.Where(Step), *Step.Target.WidgetPath,
			    Index > 0 ? TEXT(" (a name after '/' is looked up inside the widget before it)") : TEXT(""));
			return false;
		}
		Owner = Cast<UUserWidget>(OutWidget);
	}
	const FGeometry& Geometry = OutWidget->GetCachedGeometry();
	OutPosition = Geometry.GetAbsolutePosition() + Geometry.GetAbsoluteSize() * 0.5;
	return true;
}

bool FLessonPlayerSession::Perform(const FViewerStep& Step, FString& OutError)
{
	FVector2D Position = FVector2D::ZeroVector;
	UWidget* Widget = nullptr;
	const bool bViewer = Step.Action >= EViewerAction::Move && Step.Action <= EViewerAction::Backspace;
	Trace.WriteEvent(TEXT("action"), FString::Printf(TEXT(",\"line\":%d,\"action\":%s"), Step.Line,
	                                                 *FCommentTrace::Quote(Step.Source)));
	if (bViewer)
	{
		if (FLesson* Lesson = CurrentLesson())
		{
			Lesson->Timeline.AddMark(MediaSeconds(), ShortLabel(Step));
		}
	}
	switch (Step.Action)
	{
		case EViewerAction::Describe:
			if (!FMediaSourceRegistry::LoadFromFile(Step.File))
			{
				OutError = FString::Printf(TEXT("%s: %s is no media description (sections [URL] with key=value lines)"),
				                           *Script.Where(Step), *Step.File);
				return false;
			}
			return true;
		case EViewerAction::Lesson:
		{
			FLesson& Lesson = AddLesson(Step.Text);
			if (TSharedPtr<FCommentDocument>* Document = StepDocuments.Find(Script.Steps.IndexOfByPredicate(
			        [&Step](const FViewerStep& Other) { return Other.Line == Step.Line; })))
			{
				Lesson.CommentsFile = Step.File;
				Lesson.Document = MoveTemp(**Document);
				if (InOverlay == &Lesson)
				{
					InOverlay = nullptr;
				}
			}
			Player->AddToPlaylist(Step.Text);
			return true;
		}
		case EViewerAction::Open:
		{
			FLesson& Lesson = AddLesson(Step.Text);
			LoadComments(Lesson);
			UMediaPlaylist* Playlist = Player->GetPlaylist();
			bool bListed = false;
			for (int32 Index = 0; Playlist && Index < Playlist->Num(); ++Index)
			{
				bListed |= SameSource(Playlist->Get(Index)->GetUrl(), Step.Text);
			}
			if (bListed)
			{
				Player->OpenPlaylistUrl(Step.Text);
			}
			else if (Step.Text.Contains(TEXT("://")))
			{
				Player->PlayMediaByNet(Step.Text);
			}
			else
			{
				Player->PlayMediaByLocal(Step.Text);
			}
			return true;
		}
		case EViewerAction::Comments:
		{
			FLesson* Lesson = CurrentLesson();
			const int32 Index =
			    Script.Steps.IndexOfByPredicate([&Step](const FViewerStep& Other) { return Other.Line == Step.Line; });
			TSharedPtr<FCommentDocument>* Document = StepDocuments.Find(Index);
			if (!Lesson || !Document)
			{
				OutError = FString::Printf(TEXT("%s: no lesson is open to take the comments"), *Script.Where(Step));
				return false;
			}
			Lesson->CommentsFile = Step.File;
			Lesson->Document = MoveTemp(**Document);
			// The overlay's index of the lesson's old document goes as the new one replaces it.
			if (InOverlay == Lesson)
			{
				InOverlay = nullptr;
			}
			LoadComments(*Lesson);
			// Counted again for the new document.
			Lesson->bOpened = false;
			Lesson->Timeline = FLessonTimeline();
			Lesson->BusiestCount = 0;
			OnLessonOpened(Lesson->Url);
			return true;
		}
		case EViewerAction::Live:
			if (Media->GetUrl().IsEmpty())
			{
				// The player drops a pushed comment when no lesson is open; the session says so.
				const FString Problem = FString::Printf(TEXT("%s: no lesson is open, so the live comment was dropped"),
				                                        *Script.Where(Step));
				FAppConsole::Warning(Problem);
				Problems.Add(Problem);
				return true;
			}
			Player->AddBulletChatDataThenSpawn(Step.Text, Media->GetUrl());
			return true;
		case EViewerAction::Move:
			if (!ResolveTarget(Step, Position, Widget, OutError))
			{
				return false;
			}
			App->MoveMouse(Position);
			return true;
		case EViewerAction::Click:
			if (!ResolveTarget(Step, Position, Widget, OutError))
			{
				return false;
			}
			App->Click(Position);
			return true;
		case EViewerAction::Press:
			if (!ResolveTarget(Step, Position, Widget, OutError))
			{
				return false;
			}
			App->MoveMouse(Position);
			App->PressMouse();
			return true;
		case EViewerAction::Release:
			App->ReleaseMouse();
			return true;
		case EViewerAction::Drag:
		{
			if (!ResolveTarget(Step, Position, Widget, OutError))
			{
				return false;
			}
			FVector2D Start = Position;
			FVector2D Finish = Position;
			if (Widget)
			{
				const FGeometry& Geometry = Widget->GetCachedGeometry();
				Start = Geometry.GetAbsolutePosition() + Geometry.GetAbsoluteSize() * FVector2D(Step.From, 0.5);
				Finish = Geometry.GetAbsolutePosition() + Geometry.GetAbsoluteSize() * FVector2D(Step.To, 0.5);
			}
			App->MoveMouse(Start);
			Pending.Add(
			    [this](FString&)
			    {
				    App->PressMouse();
				    return true;
			    });
			Pending.Add(
			    [this, Finish](FString&)
			    {
				    App->MoveMouse(Finish);
				    return true;
			    });
			Pending.Add(
			    [this](FString&)
			    {
				    App->ReleaseMouse();
				    return true;
			    });
			return true;
		}
		case EViewerAction::Select:
		{
			if (!ResolveTarget(Step, Position, Widget, OutError))
			{
				return false;
			}
			UComboBoxString* Combo = Cast<UComboBoxString>(Widget);
			const int32 Option = Combo ? Combo->FindOptionIndex(Step.Text) : INDEX_NONE;
			if (Option == INDEX_NONE)
			{
				TArray<FString> Known;
				for (int32 Index = 0; Combo && Index < Combo->GetOptionCount(); ++Index)
				{
					Known.Add(Combo->GetOptionAtIndex(Index));
				}
				OutError = Combo
				               ? FString::Printf(TEXT("%s: %s has no option '%s' (it has: %s)"), *Script.Where(Step),
				                                 *Step.Target.Describe(), *Step.Text, *FString::Join(Known, TEXT(", ")))
				               : FString::Printf(TEXT("%s: %s is not a drop-down list"), *Script.Where(Step),
				                                 *Step.Target.Describe());
				return false;
			}
			App->Click(Position);
			Pending.Add(
			    [this, Combo, Option](FString&)
			    {
				    const FGeometry Row = Combo->GetOptionGeometry(Option);
				    App->Click(Row.GetAbsolutePosition() + Row.GetAbsoluteSize() * 0.5);
				    return true;
			    });
			return true;
		}
		case EViewerAction::Type:
			App->TypeText(Step.Text);
			return true;
		case EViewerAction::Enter:
			App->PressEnter();
			return true;
		case EViewerAction::Backspace:
			for (int32 Index = 0; Index < Step.Count; ++Index)
			{
				App->PressBackspace();
			}
			return true;
		case EViewerAction::Snapshot:
			return WriteSnapshot(Step.Text, OutError);
		case EViewerAction::End:
			return true;
	}
	return true;
}

void FLessonPlayerSession::PollPlayerState()
{
	// The player raises no event of its own for these; they are read once a frame.
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

bool FLessonPlayerSession::WriteSnapshot(const FString& Name, FString& OutError)
{
	const double Clock = App->GetCurrentTime();
	const FString File = Name.IsEmpty() ? FString::Printf(TEXT("snapshot_%07.2fs.png"), Clock)
	                                    : (Name.EndsWith(TEXT(".png")) ? Name : Name + TEXT(".png"));
	const FString Path = FPaths::Combine(Options.OutputDir, File);
	if (!ClaimOutput(Path, TEXT("snapshot"), OutError))
	{
		return false;
	}
	if (!FHeadlessViewport::Get().PaintToPng(Path))
	{
		OutError = FString::Printf(TEXT("cannot write %s"), *Path);
		return false;
	}
	Snapshots.Add(Path);
	Trace.WriteEvent(
	    TEXT("snapshot"),
	    FString::Printf(TEXT(",\"path\":%s,\"url\":%s,\"time_label\":%s,\"fullscreen\":%s"),
	                    *FCommentTrace::Quote(Path), *FCommentTrace::Quote(Media->GetUrl()),
	                    *FCommentTrace::Quote(TimeLabel()),
	                    Player->GetPravellaType() == EPravellaType::FullScreen ? TEXT("true") : TEXT("false")));
	return true;
}

void FLessonPlayerSession::SettleDocuments()
{
	for (const TSharedPtr<FLesson>& Lesson : Lessons)
	{
		if (Lesson->CommentsFile.IsEmpty())
		{
			continue;
		}
		for (const FCommentDocument::FUnshowable& Comment : Lesson->Document.SettleAfterRun(Lesson->Counts.DueSeconds))
		{
			Trace.WriteNeverShown(Lesson->Url, Comment);
		}
		if (Lesson->Document.NotReached > 0)
		{
			Trace.WriteEvent(TEXT("not_reached"),
			                 FString::Printf(TEXT(",\"lesson\":%s,\"comments\":%d"), *FCommentTrace::Quote(Lesson->Url),
			                                 Lesson->Document.NotReached));
		}
	}
}

bool FLessonPlayerSession::ClaimOutput(const FString& File, const TCHAR* What, FString& OutError)
{
	if (!FFileChecks::CheckOutput(File, What, OutError))
	{
		return false;
	}
	for (const TArray<TPair<FString, FString>>* Taken : {&Inputs, &Outputs})
	{
		for (const TPair<FString, FString>& Other : *Taken)
		{
			if (FFileChecks::SameFile(File, Other.Key))
			{
				OutError = FString::Printf(TEXT("the %s %s would overwrite the %s %s; name another"), What, *File,
				                           *Other.Value, *Other.Key);
				return false;
			}
		}
	}
	Outputs.Add(TPair<FString, FString>(File, What));
	return true;
}

bool FLessonPlayerSession::CheckRun(FString& OutError)
{
	Inputs.Add(TPair<FString, FString>(Script.Path, TEXT("viewer session")));
	// A timeline per lesson, in the order lessons are first named.
	TArray<FString> LessonUrls;
	for (const FViewerStep& Step : Script.Steps)
	{
		if (!Step.File.IsEmpty())
		{
			Inputs.Add(TPair<FString, FString>(Step.File, TEXT("input")));
		}
		if ((Step.Action == EViewerAction::Lesson || Step.Action == EViewerAction::Open))
		{
			if (!LessonUrls.ContainsByPredicate([&Step](const FString& Url) { return SameSource(Url, Step.Text); }))
			{
				LessonUrls.Add(Step.Text);
			}
			if (!Step.Text.Contains(TEXT("://")))
			{
				Inputs.Add(TPair<FString, FString>(Step.Text, TEXT("media file")));
			}
		}
		if (Step.Action == EViewerAction::Live)
		{
			TSharedPtr<FJsonObject> Object;
			if (!FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Step.Text), Object) || !Object.IsValid())
			{
				OutError = FString::Printf(TEXT("%s: the live comment is no JSON object: '%s'"), *Script.Where(Step),
				                           *FFileChecks::Excerpt(Step.Text));
				return false;
			}
		}
	}
	if (!Options.AudioFile.IsEmpty() && !ClaimOutput(Options.AudioFile, TEXT("sound"), OutError))
	{
		return false;
	}
	if (!ClaimOutput(Options.TraceFile, TEXT("trace"), OutError) ||
	    !ClaimOutput(FPaths::Combine(Options.OutputDir, TEXT("summary.txt")), TEXT("summary"), OutError))
	{
		return false;
	}
	for (int32 Index = 1; Index <= LessonUrls.Num(); ++Index)
	{
		if (!ClaimOutput(FPaths::Combine(Options.OutputDir, FString::Printf(TEXT("timeline_%d.png"), Index)),
		                 TEXT("timeline"), OutError))
		{
			return false;
		}
	}
	return true;
}

bool FLessonPlayerSession::WriteSummary(FString& OutError)
{
	TArray<FString> Lines;
	Lines.Add(FString::Printf(TEXT("session: %s, %s of clock in %llu frames, %d actions"), *Script.Path,
	                          *FAppConsole::FormatClock(App->GetCurrentTime()),
	                          static_cast<unsigned long long>(App->GetFrameNumber()), Steps));
	Lines.Add(FCommentCounts::DisplayLine(*Overlay));
	for (int32 Index = 0; Index < Lessons.Num(); ++Index)
	{
		const FLesson& Lesson = *Lessons[Index];
		const FCommentDocument& Document = Lesson.Document;
		Lines.Add(FString::Printf(TEXT("lesson %d: %s (%s long%s)"), Index + 1, *Lesson.Url,
		                          *FAppConsole::FormatClock(Lesson.Timeline.GetDuration()),
		                          Lesson.bOpened ? TEXT("") : TEXT(", never opened")));
		if (Lesson.CommentsFile.IsEmpty())
		{
			Lines.Add(TEXT("  no comment document"));
			continue;
		}
		Lines.Add(FString::Printf(TEXT("  comments: %d in %s; most in one second: %d (second %d)"), Document.Comments,
		                          *Lesson.CommentsFile, Lesson.BusiestCount, Lesson.BusiestSecond));
		Lesson.Counts.AddSummaryLines(Document, *Overlay, TEXT("  "), Lines);
		const FString Timeline =
		    FPaths::Combine(Options.OutputDir, FString::Printf(TEXT("timeline_%d.png"), Index + 1));
		if (!Lesson.Timeline.WritePng(Timeline, FString::Printf(TEXT("Lesson %d: %s"), Index + 1, *Lesson.Url)))
		{
			OutError = FString::Printf(TEXT("cannot write the timeline %s"), *Timeline);
			return false;
		}
		Lines.Add(FString::Printf(TEXT("  timeline: %s"), *Timeline));
	}
	for (const FString& Snapshot : Snapshots)
	{
		Lines.Add(FString::Printf(TEXT("snapshot: %s"), *Snapshot));
	}
	Lines.Append(MissedSnapshots);
	for (const FString& Problem : Problems)
	{
		Lines.Add(FString::Printf(TEXT("problem: %s"), *Problem));
	}
	Lines.Add(FString::Printf(TEXT("trace: %s"), *Options.TraceFile));
	const FString Summary = FString::Join(Lines, TEXT("\n")) + TEXT("\n");
	FAppConsole::Line(Summary.TrimEnd());
	const FString SummaryFile = FPaths::Combine(Options.OutputDir, TEXT("summary.txt"));
	if (!FFileHelper::SaveStringToFile(Summary, *SummaryFile))
	{
		OutError = FString::Printf(TEXT("cannot write the summary %s"), *SummaryFile);
		return false;
	}
	return true;
}

int32 FLessonPlayerSession::Run()
{
	FString Error;
	const FString ScriptPath = Options.ScriptFile.IsEmpty()
	                               ? FPaths::Combine(FPaths::ProjectContentDir(), TEXT("Samples/LessonSession.script"))
	                               : Options.ScriptFile;
	Script.FilesFrom = Options.FilesFrom;
	if (!Script.Load(ScriptPath, Error) || !ReadDocuments(Error))
	{
		FAppConsole::Error(Error);
		return 1;
	}
	if (!IFileManager::Get().MakeDirectory(*Options.OutputDir, true) &&
	    !IFileManager::Get().DirectoryExists(*Options.OutputDir))
	{
		FAppConsole::Error(FString::Printf(TEXT("cannot create the output folder %s"), *Options.OutputDir));
		return 1;
	}
	if (Options.TraceFile.IsEmpty())
	{
		Options.TraceFile = FPaths::Combine(Options.OutputDir, TEXT("trace.jsonl"));
	}
	if (!CheckRun(Error))
	{
		FAppConsole::Error(Error);
		return 1;
	}
	if (!Trace.Open(Options.TraceFile))
	{
		FAppConsole::Error(FString::Printf(TEXT("cannot write the trace %s"), *Options.TraceFile));
		return 1;
	}
	const FTraceLog Log(Trace);

	FMath::RandInit(Options.Seed);
	FHeadlessApplication Application(FVector2D(1920.0, 1080.0));
	App = &Application;
	Application.SetGarbageCollectionInterval(5.0);
	Trace.SetMediaClock([this] { return MediaSeconds(); });
	if (!BuildPlayer(Error))
	{
		FAppConsole::Error(Error);
		return 1;
	}
	// Each second of the session that had a lesson's sound (decoded lessons only) gets its level in the trace.
	const auto WriteLevel = [this](const FSoundRecorder::FSecondLevel& Level)
	{
		const double Decibels = Level.RootMeanSquare > 0.0 ? 20.0 * std::log10(Level.RootMeanSquare) : -INFINITY;
		Trace.WriteEvent(TEXT("sound"),
		                 FString::Printf(TEXT(",\"second\":%lld,\"rms\":%s,\"peak\":%s,\"level_db\":%s"),
		                                 static_cast<long long>(Level.Second),
		                                 *FCommentTrace::Number(Level.RootMeanSquare),
		                                 *FCommentTrace::Number(Level.Peak), *FCommentTrace::Number(Decibels)));
	};
	if (!Sound.Start(Options.AudioFile, WriteLevel))
	{
		FAppConsole::Error(FString::Printf(TEXT("cannot write the sound file %s"), *Options.AudioFile));
		return 1;
	}

	// The session ends at its "end" line, or a second after its last line, or when --seconds runs out.
	const FViewerStep& Last = Script.Steps.Last();
	EndClock = Last.Action == EViewerAction::End ? Last.Seconds : Last.Seconds + 1.0;
	if (Options.RunSeconds > 0.0)
	{
		EndClock = FMath::Min(EndClock, Options.RunSeconds);
	}
	int32 NextStep = 0;
	int32 NextSnapshot = 0;
	int32 ExitCode = 0;
	while (ExitCode == 0)
	{
		const double Clock = Application.GetCurrentTime();
		if (!Pending.IsEmpty())
		{
			std::function<bool(FString&)> Work = MoveTemp(Pending[0]);
			Pending.RemoveAt(0);
			Work(Error);
		}
		else
		{
			while (NextStep < Script.Steps.Num() && Script.Steps[NextStep].Seconds <= Clock + 1e-9 &&
			       Script.Steps[NextStep].Seconds <= EndClock)
			{
				const FViewerStep& Step = Script.Steps[NextStep++];
				++Steps;
				if (!Perform(Step, Error))
				{
					FAppConsole::Error(Error);
					ExitCode = 1;
					break;
				}
				// Work that spans frames waits for its frames before the next line runs.
				if (!Pending.IsEmpty())
				{
					break;
				}
			}
		}
		while (ExitCode == 0 && NextSnapshot < Options.SnapshotTimes.Num() &&
		       Options.SnapshotTimes[NextSnapshot] <= Clock + 1e-9)
		{
			++NextSnapshot;
			if (!WriteSnapshot(FString(), Error))
			{
				FAppConsole::Error(Error);
				ExitCode = 1;
			}
		}
		if (ExitCode != 0 || Clock >= EndClock - 1e-9)
		{
			break;
		}
		Application.Tick(float(Options.FrameSeconds));
		PollPlayerState();
		const FLesson* Lesson = CurrentLesson();
		Progress.Update(Application.GetCurrentTime(), EndClock,
		                FString::Printf(TEXT("session %s of %s, lesson %d at %s"),
		                                *FAppConsole::FormatClock(Application.GetCurrentTime()),
		                                *FAppConsole::FormatClock(EndClock),
		                                Lesson ? Lessons.IndexOfByPredicate([Lesson](const TSharedPtr<FLesson>& Each)
		                                                                    { return Each.Get() == Lesson; }) +
		                                             1
		                                       : 0,
		                                *FAppConsole::FormatClock(MediaSeconds())));
	}
	for (; NextSnapshot < Options.SnapshotTimes.Num(); ++NextSnapshot)
	{
		const FString Missed = FString::Printf(TEXT("snapshot at %.2f s not written: the session ended at %.2f s"),
		                                       Options.SnapshotTimes[NextSnapshot], Application.GetCurrentTime());
		FAppConsole::Warning(Missed);
		MissedSnapshots.Add(Missed);
	}
	if (ExitCode == 0)
	{
		SettleDocuments();
		if (!WriteSummary(Error))
		{
			FAppConsole::Error(Error);
			ExitCode = 1;
		}
	}
	if (!Sound.Finish() && ExitCode == 0)
	{
		FAppConsole::Error(
		    FString::Printf(TEXT("the sound file %s was not written in full (is the disk full?)"), *Options.AudioFile));
		ExitCode = 1;
	}
	Trace.ForgetPlacedNodes();
	Player->RemoveFromParent();
	Page->RemoveFromParent();
	Player = nullptr;
	Page = nullptr;
	Media->Close();
	Media = nullptr;
	if (!Trace.Close() && ExitCode == 0)
	{
		FAppConsole::Error(
		    FString::Printf(TEXT("the trace %s was not written in full (is the disk full?)"), *Options.TraceFile));
		ExitCode = 1;
	}
	return ExitCode;
}
