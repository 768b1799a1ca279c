#pragma once

#include "CoreMinimal.h"

struct FCommentCounts;
class FCommentDocument;
class FCommentTrace;
class UUI_Danmaku;
struct FPreviewOptions;

// What a preview run leaves besides its trace: snapshots at chosen media times and the summary, none of them over an
// input or another output.
class FPreviewReports
{
public:
	FPreviewReports(const FPreviewOptions& InOptions, const FCommentDocument& InDocument,
	                const FCommentCounts& InCounts, const FCommentTrace& InTrace);

	// A new path or a regular file that is none of the inputs and no other output; false with the reason.
	bool CheckOutput(const FString& File, const TCHAR* What, FString& OutError) const;
	// Paints the screen as snapshot_<seconds>s.png in the output folder; false after printing why not.
	bool WriteSnapshot(double Seconds);
	void AddMissedSnapshot(const FString& Missed) { MissedSnapshots.Add(Missed); }
	// Prints the summary and writes it; false after printing why not.
	bool WriteSummary(const FString& MediaUrl, double PlayedSeconds, double Duration, const UUI_Danmaku& Overlay) const;

private:
	const FPreviewOptions& Options;
	const FCommentDocument& Document;
	const FCommentCounts& Counts;
	const FCommentTrace& Trace;
	TArray<FString> Snapshots;
	TArray<FString> MissedSnapshots;
};
