#include "CommentCounts.h"

#include "CommentDocument.h"
#include "DanmakuTrackManager.h"

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
		default:
			++NoLanesOrTooTall;
			break;
	}
}

void FCommentCounts::AddSummaryLines(const FCommentDocument& Document, const FString& Indent,
                                     TArray<FString>& Lines) const
{
	Lines.Add(Indent + FString::Printf(TEXT("shown: %d from the document, %d sent by the viewer (%d sends)"),
	                                   ShownFromDocument, ShownOwn, Sent));
	Lines.Add(Indent + FString::Printf(TEXT("dropped for lack of a lane: %d"), NoFreeLane + NoLanesOrTooTall));
	Lines.Add(Indent + FString::Printf(TEXT("not shown while the overlay was paused or off: %d"), PausedOrOff));
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
