#pragma once

#include "CoreMinimal.h"
#include "CommentDocument.h"

#include <cstdio>
#include <functional>

class UUI_DanmakuNode;
struct FDanmakuData;
struct FDanmakuPlacement;
enum class EDanmakuNotShownReason : uint8;

// Writes one JSON object per line: the overlay's lanes first, then every placement of a comment, every comment
// not shown, and the player's and the viewer's events. Every line carries the application's frame number, its
// clock and the media time.
class FCommentTrace
{
public:
	~FCommentTrace();
	bool Open(const FString& Path);
	bool IsOpen() const { return File != nullptr; }
	// Where the media time of each line comes from.
	void SetMediaClock(std::function<double()> InMediaClock) { MediaClock = MoveTemp(InMediaClock); }

	// The size the lanes were computed from and their height. The first such line also says how a frame is
	// handled; lines written before it wait for it.
	void WriteOverlay(const FVector2D& LaneAreaSize, double LaneHeight, int32 ScrollLanes);
	// Writes an overlay line when the lanes have been computed from another size since the last one.
	void NoteLanes(const FVector2D& LaneAreaSize, double LaneHeight, int32 ScrollLanes);
	void WritePlacement(const FDanmakuPlacement& Placement);
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

	FILE* File = nullptr;
	std::function<double()> MediaClock;
	bool bOverlayWritten = false;
	FVector2D LastLaneAreaSize = FVector2D::ZeroVector;
	int32 LastScrollLanes = -1;
	TArray<FString> Waiting;
};
