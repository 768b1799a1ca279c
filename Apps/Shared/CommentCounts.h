#pragma once

#include "CoreMinimal.h"

class FCommentDocument;
class UUI_Danmaku;
class UUI_DanmakuNode;
struct FDanmakuData;
enum class EDanmakuNotShownReason : uint8;

// What became of the comments of one document during a run, as the overlay reported them.
struct FCommentCounts
{
	int32 ShownFromDocument = 0;
	int32 ShownOwn = 0;
	int32 Sent = 0;
	int32 NoFreeLane = 0;
	int32 NoLanesOrTooTall = 0;
	int32 PausedOrOff = 0;
	int32 NeverPlacedMode = 0;
	int32 Blocked = 0;
	int32 OverScreenLimit = 0;
	int32 OverRateLimit = 0;
	int32 MergedRepeats = 0;
	int32 BadPayloads = 0;
	int32 JumpedOver = 0;
	int32 ShortenedTexts = 0;
	// The seconds whose comments were due (entered, or passed over) at least once.
	TMap<int64, int32> DueSeconds;

	void CountPlaced(const UUI_DanmakuNode& Node, bool bUserNode);
	void CountNotShown(const FDanmakuData& Data, EDanmakuNotShownReason Reason);
	// The summary's lines about these counts, the overlay's block list and limits they were counted against, and
	// the document's own (left out, never placed, never reached, clamped ids); after the document was settled.
	void AddSummaryLines(const FCommentDocument& Document, const UUI_Danmaku& Overlay, const FString& Indent,
	                     TArray<FString>& Lines) const;
	// The overlay's display settings: opacity, areas and scales.
	static FString DisplayLine(const UUI_Danmaku& Overlay);
};
