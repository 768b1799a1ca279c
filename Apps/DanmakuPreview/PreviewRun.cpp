#include "PreviewRun.h"

#include "DanmakuTrackManager.h"
#include "FileChecks.h"
#include "HAL/FileManager.h"
#include "Headless/HeadlessApplication.h"
#include "MediaPlayer.h"
#include "Misc/Paths.h"
#include "UI_Danmaku.h"
#include "UI_DanmakuNode.h"
#include "ViewerDriver.h"

#include <cstdio>

namespace
{
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
	Collector.AddReferencedObject(Screen.Host);
	Collector.AddReferencedObject(Media.Player);
}

double FPreviewRun::MediaSeconds() const
{
	return Media.Player ? Media.Player->GetTime().GetTotalSeconds() : 0.0;
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

bool FPreviewRun::BuildScreen(FString& OutError)
{
	if (!Screen.Build(*App, Options.CanvasSize, OutError))
	{
		return false;
	}
	Screen.Overlay->OnTrackManagerCreated.AddLambda([this](UDanmakuTrackManager* Manager) { BindReports(Manager); });
	Screen.Overlay->Init(Media.Player, Screen.Bar, Screen.Panel);
	return Options.Controls.ApplyTo(*Screen.Overlay, OutError);
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
	const UWidget* Canvas = Screen.Overlay->GetWidgetFromName(TEXT("DanmakuCanvasPanel"));
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
	Media.Player->Play();
	// A cap on frames, so a clock that stops (a stalled source) cannot hang the run.
	const int64 MaxFrames = int64((EndSeconds * 4.0 + 120.0) / Options.FrameSeconds);
	int64 Frame = 0;
	FString Error;
	OutSeconds = MediaSeconds();
	while (Frame++ < MaxFrames)
	{
		App->Tick(float(Options.FrameSeconds));
		OutSeconds = MediaSeconds();
		Screen.ShowTime(OutSeconds);
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
			Screen.ShowTime(SnapshotSeconds);
			if (!Reports.WriteSnapshot(SnapshotSeconds))
			{
				return false;
			}
		}
		Progress.Update(OutSeconds, EndSeconds,
		                [&]
		                {
			                return FString::Printf(
			                    TEXT("media %s of %s, %d comments shown"), *FAppConsole::FormatClock(OutSeconds),
			                    *FAppConsole::FormatClock(EndSeconds), Counts.ShownFromDocument + Counts.ShownOwn);
		                });
		if (OutSeconds >= EndSeconds ||
		    (!Media.Player->IsPlaying() && !Media.Player->IsPreparing() && OutSeconds > 0.0))
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
		Trace.WriteNeverShown(Media.Url, Comment);
	}
	if (Document.NotReached > 0)
	{
		Trace.WriteEvent(TEXT("not_reached"), FString::Printf(TEXT(",\"lesson\":%s,\"comments\":%d"),
		                                                      *FCommentTrace::Quote(Media.Url), Document.NotReached));
	}
	int32 ExitCode =
	    Reports.WriteSummary(Media.Url, Seconds, Media.Player->GetDuration().GetTotalSeconds(), *Screen.Overlay) ? 0
	                                                                                                             : 1;
	Trace.ForgetPlacedNodes();
	Screen.Host->RemoveFromParent();
	Screen.Host = nullptr;
	Media.Player->Close();
	Media.Player = nullptr;
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
	if (!Media.Open(Application, Options, Error) || !BuildScreen(Error))
	{
		FAppConsole::Error(Error);
		return 1;
	}
	const double Duration = Media.Player->GetDuration().GetTotalSeconds();
	Document.SetDuration(Duration);
	for (const FCommentDocument::FUnshowable& Comment : Document.Unshowable)
	{
		Trace.WriteNeverShown(Media.Url, Comment);
	}
	Document.HandTo(*Screen.Overlay);
	FViewerDriver Driver(Application, TEXT("preview screen"));
	Driver.SetRoot(Screen.Host);
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
		                                   *Media.Url, Duration));
		return 1;
	}
	double Seconds = 0.0;
	return PlayFrames(Driver, EndSeconds, Seconds) ? Finish(Seconds, Duration) : 1;
}
