#pragma once

#include "CoreMinimal.h"

// Space around a widget inside its slot, in slate units.
struct FMargin
{
	float Left = 0.0f;
	float Top = 0.0f;
	float Right = 0.0f;
	float Bottom = 0.0f;

	FMargin() = default;
	FMargin(float Uniform) : Left(Uniform), Top(Uniform), Right(Uniform), Bottom(Uniform) {}
	FMargin(float Horizontal, float Vertical) : Left(Horizontal), Top(Vertical), Right(Horizontal), Bottom(Vertical) {}
	FMargin(float InLeft, float InTop, float InRight, float InBottom)
	    : Left(InLeft), Top(InTop), Right(InRight), Bottom(InBottom)
	{
	}

	// The total width and height the margin takes.
	FVector2D GetDesiredSize() const { return FVector2D(Left + Right, Top + Bottom); }
	FVector2D GetTopLeft() const { return FVector2D(Left, Top); }

	bool operator==(const FMargin& Other) const
	{
		return Left == Other.Left && Top == Other.Top && Right == Other.Right && Bottom == Other.Bottom;
	}
};
