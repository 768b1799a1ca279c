#pragma once

#include "CoreMinimal.h"
#include "AppConsole.h"
#include "CommentTrace.h"
#include "LessonDocuments.h"
#include "LessonHost.h"
#include "LessonPlayerOptions.h"
#include "LessonRecorder.h"
#include "LessonReports.h"
#include "SoundRecorder.h"
#include "UObject/GarbageCollection.h"
#include "ViewerScript.h"

class FHeadlessApplication;
class FViewerDriver;
class ULessonPlayerEvents;
class UMediaPlayer;
class UUI_Danmaku;
class UUI_PravellaSystem;
class UUserWidget;

// One run of the full lesson player: builds it from its widget asset in a course page, runs a viewer script on it
// through the viewer driver (the viewer's steps) and the host (the host's calls), and leaves the trace, the
// snapshots, the summary and a timeline picture per lesson.
class FLessonPlayerRun : private FGCObject
{
public:
	explicit FLessonPlayerRun(const FLessonPlayerOptions& InOptions);
	~FLessonPlayerRun() override;

	// Returns the process exit code; errors are printed to standard error.
	int32 Run();

private:
	// Reads the script and its documents and claims the outputs; false with the message.
	bool Prepare(FString& OutError);
	bool BuildPlayer(FString& OutError);
	bool StartSound();
	// Frames until the script's end; the exit code.
	int32 RunFrames(FViewerDriver& Driver);
	// Runs the steps that are due; false when one cannot be done.
	bool RunDueSteps(FViewerDriver& Driver, double Clock, FString& OutError);
	void ReportProgress();
	// The steps the driver leaves to the program: snapshots, the end, and the host's calls through the host.
	bool PerformOtherStep(const FViewerStep& Step, FString& OutError);
	int32 Finish(int32 ExitCode);

	// FGCObject
	void AddReferencedObjects(FReferenceCollector& Collector) override;
	// --

	FLessonPlayerOptions Options;
	FViewerScript Script;
	FHeadlessApplication* App = nullptr;
	UUserWidget* Page = nullptr;
	UUI_PravellaSystem* Player = nullptr;
	UUI_Danmaku* Overlay = nullptr;
	UMediaPlayer* Media = nullptr;
	ULessonPlayerEvents* Events = nullptr;
	FCommentTrace Trace;
	FLessonDocuments Documents;
	FLessonReports Reports;
	FLessonRecorder Recorder;
	FLessonHost Host;
	FSoundRecorder Sound;
	FProgressReport Progress;
	int32 NextStep = 0;
	int32 NextSnapshot = 0;
	int32 Steps = 0;
	double EndClock = 0.0;
};
