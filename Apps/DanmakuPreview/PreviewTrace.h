#pragma once

#include "CoreMinimal.h"

#include <cstdio>

class UUI_DanmakuNode;
struct FDanmakuData;
struct FDanmakuPlacement;
enum class EDanmakuNotShownReason : uint8;

// Writes one JSON object per line: a placement of a comment, the end of a placed comment, or a comment that was not
// shown. Readers look fields up by name; new fields are only ever added.
class FPreviewTrace
{
public:
	~FPreviewTrace();
	bool Open(const FString& Path);
	bool IsOpen() const { return File != nullptr; }

	// The overlay's size and lane height, so a reader can check placements against the lanes.
	void WriteOverlay(double ClockSeconds, const FVector2D& Size, double LaneHeight);
	// Node numbers placements in order from 1; the comment's end refers to it.
	void WritePlacement(double ClockSeconds, double MediaSeconds, const FDanmakuPlacement& Placement, int32 Node);
	// The placed comment left the canvas: its time ran out, or it was cleared (switched off, seek, end of run).
	void WriteEnded(double ClockSeconds, double MediaSeconds, int32 Node);
	void WriteNotShown(double ClockSeconds, double MediaSeconds, const FDanmakuData& Data,
	                   EDanmakuNotShownReason Reason);

	static FString ReasonName(EDanmakuNotShownReason Reason);
	static FString Quote(const FString& Text);

private:
	void WriteLine(const FString& Line);

	FILE* File = nullptr;
};
