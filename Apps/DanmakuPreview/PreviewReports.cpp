#include "PreviewReports.h"

#include "AppConsole.h"
#include "CommentCounts.h"
#include "CommentDocument.h"
#include "CommentTrace.h"
#include "FileChecks.h"
#include "Headless/HeadlessViewport.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "PreviewOptions.h"
#include "UI_Danmaku.h"

namespace
{
// The busiest of the filed seconds, the earliest of equals: the walk costs what the comments cost.
void FindBusiestSecond(const UUI_Danmaku& Overlay, double Duration, int32& OutSecond, int32& OutCount)
{
	TArray<FTimespan> Filed;
	Overlay.GetIndexedSeconds(Filed);
	const double LastSecond = FMath::FloorToDouble(Duration) + 1.0;
	for (const FTimespan& Key : Filed)
	{
		const double KeySeconds = FMath::FloorToDouble(Key.GetTotalSeconds());
		const TArray<FDanmakuData>* Bucket = Overlay.FindDanmakuAt(Key);
		if (!Bucket || KeySeconds < 0.0 || KeySeconds > LastSecond)
		{
			continue;
		}
		const int32 Second = int32(KeySeconds);
		if (Bucket->Num() > OutCount || (Bucket->Num() == OutCount && Second < OutSecond))
		{
			OutCount = Bucket->Num();
			OutSecond = Second;
		}
	}
}
} // namespace

FPreviewReports::FPreviewReports(const FPreviewOptions& InOptions, const FCommentDocument& InDocument,
                                 const FCommentCounts& InCounts, const FCommentTrace& InTrace)
    : Options(InOptions), Document(InDocument), Counts(InCounts), Trace(InTrace)
{
}

bool FPreviewReports::WriteSnapshot(double Seconds)
{
	const FString Path = FPaths::Combine(Options.OutputDir, FString::Printf(TEXT("snapshot_%07.2fs.png"), Seconds));
	FString Error;
	if (!CheckOutput(Path, TEXT("snapshot"), Error))
	{
		FAppConsole::Error(Error);
		return false;
	}
	if (!FHeadlessViewport::Get().PaintToPng(Path))
	{
		FAppConsole::Error(FString::Printf(TEXT("cannot write %s"), *Path));
		return false;
	}
	Snapshots.Add(Path);
	return true;
}

bool FPreviewReports::CheckOutput(const FString& File, const TCHAR* What, FString& OutError) const
{
	if (!FFileChecks::CheckOutput(File, What, OutError))
	{
		return false;
	}
	const FString Inputs[] = {Document.Path, Options.Media, Options.MediaDescription};
	for (const FString& Input : Inputs)
	{
		if (!Input.IsEmpty() && !Input.Contains(TEXT("://")) && FFileChecks::SameFile(File, Input))
		{
			OutError =
			    FString::Printf(TEXT("the %s %s would overwrite the input %s; name another"), What, *File, *Input);
			return false;
		}
	}
	const FString Summary = FPaths::Combine(Options.OutputDir, TEXT("summary.txt"));
	if (!Options.TraceFile.IsEmpty() && FCString::Strcmp(What, TEXT("trace")) != 0 &&
	    FFileChecks::SameFile(File, Options.TraceFile))
	{
		OutError = FString::Printf(TEXT("the %s %s would overwrite the trace; name another"), What, *File);
		return false;
	}
	if (FCString::Strcmp(What, TEXT("summary")) != 0 && FFileChecks::SameFile(File, Summary))
	{
		OutError = FString::Printf(TEXT("the %s %s would overwrite the summary; name another"), What, *File);
		return false;
	}
	return true;
}

bool FPreviewReports::WriteSummary(const FString& MediaUrl, double PlayedSeconds, double Duration,
                                   const UUI_Danmaku& Overlay) const
{
	int32 BusiestSecond = 0;
	int32 BusiestCount = 0;
	FindBusiestSecond(Overlay, Duration, BusiestSecond, BusiestCount);
	TArray<FString> Lines;
	Lines.Add(FString::Printf(TEXT("media: %s (%s played)"), *MediaUrl, *FAppConsole::FormatClock(PlayedSeconds)));
	Lines.Add(FString::Printf(TEXT("canvas: %dx%d"), int32(Options.CanvasSize.X), int32(Options.CanvasSize.Y)));
	Lines.Add(FString::Printf(TEXT("comments loaded: %d, in %d seconds of the index"), Document.Comments,
	                          Overlay.GetIndexedSecondCount()));
	Lines.Add(FString::Printf(TEXT("most comments in one second: %d (second %d)"), BusiestCount, BusiestSecond));
	Counts.AddSummaryLines(Document, Overlay, FString(), Lines);
	Lines.Add(FCommentCounts::DisplayLine(Overlay));
	for (const FString& Snapshot : Snapshots)
	{
		Lines.Add(FString::Printf(TEXT("snapshot: %s"), *Snapshot));
	}
	for (const FString& Missed : MissedSnapshots)
	{
		Lines.Add(Missed);
	}
	if (Trace.IsOpen())
	{
		Lines.Add(FString::Printf(TEXT("trace: %s"), *Options.TraceFile));
	}
	const FString Summary = FString::Join(Lines, TEXT("\n")) + TEXT("\n");
	FAppConsole::Line(Summary.TrimEnd());
	const FString SummaryFile = FPaths::Combine(Options.OutputDir, TEXT("summary.txt"));
	if (!FFileHelper::SaveStringToFile(Summary, *SummaryFile))
	{
		FAppConsole::Error(FString::Printf(TEXT("cannot write the summary %s"), *SummaryFile));
		return false;
	}
	return true;
}
