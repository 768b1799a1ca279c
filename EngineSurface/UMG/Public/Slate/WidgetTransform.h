#pragma once

#include "CoreMinimal.h"

// A widget's render transform: it changes where the widget is drawn, not where it is laid out. Scale, then
// shear, then the angle (degrees, clockwise on screen) apply about the widget's pivot; then the translation.
struct FWidgetTransform
{
	FVector2D Translation = FVector2D::ZeroVector;
	FVector2D Scale = FVector2D(1.0, 1.0);
	FVector2D Shear = FVector2D::ZeroVector;
	float Angle = 0.0f;

	bool IsIdentity() const
	{
		return Translation.IsZero() && Scale == FVector2D(1.0, 1.0) && Shear.IsZero() && Angle == 0.0f;
	}
};
