#pragma once

#include "CoreMinimal.h"

class FCommentDocument;
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

	void CountNotShown(EDanmakuNotShownReason Reason);
	// The summary's lines about these counts and the document's own (never placed, never reached, clamped ids).
	void AddSummaryLines(const FCommentDocument& Document, const FString& Indent, TArray<FString>& Lines) const;
};
