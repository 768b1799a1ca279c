#pragma once

#include "CoreMinimal.h"
#include "PreviewOptions.h"
#include "PreviewMedia.h"
#include "PreviewReports.h"
#include "PreviewScreen.h"
#include "CommentDocument.h"
#include "AppConsole.h"
#include "CommentCounts.h"
#include "CommentTrace.h"
#include "UObject/GarbageCollection.h"
#include "ViewerScript.h"

class FHeadlessApplication;
class FViewerDriver;
class UDanmakuTrackManager;
class UWidget;

// One run of the preview: plays the lesson with its comments through the real overlay, runs its built-in viewer
// script through the viewer driver at media times, writes snapshots, the trace and the summary.
class FPreviewRun : private FGCObject
{
public:
	explicit FPreviewRun(const FPreviewOptions& InOptions);
	~FPreviewRun() override;

	// Returns the process exit code; errors are printed to standard error.
	int32 Run();

private:
	// Reads the document and claims the outputs; false with the message.
	bool PrepareOutputs(FString& OutError);
	bool LoadDocument(FString& OutError);
	// The screen, with the overlay wired to the player and its reports, and the comment controls applied.
	bool BuildScreen(FString& OutError);
	// The viewer's steps, unless --no-send leaves them out.
	bool ReadViewerScript(FString& OutError);
	// Runs the steps due at the media time; false with the message when one cannot be done.
	bool RunDueSteps(FViewerDriver& Driver, double Seconds, FString& OutError);
	// Plays to EndSeconds of media (or the media's end), running the due steps and snapshots after each frame; false
	// when one cannot be done. OutSeconds is the media time reached.
	bool PlayFrames(FViewerDriver& Driver, double EndSeconds, double& OutSeconds);
	// Accounts for the comments never due, writes the summary and closes the trace; the exit code.
	int32 Finish(double Seconds, double Duration);
	void BindReports(UDanmakuTrackManager* Manager);
	void NoteLanes(const UDanmakuTrackManager* Manager);

	double MediaSeconds() const;

	// FGCObject
	void AddReferencedObjects(FReferenceCollector& Collector) override;
	// --

	FPreviewOptions Options;
	FHeadlessApplication* App = nullptr;
	FPreviewMedia Media;
	FPreviewScreen Screen;
	FCommentCounts Counts;
	FCommentTrace Trace;
	FCommentDocument Document;
	FProgressReport Progress;
	FViewerScript Script;
	int32 NextStep = 0;
	int32 NextSnapshot = 0;
	FPreviewReports Reports;
};
