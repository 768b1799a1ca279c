#pragma once

#include "CoreMinimal.h"

// The payload of a positioned comment: its text is a JSON array
// [x1, y1, "a1-a2", life, text, rotZ, rotY, x2, y2, moveMs, delayMs, outline, font, linear, ...]
// authored on a stage of 672 x 438 pixels. Numbers may be written as strings. The first five fields are required;
// a missing end position is the start, a missing move duration the life, a missing delay 0; fields past the
// outline are not used. A coordinate written with a decimal point and not above 1 is a fraction of the stage,
// any other one stage pixels.
struct SKORVANE_API FDanmakuPositionedComment
{
	static constexpr double StageWidth = 672.0;
	static constexpr double StageHeight = 438.0;

	// Top-left corner of the text, in stage pixels.
	FVector2D Start = FVector2D::ZeroVector;
	FVector2D End = FVector2D::ZeroVector;
	// Opacity at the start and at the end of the life, 0 to 1.
	float AlphaFrom = 1.0f;
	float AlphaTo = 1.0f;
	// Seconds on screen.
	float Life = 0.0f;
	// "/n" of the payload is a line break here.
	FString Text;
	// Degrees: about the screen's normal (clockwise) and about the vertical axis.
	float RotateZ = 0.0f;
	float RotateY = 0.0f;
	// Seconds after appearing that the move starts, and how long it takes.
	float MoveDelay = 0.0f;
	float MoveDuration = 0.0f;
	bool bOutline = true;

	// False, with the reason in OutProblem when given, for a payload that is not such an array.
	static bool Parse(const FString& Payload, FDanmakuPositionedComment& Out, FString* OutProblem = nullptr);

	// The uniform scale and the top-left offset that fit the stage into a canvas of this size, centred.
	static void FitStage(const FVector2D& CanvasSize, double& OutScale, FVector2D& OutOffset);

	// Where the text's top-left corner is, in stage pixels, Elapsed seconds after it appeared.
	FVector2D GetPositionAt(float Elapsed) const;
	float GetAlphaAt(float Elapsed) const;
};
