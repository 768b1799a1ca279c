#include "CommentCounts.h"

#include "CommentDocument.h"
#include "DanmakuTrackManager.h"
#include "UI_Danmaku.h"

namespace
{
FString LimitText(int32 Limit)
{
	return Limit > 0 ? FString::Printf(TEXT("at most %d"), Limit) : FString(TEXT("no limit"));
}
} // namespace

void FCommentCounts::CountNotShown(EDanmakuNotShownReason Reason)
{
	switch (Reason)
	{
		case EDanmakuNotShownReason::NoFreeLane:
			++NoFreeLane;
			break;
		case EDanmakuNotShownReason::ModeNeverPlaced:
			++NeverPlacedMode;
			break;
		case EDanmakuNotShownReason::Paused:
			++PausedOrOff;
			break;
		case EDanmakuNotShownReason::Blocked:
			++Blocked;
			break;
		case EDanmakuNotShownReason::OverScreenLimit:
			++OverScreenLimit;
			break;
		case EDanmakuNotShownReason::OverRateLimit:
			++OverRateLimit;
			break;
		case EDanmakuNotShownReason::MergedRepeat:
			++MergedRepeats;
			break;
		default:
			++NoLanesOrTooTall;
			break;
	}
}

FString FCommentCounts::DisplayLine(const UUI_Danmaku& Overlay)
{
	const FDanmakuDisplayControls& Controls = Overlay.GetDisplayControls();
	return FString::Printf(TEXT("display: opacity %.2f, area %d%% top and %d%% bottom, speed x%.2f, font x%.2f"),
	                       Controls.Opacity, Controls.ScrollAndTopArea, Controls.BottomArea, Controls.SpeedScale,
	                       Controls.FontScale);
}

void FCommentCounts::AddSummaryLines(const FCommentDocument& Document, const UUI_Danmaku& Overlay,
                                     const FString& Indent, TArray<FString>& Lines) const
{
	if (Document.Skipped > 0)
	{
		Lines.Add(Indent + FString::Printf(TEXT("left out of the document for a missing or bad attribute: %d"),
		                                   Document.Skipped));
	}
	Lines.Add(Indent + FString::Printf(TEXT("shown: %d from the document, %d sent by the viewer (%d sends)"),
	                                   ShownFromDocument, ShownOwn, Sent));
	Lines.Add(Indent + FString::Printf(TEXT("dropped for lack of a lane: %d"), NoFreeLane + NoLanesOrTooTall));
	Lines.Add(Indent + FString::Printf(TEXT("not shown while the overlay was paused or off: %d"), PausedOrOff));
	Lines.Add(Indent + FString::Printf(TEXT("blocked: %d (%d words, %d patterns on the block list)"), Blocked,
	                                   Overlay.GetBlockList().GetWords().Num(),
	                                   Overlay.GetBlockList().GetPatterns().Num()));
	const FDanmakuDisplayControls& Controls = Overlay.GetDisplayControls();
	Lines.Add(Indent + FString::Printf(TEXT("over the density limit: %d with %s on screen, %d with %s appearing in a "
	                                        "second"),
	                                   OverScreenLimit, *LimitText(Controls.MaxOnScreen), OverRateLimit,
	                                   *LimitText(Controls.MaxPerSecond)));
	Lines.Add(Indent + FString::Printf(TEXT("repeats counted on a comment already shown: %d"), MergedRepeats));
	Lines.Add(Indent + FString::Printf(TEXT("never shown because their mode is never placed: %d in the document (%d "
	                                        "reached during the run)"),
	                                   Document.NeverPlacedMode, NeverPlacedMode));
	for (const FCommentDocument::EUnshowable Reason :
	     {FCommentDocument::EUnshowable::NegativeTime, FCommentDocument::EUnshowable::TimeOutOfRange,
	      FCommentDocument::EUnshowable::PastTheEnd})
	{
		Lines.Add(Indent + FString::Printf(TEXT("never shown, %s: %d"), *FCommentDocument::ReasonName(Reason),
		                                   Document.CountUnshowable(Reason)));
	}
	if (Document.ClampedIds > 0)
	{
		Lines.Add(Indent + FString::Printf(TEXT("ids beyond 32 bits, clamped: %d"), Document.ClampedIds));
	}
}
