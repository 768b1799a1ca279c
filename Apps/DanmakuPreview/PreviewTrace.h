#pragma once

#include "CoreMinimal.h"

#include <cstdio>

class UUI_DanmakuNode;
struct FDanmakuData;
struct FDanmakuPlacement;
enum class EDanmakuNotShownReason : uint8;

// Writes one JSON object per line: a placement of a comment or a comment that was not shown.
class FPreviewTrace
{
public:
	~FPreviewTrace();
	bool Open(const FString& Path);
	bool IsOpen() const { return File != nullptr; }

	// The overlay's size and lane height, so a reader can check placements against the lanes.
	void WriteOverlay(double ClockSeconds, const FVector2D& Size, double LaneHeight);
	void WritePlacement(double ClockSeconds, double MediaSeconds, const FDanmakuPlacement& Placement);
	void WriteNotShown(double ClockSeconds, double MediaSeconds, const FDanmakuData& Data,
	                   EDanmakuNotShownReason Reason);

	static FString ReasonName(EDanmakuNotShownReason Reason);
	static FString Quote(const FString& Text);

private:
	void WriteLine(const FString& Line);

	FILE* File = nullptr;
};
