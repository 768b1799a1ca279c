#include "CommentTrace.h"

#include "DanmakuTrackManager.h"
#include "Fonts/FontMeasure.h"
#include "Headless/HeadlessApplication.h"
#include "UI_DanmakuNode.h"
#include "UI_DanmakuPositionedNode.h"

#include <cmath>

namespace
{
const TCHAR* const FrameOrder =
    TEXT("each frame runs input, world timers, the media clock, layout, then widget ticks, parents first: the "
         "overlay places the comments of a newly entered media second against the node positions the frame before "
         "left, then the nodes on screen move; a node placed in frame N first moves in frame N+1");
} // namespace

FCommentTrace::~FCommentTrace()
{
	Close();
}

bool FCommentTrace::Close()
{
	if (!File)
	{
		return !bWriteFailed;
	}
	// A run that never laid the overlay out still keeps its events.
	for (const FString& Line : Waiting)
	{
		WriteRaw(Line);
	}
	Waiting.Empty();
	bWriteFailed |= std::fflush(File) != 0;
	bWriteFailed |= std::fclose(File) != 0;
	File = nullptr;
	return !bWriteFailed;
}

void FCommentTrace::WriteRaw(const FString& Line)
{
	const FTCHARToUTF8 Utf8(*Line);
	bWriteFailed |= std::fwrite(Utf8.Get(), 1, size_t(Utf8.Length()), File) != size_t(Utf8.Length());
	bWriteFailed |= std::fputc('\n', File) == EOF;
}

bool FCommentTrace::Open(const FString& Path)
{
	File = std::fopen(TCHAR_TO_UTF8(*Path), "wb");
	bWriteFailed = false;
	return File != nullptr;
}

FString FCommentTrace::Quote(const FString& Text)
{
	FString Out(TEXT("\""));
	for (TCHAR C : Text)
	{
		if (C == u'"' || C == u'\\')
		{
			Out.AppendChar(u'\\');
			Out.AppendChar(C);
		}
		else if (C < 0x20)
		{
			Out += FString::Printf(TEXT("\\u%04x"), int32(C));
		}
		else
		{
			Out.AppendChar(C);
		}
	}
	Out.AppendChar(u'"');
	return Out;
}

FString FCommentTrace::Number(double Value)
{
	// JSON has no infinity or NaN.
	if (!std::isfinite(Value))
	{
		return TEXT("null");
	}
	return FMath::Abs(Value) < 1e12 ? FString::Printf(TEXT("%.4f"), Value) : FString::Printf(TEXT("%.6e"), Value);
}

FString FCommentTrace::ReasonName(EDanmakuNotShownReason Reason)
{
	switch (Reason)
	{
		case EDanmakuNotShownReason::NoFreeLane:
			return TEXT("no free lane");
		case EDanmakuNotShownReason::ModeNeverPlaced:
			return TEXT("mode never placed");
		case EDanmakuNotShownReason::NoLanes:
			return TEXT("no lanes for this mode");
		case EDanmakuNotShownReason::TooTall:
			return TEXT("taller than the lanes left");
		case EDanmakuNotShownReason::Paused:
			return TEXT("overlay paused or off");
		case EDanmakuNotShownReason::Blocked:
			return TEXT("blocked");
		case EDanmakuNotShownReason::OverScreenLimit:
			return TEXT("over the on-screen limit");
		case EDanmakuNotShownReason::OverRateLimit:
			return TEXT("over the per-second limit");
		case EDanmakuNotShownReason::MergedRepeat:
			return TEXT("repeat counted on the comment shown");
		case EDanmakuNotShownReason::BadPositionedPayload:
			return TEXT("positioned comment without a readable payload");
		case EDanmakuNotShownReason::JumpedOver:
			return TEXT("its second was jumped over");
	}
	return TEXT("unknown");
}

FString FCommentTrace::Prefix(const TCHAR* Event) const
{
	const FHeadlessApplication* App = FHeadlessApplication::Get();
	return FString::Printf(TEXT("{\"event\":\"%s\",\"frame\":%llu,\"clock\":%.4f,\"media\":%s"), Event,
	                       App ? static_cast<unsigned long long>(App->GetFrameNumber()) : 0ull,
	                       App ? App->GetCurrentTime() : 0.0, *Number(MediaClock ? MediaClock() : 0.0));
}

void FCommentTrace::WriteOverlay(const FVector2D& LaneAreaSize, double LaneHeight, int32 ScrollLanes)
{
	FString Line = Prefix(TEXT("overlay")) +
	               FString::Printf(TEXT(",\"width\":%.3f,\"height\":%.3f,\"lane_height\":%.4f,\"scroll_lanes\":%d"),
	                               LaneAreaSize.X, LaneAreaSize.Y, LaneHeight, ScrollLanes);
	if (!bOverlayWritten)
	{
		Line += FString::Printf(TEXT(",\"frame_order\":%s"), *Quote(FrameOrder));
	}
	const bool bFirst = !bOverlayWritten;
	bOverlayWritten = true;
	WriteLine(Line + TEXT("}"));
	if (bFirst)
	{
		for (const FString& Waited : Waiting)
		{
			WriteLine(Waited);
		}
		Waiting.Empty();
	}
}

void FCommentTrace::NoteLanes(const FVector2D& LaneAreaSize, double LaneHeight, int32 ScrollLanes)
{
	if (ScrollLanes > 0 && (LaneAreaSize != LastLaneAreaSize || ScrollLanes != LastScrollLanes))
	{
		LastLaneAreaSize = LaneAreaSize;
		LastScrollLanes = ScrollLanes;
		WriteOverlay(LaneAreaSize, LaneHeight, ScrollLanes);
	}
}

void FCommentTrace::WritePlacement(const FDanmakuPlacement& Placement)
{
	UUI_DanmakuNode* Node = Placement.Node;
	const FDanmakuData& Data = Node->GetData();
	const FVector2D Position = Node->GetPosition();
	const FVector2D Size = Node->GetNodeSize();
	// One line of the comment's font as drawn, as the renderer measures it: what a subtitle renderer sizes its
	// font by.
	FSlateFontInfo Font;
	Font.Size = Node->GetShownFontSize();
	const double LineHeight = FSlateFontMeasure::Get().GetMaxCharacterHeight(Font);
	const int32 NodeNumber = ++PlacedNodes;
	FString Motion;
	if (Data.Mode == EDanmakuMode::SCROLL || Data.Mode == EDanmakuMode::REVERSE)
	{
		Motion = FString::Printf(TEXT(",\"direction\":\"%s\""),
		                         Data.Mode == EDanmakuMode::REVERSE ? TEXT("ltr") : TEXT("rtl"));
	}
	FVector2D Start = Position;
	if (const UUI_DanmakuPositionedNode* Positioned = Cast<UUI_DanmakuPositionedNode>(Node))
	{
		const FDanmakuPositionedComment& Comment = Positioned->GetComment();
		Start = Positioned->GetStartPosition();
		const FVector2D End = Positioned->GetEndPosition();
		Motion =
		    FString::Printf(TEXT(",\"end_x\":%s,\"end_y\":%s,\"move_delay\":%s,\"move_duration\":%s,"
		                         "\"alpha_from\":%s,\"alpha_to\":%s,\"rotate_z\":%s,\"rotate_y\":%s,\"outline\":%s"),
		                    *Number(End.X), *Number(End.Y), *Number(Comment.MoveDelay), *Number(Comment.MoveDuration),
		                    *Number(Comment.AlphaFrom), *Number(Comment.AlphaTo), *Number(Comment.RotateZ),
		                    *Number(Comment.RotateY), Comment.bOutline ? TEXT("true") : TEXT("false"));
	}
	const FString Color =
	    FDanmakuData::IsReadableFontColor(Data.FontColor) ? Data.FontColor : FString(FDanmakuData::DefaultFontColor);
	WriteLine(Prefix(TEXT("placed")) +
	          FString::Printf(
	              TEXT(",\"id\":%d,\"text\":%s,\"mode\":%d,\"spawn\":%s,\"first_lane\":%d,\"lanes\":%d,"
	                   "\"x\":%s,\"y\":%s,\"width\":%s,\"height\":%s,\"speed\":%s,\"life\":%s,"
	                   "\"own\":%s,\"node\":%d,\"font_size\":%s,\"line_height\":%s,\"color\":%s%s}"),
	              Data.DanmakuID, *Quote(Node->GetShownText()), int32(Data.Mode), *Number(double(Data.SpawnTime) / 1e7),
	              Placement.FirstLane, Placement.LaneCount, *Number(Start.X), *Number(Start.Y), *Number(Size.X),
	              *Number(Size.Y), *Number(double(Node->GetRollSpeed())), *Number(double(Node->GetRollTime())),
	              Placement.bUserNode ? TEXT("true") : TEXT("false"), NodeNumber, *Number(Node->GetShownFontSize()),
	              *Number(LineHeight), *Quote(FColor::FromHex(Color).ToHex()), *Motion));
	if (!File)
	{
		return;
	}
	// A node leaves through its end event or its cancellation (the canvas was cleared); whichever comes first is
	// its end.
	LiveNodes.Add(Node, NodeNumber);
	const auto WriteEnd = [this](UUI_DanmakuNode* Ended)
	{
		if (const int32* Found = LiveNodes.Find(Ended))
		{
			const int32 Number = *Found;
			LiveNodes.Remove(Ended);
			WriteLine(Prefix(TEXT("ended")) + FString::Printf(TEXT(",\"node\":%d}"), Number));
		}
	};
	Node->OnCanceled.AddLambda(WriteEnd);
	Node->OnEnded.AddLambda(WriteEnd);
}

void FCommentTrace::WriteNotShown(const FDanmakuData& Data, EDanmakuNotShownReason Reason,
                                  const UUI_DanmakuNode* Measured)
{
	FString Measures = TEXT(",\"width\":null,\"height\":null,\"speed\":null,\"life\":null");
	if (Measured)
	{
		const FVector2D Size = Measured->GetNodeSize();
		Measures = FString::Printf(TEXT(",\"width\":%.3f,\"height\":%.3f,\"speed\":%.3f,\"life\":%.3f"), Size.X, Size.Y,
		                           double(Measured->GetRollSpeed()), double(Measured->GetRollTime()));
	}
	WriteLine(Prefix(TEXT("not_shown")) +
	          FString::Printf(TEXT(",\"id\":%d,\"text\":%s,\"mode\":%d,\"spawn\":%s%s,\"reason\":%s}"), Data.DanmakuID,
	                          *Quote(Data.Content), int32(Data.Mode), *Number(double(Data.SpawnTime) / 1e7), *Measures,
	                          *Quote(ReasonName(Reason))));
}

void FCommentTrace::WriteNeverShown(const FString& Lesson, const FCommentDocument::FUnshowable& Comment)
{
	WriteLine(Prefix(TEXT("never_shown")) +
	          FString::Printf(TEXT(",\"lesson\":%s,\"id\":%d,\"mode\":%d,\"spawn\":%s,\"reason\":%s}"), *Quote(Lesson),
	                          Comment.Id, Comment.Mode, *Number(Comment.Seconds),
	                          *Quote(FCommentDocument::ReasonName(Comment.Reason))));
}

void FCommentTrace::WriteEvent(const FString& Event, const FString& Fields)
{
	WriteLine(Prefix(*Event) + Fields + TEXT("}"));
}

void FCommentTrace::WriteLine(const FString& Line)
{
	if (!File)
	{
		return;
	}
	if (!bOverlayWritten)
	{
		Waiting.Add(Line);
		return;
	}
	WriteRaw(Line);
}
