#pragma once

#include "CoreMinimal.h"

#ifndef SLATECORE_API
#define SLATECORE_API DLLEXPORT
#endif

// Where a widget was laid out: its size in its own space and its top-left corner in viewport space. The
// headless viewport never scales, so local and absolute units are the same.
struct SLATECORE_API FGeometry
{
	FGeometry() = default;
	FGeometry(FVector2D InAbsolutePosition, FVector2D InLocalSize)
	    : AbsolutePosition(InAbsolutePosition), LocalSize(InLocalSize)
	{
	}

	// The size the widget was given by its parent.
	const FVector2D& GetLocalSize() const { return LocalSize; }
	FVector2D GetAbsolutePosition() const { return AbsolutePosition; }
	FVector2D GetAbsoluteSize() const { return LocalSize * Scale; }
	float GetAccumulatedRenderTransformScale() const { return Scale; }

	FVector2D LocalToAbsolute(FVector2D LocalPoint) const { return AbsolutePosition + LocalPoint * Scale; }
	FVector2D AbsoluteToLocal(FVector2D AbsolutePoint) const { return (AbsolutePoint - AbsolutePosition) / Scale; }
	// True when the absolute point lies inside the widget's rectangle.
	bool IsUnderLocation(FVector2D AbsolutePoint) const;

	// The geometry of a child placed at LocalOffset with LocalSize inside this one.
	FGeometry MakeChild(FVector2D ChildOffset, FVector2D ChildSize) const
	{
		return FGeometry(LocalToAbsolute(ChildOffset), ChildSize);
	}

	bool operator==(const FGeometry& Other) const
	{
		return AbsolutePosition == Other.AbsolutePosition && LocalSize == Other.LocalSize;
	}

private:
	FVector2D AbsolutePosition = FVector2D::ZeroVector;
	FVector2D LocalSize = FVector2D::ZeroVector;
	float Scale = 1.0f;
};
