#include "PreviewTrace.h"

#include "DanmakuTrackManager.h"
#include "Fonts/FontMeasure.h"
#include "UI_DanmakuNode.h"

FPreviewTrace::~FPreviewTrace()
{
	if (File)
	{
		std::fclose(File);
	}
}

bool FPreviewTrace::Open(const FString& Path)
{
	File = std::fopen(TCHAR_TO_UTF8(*Path), "wb");
	return File != nullptr;
}

FString FPreviewTrace::Quote(const FString& Text)
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

FString FPreviewTrace::ReasonName(EDanmakuNotShownReason Reason)
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
	}
	return TEXT("unknown");
}

void FPreviewTrace::WriteOverlay(double ClockSeconds, const FVector2D& Size, double LaneHeight)
{
	WriteLine(FString::Printf(TEXT("{\"event\":\"overlay\",\"clock\":%.4f,\"width\":%.3f,\"height\":%.3f,"
	                               "\"lane_height\":%.4f}"),
	                          ClockSeconds, Size.X, Size.Y, LaneHeight));
}

void FPreviewTrace::WritePlacement(double ClockSeconds, double MediaSeconds, const FDanmakuPlacement& Placement,
                                   int32 NodeNumber)
{
	const UUI_DanmakuNode* Node = Placement.Node;
	const FDanmakuData& Data = Node->GetData();
	const FVector2D Position = Node->GetPosition();
	const FVector2D Size = Node->GetNodeSize();
	// One line of the comment's font, as the renderer measures it: what a subtitle renderer sizes its font by.
	FSlateFontInfo Font;
	Font.Size = float(Data.FontSize);
	const double LineHeight = FSlateFontMeasure::Get().GetMaxCharacterHeight(Font);
	WriteLine(FString::Printf(
	    TEXT("{\"event\":\"placed\",\"clock\":%.4f,\"media\":%.4f,\"id\":%d,\"text\":%s,\"mode\":%d,\"first_lane\":%d,"
	         "\"lanes\":%d,\"x\":%.3f,\"y\":%.3f,\"width\":%.3f,\"height\":%.3f,\"speed\":%.3f,\"life\":%.3f,"
	         "\"own\":%s,\"node\":%d,\"font_size\":%d,\"line_height\":%.3f,\"color\":%s}"),
	    ClockSeconds, MediaSeconds, Data.DanmakuID, *Quote(Data.Content), int32(Data.Mode), Placement.FirstLane,
	    Placement.LaneCount, Position.X, Position.Y, Size.X, Size.Y, double(Node->GetRollSpeed()),
	    double(Node->GetRollTime()), Placement.bUserNode ? TEXT("true") : TEXT("false"), NodeNumber, Data.FontSize,
	    LineHeight, *Quote(FColor::FromHex(Data.FontColor).ToHex())));
}

void FPreviewTrace::WriteEnded(double ClockSeconds, double MediaSeconds, int32 NodeNumber)
{
	WriteLine(FString::Printf(TEXT("{\"event\":\"ended\",\"clock\":%.4f,\"media\":%.4f,\"node\":%d}"), ClockSeconds,
	                          MediaSeconds, NodeNumber));
}

void FPreviewTrace::WriteNotShown(double ClockSeconds, double MediaSeconds, const FDanmakuData& Data,
                                  EDanmakuNotShownReason Reason)
{
	WriteLine(FString::Printf(
	    TEXT("{\"event\":\"not_shown\",\"clock\":%.4f,\"media\":%.4f,\"id\":%d,\"mode\":%d,\"reason\":%s}"),
	    ClockSeconds, MediaSeconds, Data.DanmakuID, int32(Data.Mode), *Quote(ReasonName(Reason))));
}

void FPreviewTrace::WriteLine(const FString& Line)
{
	if (File)
	{
		const FTCHARToUTF8 Utf8(*Line);
		std::fwrite(Utf8.Get(), 1, size_t(Utf8.Length()), File);
		std::fputc('\n', File);
	}
}
