#include "CommentCounts.h"

#include "CommentDocument.h"
#include "DanmakuTrackManager.h"
#include "UI_Danmaku.h"
#include "UI_DanmakuNode.h"

namespace
{
FString LimitText(int32 Limit)
{
	return Limit > 0 ? FString::Printf(TEXT("at most %d"), Limit) : FString(TEXT("no limit"));
}
} // namespace

void FCommentCounts::CountPlaced(const UUI_DanmakuNode& Node, bool bUserNode)
{
	++(bUserNode ? ShownOwn : ShownFromDocument);
	ShortenedTexts += Node.IsTextShortened() ? 1 : 0;
	if (!bUserNode)
	{
		++DueSeconds.FindOrAdd(Node.GetData().SpawnTime / ETimespan::TicksPerSecond);
	}
}

void FCommentCounts::CountNotShown(const FDanmakuData& Data, EDanmakuNotShownReason Reason)
{
	++DueSeconds.FindOrAdd(Data.SpawnTime / ETimespan::TicksPerSecond);
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
		case EDanmakuNotShownReason::BadPositionedPayload:
			++BadPayloads;
			break;
		case EDanmakuNotShownReason::JumpedOver:
			++JumpedOver;
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
	if (Document.MaskedColours > 0)
	{
		Lines.Add(Indent + FString::Printf(TEXT("colours beyond 24 bits, shown in their low 24 bits: %d"),
		                                   Document.MaskedColours));
	}
	Lines.Add(Indent + FString::Printf(TEXT("shown: %d from the document, %d sent by the viewer (%d sends)"),
	                                   ShownFromDocument, ShownOwn, Sent));
	if (ShortenedTexts > 0)
	{
		Lines.Add(Indent + FString::Printf(TEXT("shown with the text cut to %d characters: %d"),
		                                   UUI_DanmakuNode::MaxShownTextLength, ShortenedTexts));
	}
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
	Lines.Add(Indent + FString::Printf(TEXT("positioned comments whose payload does not read: %d"), BadPayloads));
	Lines.Add(Indent + FString::Printf(TEXT("jumped over (a seek, or a frame longer than a second): %d"), JumpedOver));
	const int32 NeverPlacedInDocument =
	    Document.NeverPlacedMode + (Overlay.GetDisplayControls().bShowReverse ? 0 : Document.Reverse);
	Lines.Add(Indent + FString::Printf(TEXT("never shown because their mode is never placed: %d in the document (%d "
	                                        "reached during the run)"),
	                                   NeverPlacedInDocument, NeverPlacedMode));
	for (const FCommentDocument::EUnshowable Reason :
	     {FCommentDocument::EUnshowable::NegativeTime, FCommentDocument::EUnshowable::TimeOutOfRange,
	      FCommentDocument::EUnshowable::PastTheEnd})
	{
		Lines.Add(Indent + FString::Printf(TEXT("never shown, %s: %d"), *FCommentDocument::ReasonName(Reason),
		                                   Document.CountUnshowable(Reason)));
	}
	Lines.Add(Indent + FString::Printf(TEXT("never shown, not reached before the run ended: %d"), Document.NotReached));
	if (Document.ClampedIds > 0)
	{
		Lines.Add(Indent + FString::Printf(TEXT("ids beyond 32 bits, clamped: %d"), Document.ClampedIds));
	}
}
