#include "LessonReports.h"

#include "AppConsole.h"
#include "CommentTrace.h"
#include "Components/TextBlock.h"
#include "Dom/JsonObject.h"
#include "FileChecks.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/HeadlessViewport.h"
#include "LessonDocuments.h"
#include "LessonPlayerOptions.h"
#include "MediaPlayer.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "UI_Danmaku.h"
#include "UI_PravellaSystem.h"
#include "ViewerScript.h"

namespace
{
FString TimeLabel(const UUI_PravellaSystem& Player)
{
	const UTextBlock* Label = Cast<UTextBlock>(Player.GetWidgetFromName(TEXT("PlayTimeText")));
	return Label ? Label->GetText().ToString() : FString();
}

FString TimelinePath(const FLessonPlayerOptions& Options, int32 Index)
{
	return FPaths::Combine(Options.OutputDir, FString::Printf(TEXT("timeline_%d.png"), Index + 1));
}
} // namespace

FLessonReports::FLessonReports(const FLessonPlayerOptions& InOptions, FCommentTrace& InTrace)
    : Options(InOptions), Trace(InTrace)
{
}

bool FLessonReports::ClaimOutput(const FString& File, const TCHAR* What, FString& OutError)
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

bool FLessonReports::CheckRun(const FViewerScript& Script, FString& OutError)
{
	Inputs.Add(TPair<FString, FString>(Script.Path, TEXT("viewer script")));
	// A timeline per lesson, in the order lessons are first named.
	TArray<FString> LessonUrls;
	for (const FViewerStep& Step : Script.Steps)
	{
		if (!Step.File.IsEmpty())
		{
			Inputs.Add(TPair<FString, FString>(Step.File, TEXT("input")));
		}
		if (Step.Action == EViewerAction::Lesson || Step.Action == EViewerAction::Open)
		{
			if (!LessonUrls.ContainsByPredicate([&Step](const FString& Url)
			                                    { return FLessonDocuments::SameSource(Url, Step.Text); }))
			{
				LessonUrls.Add(Step.Text);
			}
			if (!Step.Text.Contains(TEXT("://")))
			{
				Inputs.Add(TPair<FString, FString>(Step.Text, TEXT("media file")));
			}
		}
		TSharedPtr<FJsonObject> Object;
		if (Step.Action == EViewerAction::Live &&
		    (!FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Step.Text), Object) || !Object.IsValid()))
		{
			OutError = FString::Printf(TEXT("%s: the live comment is no JSON object: '%s'"), *Script.Where(Step),
			                           *FFileChecks::Excerpt(Step.Text));
			return false;
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
	for (int32 Index = 0; Index < LessonUrls.Num(); ++Index)
	{
		if (!ClaimOutput(TimelinePath(Options, Index), TEXT("timeline"), OutError))
		{
			return false;
		}
	}
	return true;
}

bool FLessonReports::WriteSnapshot(const FString& Name, const FHeadlessApplication& App,
                                   const UUI_PravellaSystem& Player, const UMediaPlayer& Media, bool bFullscreen,
                                   FString& OutError)
{
	const double Clock = App.GetCurrentTime();
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
	Trace.WriteEvent(TEXT("snapshot"),
	                 FString::Printf(TEXT(",\"path\":%s,\"url\":%s,\"time_label\":%s,\"fullscreen\":%s"),
	                                 *FCommentTrace::Quote(Path), *FCommentTrace::Quote(Media.GetUrl()),
	                                 *FCommentTrace::Quote(TimeLabel(Player)),
	                                 bFullscreen ? TEXT("true") : TEXT("false")));
	return true;
}

bool FLessonReports::AddLessonLines(int32 Index, const UUI_Danmaku& Overlay, const FLessonDocuments& Documents,
                                    TArray<FString>& Lines, FString& OutError) const
{
	const FLessonDocuments::FLesson& Lesson = *Documents.GetLessons()[Index];
	Lines.Add(FString::Printf(TEXT("lesson %d: %s (%s long%s)"), Index + 1, *Lesson.Url,
	                          *FAppConsole::FormatClock(Lesson.Timeline.GetDuration()),
	                          Lesson.bOpened ? TEXT("") : TEXT(", never opened")));
	if (Lesson.CommentsFile.IsEmpty())
	{
		Lines.Add(TEXT("  no comment document"));
		return true;
	}
	Lines.Add(FString::Printf(TEXT("  comments: %d in %s; most in one second: %d (second %d)"),
	                          Lesson.Document.Comments, *Lesson.CommentsFile, Lesson.BusiestCount,
	                          Lesson.BusiestSecond));
	Lesson.Counts.AddSummaryLines(Lesson.Document, Overlay, TEXT("  "), Lines);
	const FString Timeline = TimelinePath(Options, Index);
	if (!Lesson.Timeline.WritePng(Timeline, FString::Printf(TEXT("Lesson %d: %s"), Index + 1, *Lesson.Url)))
	{
		OutError = FString::Printf(TEXT("cannot write the timeline %s"), *Timeline);
		return false;
	}
	Lines.Add(FString::Printf(TEXT("  timeline: %s"), *Timeline));
	return true;
}

bool FLessonReports::WriteSummary(const FString& Header, const UUI_Danmaku& Overlay, const FLessonDocuments& Documents,
                                  FString& OutError)
{
	TArray<FString> Lines;
	Lines.Add(Header);
	Lines.Add(FCommentCounts::DisplayLine(Overlay));
	for (int32 Index = 0; Index < Documents.GetLessons().Num(); ++Index)
	{
		if (!AddLessonLines(Index, Overlay, Documents, Lines, OutError))
		{
			return false;
		}
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
