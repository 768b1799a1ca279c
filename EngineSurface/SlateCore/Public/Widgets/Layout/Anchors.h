#pragma once

#include "CoreMinimal.h"

// Where a canvas child is pinned, as fractions of the canvas size: a point when Minimum equals Maximum,
// a stretch between the two otherwise.
struct FAnchors
{
	FVector2D Minimum = FVector2D::ZeroVector;
	FVector2D Maximum = FVector2D::ZeroVector;

	FAnchors() = default;
	FAnchors(float UnifiedAnchor) : Minimum(UnifiedAnchor, UnifiedAnchor), Maximum(UnifiedAnchor, UnifiedAnchor) {}
	FAnchors(float Horizontal, float Vertical) : Minimum(Horizontal, Vertical), Maximum(Horizontal, Vertical) {}
	FAnchors(float MinX, float MinY, float MaxX, float MaxY) : Minimum(MinX, MinY), Maximum(MaxX, MaxY) {}

	bool IsStretchedHorizontal() const { return Minimum.X != Maximum.X; }
	bool IsStretchedVertical() const { return Minimum.Y != Maximum.Y; }
};
