#pragma once

#include "CoreMinimal.h"

class FCommentTrace;
class FLessonDocuments;
class UDanmakuTrackManager;
class ULessonPlayerEvents;
class UMediaPlayer;
class UUI_Danmaku;
class UUI_PravellaSystem;
struct FViewerStep;

// Records a run as it goes: the steps, the player's and the media player's events and the overlay's placements and
// comments not shown, as trace lines, and the open lesson's counts and timeline. It also plays the host's part in
// next and previous, handing the new lesson's comments over as it hears of the move.
class FLessonRecorder
{
public:
	FLessonRecorder(FCommentTrace& InTrace, FLessonDocuments& InDocuments, TArray<FString>& InProblems);

	// Listens to the player, its overlay and the media player; the listener returned is the caller's to keep.
	ULessonPlayerEvents* Bind(UUI_PravellaSystem* InPlayer, UUI_Danmaku* InOverlay, UMediaPlayer* InMedia);
	// A step as it runs: a trace line, and a mark on the open lesson's timeline for the viewer's own.
	void RecordStep(const FViewerStep& Step);
	// The volume and the rate, for which the player raises no event, are read once a frame.
	void PollPlayerState();
	double MediaSeconds() const;
	// Whether the player is fullscreen, as its OnPravellaTypeChanged last said.
	bool IsFullscreen() const { return bFullscreen; }

private:
	void BindReports(UDanmakuTrackManager* Manager);
	void BindPlaylistMoves(ULessonPlayerEvents& Events);
	void OnEvent(const FString& Event, const FString& Fields);

	FCommentTrace& Trace;
	FLessonDocuments& Documents;
	TArray<FString>& Problems;
	UUI_PravellaSystem* Player = nullptr;
	UUI_Danmaku* Overlay = nullptr;
	UMediaPlayer* Media = nullptr;
	// The lesson opened last.
	FString LastUrl;
	// Set by a press of the previous (0) or next (1) button, for the move its click makes; -1 for none.
	int32 PressedDirection = -1;
	float LastVolume = 1.0f;
	float LastRate = 1.0f;
	bool bFullscreen = false;
};
