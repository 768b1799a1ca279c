#pragma once

#include "CoreMinimal.h"

class FCommentTrace;
class FLessonDocuments;
class FViewerScript;
class UMediaPlayer;
class UUI_PravellaSystem;
struct FViewerStep;

// The game around the player, as a viewer script's host steps have it: media described, lessons added to the
// playlist with their comments, a lesson opened, another document handed over, a live comment pushed.
class FLessonHost
{
public:
	FLessonHost(const FViewerScript& InScript, FLessonDocuments& InDocuments, FCommentTrace& InTrace,
	            TArray<FString>& InProblems);

	// The player it calls; its owner keeps it alive.
	void Attach(UUI_PravellaSystem* InPlayer, UMediaPlayer* InMedia);
	// Performs a host step (describe, lesson, open, comments, live); false with a message naming the line.
	bool Perform(const FViewerStep& Step, FString& OutError);

private:
	void OpenLesson(const FString& Url);
	void PushLiveComment(const FViewerStep& Step);

	const FViewerScript& Script;
	FLessonDocuments& Documents;
	FCommentTrace& Trace;
	TArray<FString>& Problems;
	UUI_PravellaSystem* Player = nullptr;
	UMediaPlayer* Media = nullptr;
};
