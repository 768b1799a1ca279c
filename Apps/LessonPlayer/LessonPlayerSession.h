#pragma once

#include "CoreMinimal.h"
#include "AppConsole.h"
#include "CommentCounts.h"
#include "CommentDocument.h"
#include "CommentTrace.h"
#include "SoundRecorder.h"
#include "LessonPlayerOptions.h"
#include "LessonTimeline.h"
#include "UObject/GarbageCollection.h"
#include "ViewerScript.h"

#include <functional>

class FHeadlessApplication;
class UDanmakuTrackManager;
class ULessonPlayerEvents;
class UMediaPlayer;
class UUI_Danmaku;
class UUI_PravellaSystem;
class UUserWidget;
class UWidget;

// One run of the full lesson player: builds it from its widget asset, replays a viewer session on it as a viewer
// and a host would, and writes snapshots, the trace, the summary and a timeline picture per lesson.
class FLessonPlayerSession : private FGCObject
{
public:
	explicit FLessonPlayerSession(const FLessonPlayerOptions& InOptions);
	~FLessonPlayerSession() override;

	// Returns the process exit code; errors are printed to standard error.
	int32 Run();

private:
	struct FLesson
	{
		FString Url;
		FString CommentsFile;
		FCommentDocument Document;
		bool bOpened = false;
		FLessonTimeline Timeline;
		FCommentCounts Counts;
		int32 BusiestSecond = 0;
		int32 BusiestCount = 0;
	};

	bool ReadDocuments(FString& OutError);
	bool BuildPlayer(FString& OutError);
	void BindPlayerEvents();
	void BindReports(UDanmakuTrackManager* Manager);
	// Runs one script step; false with a message naming the script line when it cannot be done.
	bool Perform(const FViewerStep& Step, FString& OutError);
	bool ResolveTarget(const FViewerStep& Step, FVector2D& OutPosition, UWidget*& OutWidget, FString& OutError) const;
	FLesson* FindLesson(const FString& Url);
	FLesson* CurrentLesson();
	FLesson& AddLesson(const FString& Url);
	// Hands the lesson's comments to the player before its media opens, so that its first second is not missed,
	// and takes back those of the lesson that had the overlay before.
	void LoadComments(FLesson& Lesson);
	void TakeBackComments();
	// Leaves the overlay without comments, for media that has none.
	void ClearComments();
	void OnLessonOpened(const FString& Url);
	void OnEvent(const FString& Event, const FString& Fields);
	void PollPlayerState();
	bool WriteSnapshot(const FString& Name, FString& OutError);
	// Takes a path for an output: a new path or a regular file that is none of the run's inputs and no other
	// output; false with the reason.
	bool ClaimOutput(const FString& File, const TCHAR* What, FString& OutError);
	// Checks the session's inputs and outputs before it starts.
	bool CheckRun(FString& OutError);
	// Accounts for the comments of every document that were never due.
	void SettleDocuments();
	bool WriteSummary(FString& OutError);
	FString TimeLabel() const;
	double MediaSeconds() const;

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
	FSoundRecorder Sound;
	FProgressReport Progress;
	TArray<TSharedPtr<FLesson>> Lessons;
	// The lesson whose comments the overlay holds.
	FLesson* InOverlay = nullptr;
	// The documents of "comments" steps, read before the run, by step index.
	TMap<int32, TSharedPtr<FCommentDocument>> StepDocuments;
	// Pointer work that spans frames (drags, drop-down choices), one entry a frame.
	TArray<std::function<bool(FString&)>> Pending;
	TArray<FString> Snapshots;
	TArray<FString> MissedSnapshots;
	TArray<FString> Problems;
	// The lesson opened last.
	FString LastUrl;
	// The files the run reads, and those it writes, with what each is.
	TArray<TPair<FString, FString>> Inputs;
	TArray<TPair<FString, FString>> Outputs;
	// Set by a press of the previous (0) or next (1) button, for the move its click makes; -1 for none.
	int32 PressedDirection = -1;
	float LastVolume = 1.0f;
	float LastRate = 1.0f;
	int32 Steps = 0;
	double EndClock = 0.0;
};
