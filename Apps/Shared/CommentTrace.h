#pragma once

#include "CoreMinimal.h"
#include "CommentDocument.h"

#include <cstdio>
#include <functional>

class UUI_DanmakuNode;
struct FDanmakuData;
struct FDanmakuPlacement;
enum class EDanmakuNotShownReason : uint8;

// Writes one JSON object per line: the overlay's lanes first, then every placement of a comment, the end of every
// placed comment, every comment not shown, and the player's and the viewer's events. Every line carries the
// application's frame number, its clock and the media time. Readers look fields up by name; new fields are only
// ever added.
class FCommentTrace
{
public:
	~FCommentTrace();
	bool Open(const FString& Path);
	bool IsOpen() const { return File != nullptr; }
	// Writes what waits, and closes the file; false when any line of the trace was not written (a full disk).
	bool Close();
	// Where the media time of each line comes from.
	void SetMediaClock(std::function<double()> InMediaClock) { MediaClock = MoveTemp(InMediaClock); }

	// The size the lanes were computed from and their height. The first such line also says how a frame is
	// handled; lines written before it wait for it.
	void WriteOverlay(const FVector2D& LaneAreaSize, double LaneHeight, int32 ScrollLanes);
	// Writes an overlay line when the lanes have been computed from another size since the last one.
	void NoteLanes(const FVector2D& LaneAreaSize, double LaneHeight, int32 ScrollLanes);
	// Numbers placements in order from 1 ("node"); the placed comment's "ended" line, written when it leaves the
	// canvas (its time ran out, or it was cleared by switching off, a seek or a new document), refers to it.
	void WritePlacement(const FDanmakuPlacement& Placement);
	// Comments still on screen when a run stops have no end: taking the screen down is not theirs.
	void ForgetPlacedNodes() { LiveNodes.Empty(); }
	// Measured is the comment's node as it was measured for the lanes; null when none was made (while paused).
	void WriteNotShown(const FDanmakuData& Data, EDanmakuNotShownReason Reason, const UUI_DanmakuNode* Measured);
	// A comment of the document that no clock reaches.
	void WriteNeverShown(const FString& Lesson, const FCommentDocument::FUnshowable& Comment);
	// A player or viewer event; Fields are further JSON members, each starting with a comma.
	void WriteEvent(const FString& Event, const FString& Fields = FString());

	static FString ReasonName(EDanmakuNotShownReason Reason);
	static FString Quote(const FString& Text);
	static FString Number(double Value);

private:
	FString Prefix(const TCHAR* Event) const;
	void WriteLine(const FString& Line);
	void WriteRaw(const FString& Line);

	FILE* File = nullptr;
	std::function<double()> MediaClock;
	bool bOverlayWritten = false;
	bool bWriteFailed = false;
	FVector2D LastLaneAreaSize = FVector2D::ZeroVector;
	int32 LastScrollLanes = -1;
	TArray<FString> Waiting;
	// Placed nodes still on the canvas, by their number.
	TMap<const UUI_DanmakuNode*, int32> LiveNodes;
	int32 PlacedNodes = 0;
};
