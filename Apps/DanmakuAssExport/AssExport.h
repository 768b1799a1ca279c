#pragma once

#include "CoreMinimal.h"

class FJsonObject;

// Turns a preview trace (JSON lines, see Apps/Shared/CommentTrace.h) into an ASS subtitle script that
// shows every placed comment where, when, how long, how large and in which colour the engine showed it, so that
// the layout can be watched over the real video in any player that reads ASS subtitles.
class FAssExport
{
public:
	// False, with the line and the reason, for a trace that does not read: a line that is not JSON, no overlay
	// line, or a placement without the fields it needs. Lines of other kinds are skipped.
	bool ReadTrace(const FString& TraceText, FString& OutError);
	// The same a line at a time, for a trace too large to hold: BeginTrace, each line with its number from 1, then
	// EndTrace.
	void BeginTrace();
	bool ReadTraceLine(const FString& TraceLine, int32 LineNumber, FString& OutError);
	bool EndTrace(FString& OutError) const;

	// The whole script: play resolution of the overlay's size, one style, one dialogue line per placement in the
	// trace's order.
	FString WriteAss(const FString& FontName) const;
	// The same handed over a line at a time, without its line break.
	void WriteAss(const FString& FontName, TFunctionRef<void(const FString&)> WriteLine) const;

	int32 NumDialogues() const { return Placements.Num(); }

	// H:MM:SS.CC, to the nearest hundredth.
	static FString FormatTime(double Seconds);
	// Comment text as ASS dialogue text: line breaks become \N; braces and a backslash that would start an
	// override stay literal.
	static FString EscapeText(const FString& Text);

private:
	struct FPlacement
	{
		double Start = 0.0;
		double Life = 0.0;
		// Media time at which the comment left the canvas; negative when the trace does not say.
		double End = -1.0;
		FString Text;
		int32 Id = 0;
		int32 Mode = 0;
		int32 Node = 0;
		double X = 0.0;
		double Y = 0.0;
		double Speed = 0.0;
		// Left to right: a reverse comment.
		bool bLeftToRight = false;
		// A positioned comment's move, opacity and turns; bPositioned when the trace gives them.
		bool bPositioned = false;
		double EndX = 0.0;
		double EndY = 0.0;
		double MoveDelay = 0.0;
		double MoveDuration = 0.0;
		double AlphaFrom = 1.0;
		double AlphaTo = 1.0;
		double RotateZ = 0.0;
		double RotateY = 0.0;
		double LineHeight = 0.0;
		bool bOwn = false;
		FColor Color = FColor::White;
	};

	// Each reads one kind of trace line; false with the line and the reason.
	bool ReadOverlay(const FJsonObject& Event, int32 LineNumber, FString& OutError);
	bool ReadPlacement(const FJsonObject& Event, int32 LineNumber, FString& OutError);
	bool ReadEnd(const FJsonObject& Event, int32 LineNumber, FString& OutError);
	// The fields a placement may leave out, and those of older traces.
	static void ReadPlacementDetails(const FJsonObject& Event, FPlacement& Placement);
	// Numbers no run writes would overflow the script's whole numbers.
	static bool CheckPlacement(const FPlacement& Placement, int32 LineNumber, FString& OutError);

	FString WriteDialogue(const FPlacement& Placement) const;

	double Width = 0.0;
	double Height = 0.0;
	TArray<FPlacement> Placements;
	// A placement's index by its node number, for the line that ends it.
	TMap<int32, int32> PlacementOfNode;
};
