#include "PreviewRun.h"

#include "Blueprint/UserWidget.h"
#include "Blueprint/WidgetTree.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/TextBlock.h"
#include "Engine/World.h"
#include "DanmakuTrackManager.h"
#include "FileChecks.h"
#include "HAL/FileManager.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/HeadlessViewport.h"
#include "Headless/MediaSourceRegistry.h"
#include "MediaPlayer.h"
#include "Materials/Material.h"
#include "Components/Image.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "UI_Danmaku.h"
#include "UI_DanmakuBar.h"
#include "UI_DanmakuNode.h"
#include "UI_DanmakuNodeSetting.h"
#include "ViewerDriver.h"

#include <cstdio>

namespace
{
const TCHAR* const SampleLessonUrl = TEXT("https://lessons.pravella.invalid/samples/lesson-01.mp4");
// Space kept under the overlay for the input bar.
constexpr double BarHeight = 64.0;
// The longest stretch the preview plays; a longer stated length is a broken header or a mistake.
constexpr double MaxPlaySeconds = 7.0 * 24.0 * 3600.0;

// What the preview's viewer does, at media seconds: sends comments by Enter and by the send button, styles them in
// the panel, and switches the overlay off and on. Targets are named under the preview screen.
const TCHAR* const PreviewViewerScript =
    TEXT("# Types a greeting and presses Enter.\n"
         "2 click DanmakuBar/InputDanmakuText\n"
         "2 type 大家好，我来学习了！👋\n"
         "2 enter\n"
         "# Hovers the style button, then picks top and red in the style panel.\n"
         "5.5 move DanmakuBar/DanmakuNodeSettingButton\n"
         "5.9 click DanmakuNodeSetting/Top\n"
         "5.9 click DanmakuNodeSetting/C_FE0302\n"
         "# Sends a red comment pinned at the top with the send button.\n"
         "7 click DanmakuBar/InputDanmakuText\n"
         "7 type 重点：置顶红色 📌\n"
         "7 click DanmakuBar/SendDanmakuButton\n"
         "# Picks bottom, small and a typed colour, and sends a small green comment at the bottom.\n"
         "9 move DanmakuBar/DanmakuNodeSettingButton\n"
         "9 click DanmakuNodeSetting/Bottom\n"
         "9 click DanmakuNodeSetting/Small\n"
         "9 click DanmakuNodeSetting/InputColorText\n"
         "9 backspace 7\n"
         "9 type #12ab34\n"
         "10 click DanmakuBar/InputDanmakuText\n"
         "10 type small print at the bottom\n"
         "10 enter\n"
         "# Switches the overlay off and on again.\n"
         "20 click DanmakuBar/OpenDanmakuButton\n"
         "26 click DanmakuBar/OpenDanmakuButton\n"
         "# Sends one more scrolling comment, in the normal size and white.\n"
         "28 move DanmakuBar/DanmakuNodeSettingButton\n"
         "28 click DanmakuNodeSetting/Scroll\n"
         "28 click DanmakuNodeSetting/Normal\n"
         "28 click DanmakuNodeSetting/C_FFFFFF\n"
         "28 click DanmakuBar/InputDanmakuText\n"
         "28 type back on again\n"
         "28 enter\n");

// A send: Enter in the input, or the send button.
bool IsSend(const FViewerStep& Step)
{
	return Step.Action == EViewerAction::Enter ||
	       (Step.Action == EViewerAction::Click && Step.Target.WidgetPath.EndsWith(TEXT("/SendDanmakuButton")));
}

} // namespace

FPreviewRun::FPreviewRun(const FPreviewOptions& InOptions)
    : Options(InOptions), Reports(Options, Document, Counts, Trace)
{
}

FPreviewRun::~FPreviewRun() = default;

void FPreviewRun::AddReferencedObjects(FReferenceCollector& Collector)
{
	Collector.AddReferencedObject(Host);
	Collector.AddReferencedObject(Player);
}

double FPreviewRun::MediaSeconds() const
{
	return Player ? Player->GetTime().GetTotalSeconds() : 0.0;
}

bool FPreviewRun::LoadDocument(FString& OutError)
{
	const FString Path = Options.CommentsFile.IsEmpty()
	                         ? FPaths::Combine(FPaths::ProjectContentDir(), TEXT("Samples/LessonComments.json"))
	                         : Options.CommentsFile;
	// The overlay takes any text silently; a person pointing the preview at a file wants to know it is wrong.
	if (!Document.Read(Path, OutError))
	{
		return false;
	}
	if (Document.ClampedIds > 0)
	{
		FAppConsole::Warning(FString::Printf(TEXT("%d comment ids of %s lie beyond 32 bits and were clamped (the "
		                                          "first is %s)"),
		                                     Document.ClampedIds, *Path, *Document.FirstClampedId));
	}
	if (Document.UnreadTimes > 0)
	{
		FAppConsole::Warning(FString::Printf(TEXT("%d comment times of %s are text that reads as no number and are "
		                                          "filed at 0 s (the first is '%s')"),
		                                     Document.UnreadTimes, *Path, *Document.FirstUnreadTime));
	}
	return true;
}

bool FPreviewRun::OpenMedia(FString& OutError)
{
	Player = LoadObject<UMediaPlayer>(nullptr, TEXT("/Game/Media/MP_LessonPlayer"));
	if (!Player)
	{
		OutError = TEXT("the bundled media player asset /Game/Media/MP_LessonPlayer did not load");
		return false;
	}
	if (Options.Media.IsEmpty())
	{
		const FString Description = FPaths::Combine(FPaths::ProjectContentDir(), TEXT("Samples/SampleLesson.media"));
		if (!FMediaSourceRegistry::LoadFromFile(Description))
		{
			OutError = FString::Printf(TEXT("cannot read the bundled lesson description %s"), *Description);
			return false;
		}
		MediaUrl = SampleLessonUrl;
	}
	else if (Options.Media.Contains(TEXT("://")))
	{
		MediaUrl = Options.Media;
		if (!Options.MediaDescription.IsEmpty() &&
		    !FFileChecks::CheckInput(Options.MediaDescription, TEXT("media description"), OutError))
		{
			return false;
		}
		if (!Options.MediaDescription.IsEmpty() && !FMediaSourceRegistry::LoadFromFile(Options.MediaDescription))
		{
			OutError = FString::Printf(TEXT("cannot read the media description %s"), *Options.MediaDescription);
			return false;
		}
	}
	else
	{
		if (!FFileChecks::CheckInput(Options.Media, TEXT("media file"), OutError))
		{
			return false;
		}
		MediaUrl = FPaths::ConvertRelativePathToFull(Options.Media);
	}
	if (!Player->OpenUrl(MediaUrl))
	{
		OutError = FString::Printf(TEXT("the media framework cannot play %s"), *MediaUrl);
		return false;
	}
	// Opening completes on later frames; give it a generous minute of application time.
	for (int32 Frame = 0; Frame < 3600 && Player->IsPreparing(); ++Frame)
	{
		App->Tick(float(Options.FrameSeconds));
	}
	if (!Player->IsReady())
	{
		OutError = FString::Printf(TEXT("%s did not open (a network URL needs a --media-description; a local file "
		                                "must be an MP4 whose header states its length)"),
		                           *MediaUrl);
		return false;
	}
	return true;
}

bool FPreviewRun::BuildScreen(FString& OutError)
{
	UClass* HostClass = StaticLoadClass(UUserWidget::StaticClass(), nullptr, TEXT("/Game/UI/WBP_DanmakuPreview"));
	Host = HostClass ? CreateWidget<UUserWidget>(App->GetWorld(), HostClass) : nullptr;
	if (!Host)
	{
		OutError = TEXT("the preview screen /Game/UI/WBP_DanmakuPreview did not load");
		return false;
	}
	Overlay = Cast<UUI_Danmaku>(Host->WidgetTree->FindWidget(TEXT("Danmaku")));
	Bar = Cast<UUI_DanmakuBar>(Host->WidgetTree->FindWidget(TEXT("DanmakuBar")));
	Panel = Cast<UUI_DanmakuNodeSetting>(Host->WidgetTree->FindWidget(TEXT("DanmakuNodeSetting")));
	TimeText = Cast<UTextBlock>(Host->WidgetTree->FindWidget(TEXT("MediaTimeText")));
	if (!Overlay || !Bar || !Panel || !TimeText || !TimeText->Slot)
	{
		OutError = TEXT("the preview screen lacks the overlay, the bar, the style panel or the time text");
		return false;
	}
	// The asset is drawn for 1920 by 1080; fit the overlay, the bar and the panel to the chosen canvas.
	const FVector2D Canvas = Options.CanvasSize;
	if (UCanvasPanelSlot* OverlaySlot = Cast<UCanvasPanelSlot>(Overlay->Slot))
	{
		OverlaySlot->SetPosition(FVector2D::ZeroVector);
		OverlaySlot->SetSize(FVector2D(Canvas.X, FMath::Max(Canvas.Y - BarHeight, 1.0)));
	}
	// The video under the comments, as the engine draws it: an image whose material samples the media texture of
	// the player (a described lesson shows the texture's clear colour, black). The asset leaves it hidden, since
	// without the material it would be a white box.
	if (UImage* Video = Cast<UImage>(Host->WidgetTree->FindWidget(TEXT("Video"))))
	{
		Video->SetBrushFromMaterial(LoadObject<UMaterial>(nullptr, TEXT("/Game/Media/M_PreviewVideo")));
		Video->SetVisibility(ESlateVisibility::Visible);
		if (UCanvasPanelSlot* VideoSlot = Cast<UCanvasPanelSlot>(Video->Slot))
		{
			VideoSlot->SetPosition(FVector2D::ZeroVector);
			VideoSlot->SetSize(FVector2D(Canvas.X, FMath::Max(Canvas.Y - BarHeight, 1.0)));
		}
	}
	if (UCanvasPanelSlot* BarSlot = Cast<UCanvasPanelSlot>(Bar->Slot))
	{
		BarSlot->SetPosition(FVector2D(20.0, Canvas.Y - BarHeight + 8.0));
	}
	if (UCanvasPanelSlot* PanelSlot = Cast<UCanvasPanelSlot>(Panel->Slot))
	{
		PanelSlot->SetPosition(FVector2D(60.0, FMath::Max(Canvas.Y - BarHeight - PanelSlot->GetSize().Y - 10.0, 0.0)));
	}
	if (UCanvasPanelSlot* TimeSlot = Cast<UCanvasPanelSlot>(TimeText->GetParent()->Slot))
	{
		TimeSlot->SetPosition(FVector2D(FMath::Max(Canvas.X - 200.0, 0.0), 8.0));
	}
	Host->AddToViewport(0);
	Overlay->OnTrackManagerCreated.AddLambda([this](UDanmakuTrackManager* Manager) { BindReports(Manager); });
	Overlay->Init(Player, Bar, Panel);
	return Options.Controls.ApplyTo(*Overlay, OutError);
}

bool FPreviewRun::ReadViewerScript(FString& OutError)
{
	Script.Path = TEXT("the preview's viewer script");
	return !Options.bSendComments || Script.Parse(PreviewViewerScript, FPaths::ProjectContentDir(), OutError);
}

bool FPreviewRun::RunDueSteps(FViewerDriver& Driver, double Seconds, FString& OutError)
{
	while (NextStep < Script.Steps.Num() && Seconds >= Script.Steps[NextStep].Seconds)
	{
		const FViewerStep& Step = Script.Steps[NextStep++];
		if (!Driver.Perform(Step, OutError))
		{
			return false;
		}
		Counts.Sent += IsSend(Step) ? 1 : 0;
		// Work that spans frames waits for its frames before the next step runs.
		if (Driver.HasPending())
		{
			break;
		}
	}
	return true;
}

void FPreviewRun::NoteLanes(const UDanmakuTrackManager* Manager)
{
	const UWidget* Canvas = Overlay->GetWidgetFromName(TEXT("DanmakuCanvasPanel"));
	Trace.NoteLanes(Canvas ? Canvas->GetCachedGeometry().GetLocalSize() : FVector2D::ZeroVector,
	                UDanmakuTrackManager::TrackHeight, Manager->GetTrackNum());
}

void FPreviewRun::BindReports(UDanmakuTrackManager* Manager)
{
	Trace.SetMediaClock([this] { return MediaSeconds(); });
	Manager->OnDanmakuPlaced.AddLambda(
	    [this, Manager](const FDanmakuPlacement& Placement)
	    {
		    Counts.CountPlaced(*Placement.Node, Placement.bUserNode);
		    NoteLanes(Manager);
		    Trace.WritePlacement(Placement);
	    });
	Manager->OnDanmakuNotShown.AddLambda(
	    [this, Manager](const FDanmakuData& Data, EDanmakuNotShownReason Reason)
	    {
		    NoteLanes(Manager);
		    Counts.CountNotShown(Data, Reason);
		    Trace.WriteNotShown(Data, Reason, Manager->GetNodeNotShown());
	    });
}

void FPreviewRun::UpdateTimeText(double Seconds)
{
	const int32 Tenths = int32(Seconds * 10.0);
	if (Tenths != LastTimeTextTenths)
	{
		LastTimeTextTenths = Tenths;
		TimeText->SetText(FText::FromString(FAppConsole::FormatClock(Seconds)));
	}
}

bool FPreviewRun::PrepareOutputs(FString& OutError)
{
	if (!LoadDocument(OutError))
	{
		return false;
	}
	if (!IFileManager::Get().MakeDirectory(*Options.OutputDir, true) &&
	    !IFileManager::Get().DirectoryExists(*Options.OutputDir))
	{
		OutError = FString::Printf(TEXT("cannot create the output folder %s"), *Options.OutputDir);
		return false;
	}
	if ((!Options.TraceFile.IsEmpty() && !Reports.CheckOutput(Options.TraceFile, TEXT("trace"), OutError)) ||
	    !Reports.CheckOutput(FPaths::Combine(Options.OutputDir, TEXT("summary.txt")), TEXT("summary"), OutError))
	{
		return false;
	}
	if (!Options.TraceFile.IsEmpty() && !Trace.Open(Options.TraceFile))
	{
		OutError = FString::Printf(TEXT("cannot write the trace %s"), *Options.TraceFile);
		return false;
	}
	return true;
}

bool FPreviewRun::PlayFrames(FViewerDriver& Driver, double EndSeconds, double& OutSeconds)
{
	Player->Play();
	// A cap on frames, so a clock that stops (a stalled source) cannot hang the run.
	const int64 MaxFrames = int64((EndSeconds * 4.0 + 120.0) / Options.FrameSeconds);
	int64 Frame = 0;
	FString Error;
	OutSeconds = MediaSeconds();
	while (Frame++ < MaxFrames)
	{
		App->Tick(float(Options.FrameSeconds));
		OutSeconds = MediaSeconds();
		UpdateTimeText(OutSeconds);
		if (Driver.HasPending())
		{
			Driver.RunPending();
		}
		else if (!RunDueSteps(Driver, OutSeconds, Error))
		{
			FAppConsole::Error(Error);
			return false;
		}
		while (NextSnapshot < Options.SnapshotTimes.Num() && OutSeconds >= Options.SnapshotTimes[NextSnapshot])
		{
			const double SnapshotSeconds = Options.SnapshotTimes[NextSnapshot++];
			// The time shown in the corner is the snapshot's own.
			UpdateTimeText(SnapshotSeconds);
			if (!Reports.WriteSnapshot(SnapshotSeconds))
			{
				return false;
			}
		}
		Progress.Update(OutSeconds, EndSeconds,
		                FString::Printf(TEXT("media %s of %s, %d comments shown"),
		                                *FAppConsole::FormatClock(OutSeconds), *FAppConsole::FormatClock(EndSeconds),
		                                Counts.ShownFromDocument + Counts.ShownOwn));
		if (OutSeconds >= EndSeconds || (!Player->IsPlaying() && !Player->IsPreparing() && OutSeconds > 0.0))
		{
			break;
		}
	}
	if (Frame >= MaxFrames)
	{
		FAppConsole::Error(TEXT("the media clock stopped advancing; the summary covers what was played"));
	}
	return true;
}

int32 FPreviewRun::Finish(double Seconds, double Duration)
{
	for (; NextSnapshot < Options.SnapshotTimes.Num(); ++NextSnapshot)
	{
		const FString Missed = FString::Printf(TEXT("snapshot at %.2f s not written: the run ended at %.2f s of "
		                                            "media (the media lasts %.2f s)"),
		                                       Options.SnapshotTimes[NextSnapshot], Seconds, Duration);
		FAppConsole::Warning(Missed);
		Reports.AddMissedSnapshot(Missed);
	}
	for (const FCommentDocument::FUnshowable& Comment : Document.SettleAfterRun(Counts.DueSeconds))
	{
		Trace.WriteNeverShown(MediaUrl, Comment);
	}
	if (Document.NotReached > 0)
	{
		Trace.WriteEvent(TEXT("not_reached"), FString::Printf(TEXT(",\"lesson\":%s,\"comments\":%d"),
		                                                      *FCommentTrace::Quote(MediaUrl), Document.NotReached));
	}
	int32 ExitCode = Reports.WriteSummary(MediaUrl, Seconds, Player->GetDuration().GetTotalSeconds(), *Overlay) ? 0 : 1;
	Trace.ForgetPlacedNodes();
	Host->RemoveFromParent();
	Host = nullptr;
	Player->Close();
	Player = nullptr;
	if (!Trace.Close())
	{
		FAppConsole::Error(
		    FString::Printf(TEXT("the trace %s was not written in full (is the disk full?)"), *Options.TraceFile));
		ExitCode = 1;
	}
	return ExitCode;
}

int32 FPreviewRun::Run()
{
	FString Error;
	if (!PrepareOutputs(Error))
	{
		FAppConsole::Error(Error);
		return 1;
	}
	FMath::RandInit(Options.Seed);
	FHeadlessApplication Application(Options.CanvasSize);
	App = &Application;
	Application.SetGarbageCollectionInterval(5.0);
	if (!OpenMedia(Error) || !BuildScreen(Error))
	{
		FAppConsole::Error(Error);
		return 1;
	}
	const double Duration = Player->GetDuration().GetTotalSeconds();
	Document.SetDuration(Duration);
	for (const FCommentDocument::FUnshowable& Comment : Document.Unshowable)
	{
		Trace.WriteNeverShown(MediaUrl, Comment);
	}
	Document.HandTo(*Overlay);
	FViewerDriver Driver(Application, TEXT("preview screen"));
	Driver.SetRoot(Host);
	Driver.SetWhere([this](const FViewerStep& Step) { return Script.Where(Step); });
	if (!ReadViewerScript(Error))
	{
		FAppConsole::Error(Error);
		return 1;
	}
	const double EndSeconds = Options.PlaySeconds > 0.0 ? FMath::Min(Options.PlaySeconds, Duration) : Duration;
	if (!(EndSeconds <= MaxPlaySeconds))
	{
		FAppConsole::Error(FString::Printf(TEXT("%s states a length of %g s, more than a week; --seconds S plays its "
		                                        "first S seconds (at most a week)"),
		                                   *MediaUrl, Duration));
		return 1;
	}
	double Seconds = 0.0;
	return PlayFrames(Driver, EndSeconds, Seconds) ? Finish(Seconds, Duration) : 1;
}
