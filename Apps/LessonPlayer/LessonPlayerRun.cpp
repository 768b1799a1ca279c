#include "LessonPlayerRun.h"

#include "Blueprint/UserWidget.h"
#include "HAL/FileManager.h"
#include "Headless/HeadlessApplication.h"
#include "LessonPlayerEvents.h"
#include "MediaPlayer.h"
#include "Misc/Paths.h"
#include "TraceLog.h"
#include "UI_Danmaku.h"
#include "UI_PravellaSystem.h"
#include "ViewerDriver.h"

#include <cmath>

FLessonPlayerRun::FLessonPlayerRun(const FLessonPlayerOptions& InOptions)
    : Options(InOptions), Reports(Options, Trace), Recorder(Trace, Documents, Reports.Problems),
      Host(Script, Documents, Trace, Reports.Problems)
{
}

FLessonPlayerRun::~FLessonPlayerRun() = default;

void FLessonPlayerRun::AddReferencedObjects(FReferenceCollector& Collector)
{
	Collector.AddReferencedObject(Page);
	Collector.AddReferencedObject(Player);
	Collector.AddReferencedObject(Media);
	Collector.AddReferencedObject(Events);
}

bool FLessonPlayerRun::Prepare(FString& OutError)
{
	const FString ScriptPath = Options.ScriptFile.IsEmpty()
	                               ? FPaths::Combine(FPaths::ProjectContentDir(), TEXT("Samples/LessonSession.script"))
	                               : Options.ScriptFile;
	Script.FilesFrom = Options.FilesFrom;
	if (!Script.Load(ScriptPath, OutError) || !Documents.Read(Script, OutError))
	{
		return false;
	}
	if (!IFileManager::Get().MakeDirectory(*Options.OutputDir, true) &&
	    !IFileManager::Get().DirectoryExists(*Options.OutputDir))
	{
		OutError = FString::Printf(TEXT("cannot create the output folder %s"), *Options.OutputDir);
		return false;
	}
	if (Options.TraceFile.IsEmpty())
	{
		Options.TraceFile = FPaths::Combine(Options.OutputDir, TEXT("trace.jsonl"));
	}
	return Reports.CheckRun(Script, OutError);
}

bool FLessonPlayerRun::BuildPlayer(FString& OutError)
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
	Documents.Attach(Player, Overlay, Media);
	Host.Attach(Player, Media);
	Events = Recorder.Bind(Player, Overlay, Media);
	return Options.Controls.ApplyTo(*Overlay, OutError);
}

bool FLessonPlayerRun::StartSound()
{
	// Each second of the run that had a lesson's sound (decoded lessons only) gets its level in the trace.
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
		return false;
	}
	return true;
}

bool FLessonPlayerRun::PerformOtherStep(const FViewerStep& Step, FString& OutError)
{
	if (Step.Action == EViewerAction::Snapshot)
	{
		return Reports.WriteSnapshot(Step.Text, *App, *Player, *Media, Recorder.IsFullscreen(), OutError);
	}
	// The end needs nothing done: the run stops at its time.
	return Step.Action == EViewerAction::End || Host.Perform(Step, OutError);
}

bool FLessonPlayerRun::RunDueSteps(FViewerDriver& Driver, double Clock, FString& OutError)
{
	while (NextStep < Script.Steps.Num() && Script.Steps[NextStep].Seconds <= Clock + 1e-9 &&
	       Script.Steps[NextStep].Seconds <= EndClock)
	{
		const FViewerStep& Step = Script.Steps[NextStep++];
		++Steps;
		Recorder.RecordStep(Step);
		if (!Driver.Perform(Step, OutError))
		{
			return false;
		}
		// Work that spans frames waits for its frames before the next line runs.
		if (Driver.HasPending())
		{
			break;
		}
	}
	return true;
}

void FLessonPlayerRun::ReportProgress()
{
	const FLessonDocuments::FLesson* Lesson = Documents.Current();
	Progress.Update(App->GetCurrentTime(), EndClock,
	                [this, Lesson]
	                {
		                return FString::Printf(
		                    TEXT("session %s of %s, lesson %d at %s"), *FAppConsole::FormatClock(App->GetCurrentTime()),
		                    *FAppConsole::FormatClock(EndClock), Lesson ? Documents.IndexOf(Lesson) + 1 : 0,
		                    *FAppConsole::FormatClock(Recorder.MediaSeconds()));
	                });
}

int32 FLessonPlayerRun::RunFrames(FViewerDriver& Driver)
{
	FString Error;
	while (true)
	{
		const double Clock = App->GetCurrentTime();
		bool bOk = true;
		if (Driver.HasPending())
		{
			Driver.RunPending();
		}
		else
		{
			bOk = RunDueSteps(Driver, Clock, Error);
		}
		while (bOk && NextSnapshot < Options.SnapshotTimes.Num() && Options.SnapshotTimes[NextSnapshot] <= Clock + 1e-9)
		{
			++NextSnapshot;
			bOk = Reports.WriteSnapshot(FString(), *App, *Player, *Media, Recorder.IsFullscreen(), Error);
		}
		if (!bOk)
		{
			FAppConsole::Error(Error);
			return 1;
		}
		if (Clock >= EndClock - 1e-9)
		{
			return 0;
		}
		App->Tick(float(Options.FrameSeconds));
		Recorder.PollPlayerState();
		ReportProgress();
	}
}

int32 FLessonPlayerRun::Finish(int32 ExitCode)
{
	for (; NextSnapshot < Options.SnapshotTimes.Num(); ++NextSnapshot)
	{
		const FString Missed = FString::Printf(TEXT("snapshot at %.2f s not written: the session ended at %.2f s"),
		                                       Options.SnapshotTimes[NextSnapshot], App->GetCurrentTime());
		FAppConsole::Warning(Missed);
		Reports.AddMissedSnapshot(Missed);
	}
	FString Error;
	if (ExitCode == 0)
	{
		Documents.Settle(Trace);
		const FString Header = FString::Printf(TEXT("session: %s, %s of clock in %llu frames, %d actions"),
		                                       *Script.Path, *FAppConsole::FormatClock(App->GetCurrentTime()),
		                                       static_cast<unsigned long long>(App->GetFrameNumber()), Steps);
		if (!Reports.WriteSummary(Header, *Overlay, Documents, Error))
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

int32 FLessonPlayerRun::Run()
{
	FString Error;
	if (!Prepare(Error))
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
	Trace.SetMediaClock([this] { return Recorder.MediaSeconds(); });
	if (!BuildPlayer(Error))
	{
		FAppConsole::Error(Error);
		return 1;
	}
	if (!StartSound())
	{
		return 1;
	}
	FViewerDriver Driver(Application, TEXT("player"));
	Driver.SetRoot(Player);
	Driver.SetWhere([this](const FViewerStep& Step) { return Script.Where(Step); });
	Driver.SetOtherActions([this](const FViewerStep& Step, FString& OutError)
	                       { return PerformOtherStep(Step, OutError); });
	// The run ends at the script's "end" line, or a second after its last line, or when --seconds runs out.
	const FViewerStep& Last = Script.Steps.Last();
	EndClock = Last.Action == EViewerAction::End ? Last.Seconds : Last.Seconds + 1.0;
	if (Options.RunSeconds > 0.0)
	{
		EndClock = FMath::Min(EndClock, Options.RunSeconds);
	}
	return Finish(RunFrames(Driver));
}
