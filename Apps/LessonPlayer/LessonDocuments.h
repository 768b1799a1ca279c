#pragma once

#include "CoreMinimal.h"
#include "CommentCounts.h"
#include "CommentDocument.h"
#include "LessonTimeline.h"

class FCommentTrace;
class FViewerScript;
class UMediaPlayer;
class UUI_Danmaku;
class UUI_PravellaSystem;
struct FViewerStep;

// The lessons of a run and their comment documents: read before the run starts, handed to the player's overlay
// when their lesson opens, taken back with what was filed meanwhile when another lesson's are handed over, and
// accounted for at the end.
class FLessonDocuments
{
public:
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

	// Playlist entries are absolute paths of local files; the media player reports them as file URLs.
	static bool SameSource(const FString& A, const FString& B);

	// Reads every document the script names, so that a broken one stops the run before it starts.
	bool Read(const FViewerScript& Script, FString& OutError);
	// The player the documents go to; its owner keeps it alive.
	void Attach(UUI_PravellaSystem* InPlayer, UUI_Danmaku* InOverlay, UMediaPlayer* InMedia);

	FLesson* Find(const FString& Url);
	// The lesson the media player has open.
	FLesson* Current();
	int32 IndexOf(const FLesson* Lesson) const;
	const TArray<TSharedPtr<FLesson>>& GetLessons() const { return Lessons; }

	// A "lesson" step: the lesson with the document read for the step.
	FLesson& AddLesson(const FViewerStep& Step);
	// An "open" step: the lesson, known from now on, with its comments.
	void Open(const FString& Url) { LoadComments(Add(Url)); }
	// A "comments" step: the document read for the step replaces the open lesson's; false when none is open.
	bool ReplaceComments(const FViewerStep& Step);
	// Hands the lesson's comments to the player before its media opens, so that its first second is not missed,
	// and takes back those of the lesson that had the overlay before; a lesson not known leaves the overlay empty.
	void HandOver(const FString& Url);
	// Traces the comments of a newly opened lesson that no clock reaches and files what it has due each second; a
	// problem with its length is added to Problems.
	void OnLessonOpened(const FString& Url, double Duration, FCommentTrace& Trace, TArray<FString>& Problems);
	// Accounts for the comments of every document that were never due.
	void Settle(FCommentTrace& Trace);

private:
	FLesson& Add(const FString& Url);
	void LoadComments(FLesson& Lesson);
	void TakeBackComments();
	void ClearComments();
	void CountDue(FLesson& Lesson, double Duration);

	UUI_PravellaSystem* Player = nullptr;
	UUI_Danmaku* Overlay = nullptr;
	UMediaPlayer* Media = nullptr;
	TArray<TSharedPtr<FLesson>> Lessons;
	// The lesson whose comments the overlay holds.
	FLesson* InOverlay = nullptr;
	// The documents of "lesson" and "comments" steps, read before the run, by script line.
	TMap<int32, TSharedPtr<FCommentDocument>> StepDocuments;
};
