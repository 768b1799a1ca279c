#pragma once

#include "CoreMinimal.h"

// A widget's render transform. Only the translation is applied: it moves where the widget is drawn and hit,
// not where it is laid out.
struct FWidgetTransform
{
	FVector2D Translation = FVector2D::ZeroVector;
	FVector2D Scale = FVector2D(1.0, 1.0);
	float Angle = 0.0f;
};
