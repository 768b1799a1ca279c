#pragma once

#include "CoreMinimal.h"

class FCommentTrace;
class FHeadlessApplication;
class FLessonDocuments;
class FViewerScript;
class UMediaPlayer;
class UUI_Danmaku;
class UUI_PravellaSystem;
struct FLessonPlayerOptions;

// What a run leaves behind besides its trace: the snapshots, the summary and a timeline picture per lesson. It
// claims every output before the run starts, so that none overwrites an input or another output.
class FLessonReports
{
public:
	FLessonReports(const FLessonPlayerOptions& InOptions, FCommentTrace& InTrace);

	// Checks the script's inputs and the run's outputs before the run starts.
	bool CheckRun(const FViewerScript& Script, FString& OutError);
	// Writes the screen as Name.png (default snapshot_<clock>s.png) in the output folder, with a trace line.
	bool WriteSnapshot(const FString& Name, const FHeadlessApplication& App, const UUI_PravellaSystem& Player,
	                   const UMediaPlayer& Media, bool bFullscreen, FString& OutError);
	void AddMissedSnapshot(const FString& Missed) { MissedSnapshots.Add(Missed); }
	// Prints the summary and writes it with the lessons' timelines.
	bool WriteSummary(const FString& Header, const UUI_Danmaku& Overlay, const FLessonDocuments& Documents,
	                  FString& OutError);

	// Things that went wrong without stopping the run, for the summary.
	TArray<FString> Problems;

private:
	// Takes a path for an output: a new path or a regular file that is none of the run's inputs and no other
	// output; false with the reason.
	bool ClaimOutput(const FString& File, const TCHAR* What, FString& OutError);
	bool AddLessonLines(int32 Index, const UUI_Danmaku& Overlay, const FLessonDocuments& Documents,
	                    TArray<FString>& Lines, FString& OutError) const;

	const FLessonPlayerOptions& Options;
	FCommentTrace& Trace;
	TArray<FString> Snapshots;
	TArray<FString> MissedSnapshots;
	// The files the run reads, and those it writes, with what each is.
	TArray<TPair<FString, FString>> Inputs;
	TArray<TPair<FString, FString>> Outputs;
};
