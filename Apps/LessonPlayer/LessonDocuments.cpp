#include "LessonDocuments.h"

#include "AppConsole.h"
#include "CommentTrace.h"
#include "Headless/MediaSourceRegistry.h"
#include "MediaPlayer.h"
#include "UI_Danmaku.h"
#include "UI_PravellaSystem.h"
#include "ViewerScript.h"

namespace
{
const TCHAR* const EmptyDocument = TEXT("{\"datas\":[]}");

// Beyond this a lesson's stated length is taken for a broken header: its timeline and counts stop there.
constexpr double MaxLessonSeconds = 7.0 * 24.0 * 3600.0;

void WarnOfOddities(const FViewerScript& Script, const FViewerStep& Step, const FCommentDocument& Document)
{
	if (Document.ClampedIds > 0)
	{
		FAppConsole::Warning(FString::Printf(TEXT("%s: %d comment ids of %s lie beyond 32 bits and were clamped "
		                                          "(the first is %s)"),
		                                     *Script.Where(Step), Document.ClampedIds, *Step.File,
		                                     *Document.FirstClampedId));
	}
	if (Document.UnreadTimes > 0)
	{
		FAppConsole::Warning(FString::Printf(TEXT("%s: %d comment times of %s are text that reads as no number "
		                                          "and are filed at 0 s (the first is '%s')"),
		                                     *Script.Where(Step), Document.UnreadTimes, *Step.File,
		                                     *Document.FirstUnreadTime));
	}
}
} // namespace

bool FLessonDocuments::SameSource(const FString& A, const FString& B)
{
	return FMediaSourceRegistry::NormalizeUrl(A).Equals(FMediaSourceRegistry::NormalizeUrl(B), ESearchCase::IgnoreCase);
}

bool FLessonDocuments::Read(const FViewerScript& Script, FString& OutError)
{
	for (const FViewerStep& Step : Script.Steps)
	{
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
		WarnOfOddities(Script, Step, *Document);
		StepDocuments.Add(Step.Line, MoveTemp(Document));
	}
	return true;
}

void FLessonDocuments::Attach(UUI_PravellaSystem* InPlayer, UUI_Danmaku* InOverlay, UMediaPlayer* InMedia)
{
	Player = InPlayer;
	Overlay = InOverlay;
	Media = InMedia;
}

FLessonDocuments::FLesson* FLessonDocuments::Find(const FString& Url)
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

FLessonDocuments::FLesson* FLessonDocuments::Current()
{
	return Media && !Media->GetUrl().IsEmpty() ? Find(Media->GetUrl()) : nullptr;
}

int32 FLessonDocuments::IndexOf(const FLesson* Lesson) const
{
	return Lessons.IndexOfByPredicate([Lesson](const TSharedPtr<FLesson>& Each) { return Each.Get() == Lesson; });
}

FLessonDocuments::FLesson& FLessonDocuments::Add(const FString& Url)
{
	if (FLesson* Existing = Find(Url))
	{
		return *Existing;
	}
	Lessons.Add(MakeShared<FLesson>());
	Lessons.Last()->Url = Url;
	return *Lessons.Last();
}

FLessonDocuments::FLesson& FLessonDocuments::AddLesson(const FViewerStep& Step)
{
	FLesson& Lesson = Add(Step.Text);
	if (TSharedPtr<FCommentDocument>* Document = StepDocuments.Find(Step.Line))
	{
		Lesson.CommentsFile = Step.File;
		Lesson.Document = MoveTemp(**Document);
		if (InOverlay == &Lesson)
		{
			InOverlay = nullptr;
		}
	}
	return Lesson;
}

bool FLessonDocuments::ReplaceComments(const FViewerStep& Step)
{
	FLesson* Lesson = Current();
	TSharedPtr<FCommentDocument>* Document = StepDocuments.Find(Step.Line);
	if (!Lesson || !Document)
	{
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
	return true;
}

void FLessonDocuments::HandOver(const FString& Url)
{
	if (FLesson* Lesson = Find(Url))
	{
		LoadComments(*Lesson);
	}
	else
	{
		ClearComments();
	}
}

void FLessonDocuments::LoadComments(FLesson& Lesson)
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

void FLessonDocuments::TakeBackComments()
{
	// The comments filed into the overlay while its lesson played (sent, or pushed live) go back with them.
	if (InOverlay)
	{
		InOverlay->Document.TakeBackFrom(*Overlay);
		InOverlay = nullptr;
	}
}

void FLessonDocuments::ClearComments()
{
	TakeBackComments();
	Player->ResetBulletChatDatas(EmptyDocument);
}

void FLessonDocuments::OnLessonOpened(const FString& Url, double Duration, FCommentTrace& Trace,
                                      TArray<FString>& Problems)
{
	FLesson* Lesson = Find(Url);
	if (!Lesson || Lesson->bOpened)
	{
		return;
	}
	Lesson->bOpened = true;
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
	CountDue(*Lesson, Duration);
}

void FLessonDocuments::CountDue(FLesson& Lesson, double Duration)
{
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
			Lesson.Timeline.Add(FLessonTimeline::ECount::Due, Second, int32(Data.Mode));
		}
		// The earliest of equally busy seconds.
		if (Bucket->Num() > Lesson.BusiestCount ||
		    (Bucket->Num() == Lesson.BusiestCount && Second < Lesson.BusiestSecond))
		{
			Lesson.BusiestCount = Bucket->Num();
			Lesson.BusiestSecond = Second;
		}
	}
}

void FLessonDocuments::Settle(FCommentTrace& Trace)
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
