#pragma once

#include "CoreMinimal.h"

// A pointer (mouse) event: where the pointer is now and where it was at the previous event.
class FPointerEvent
{
public:
	FPointerEvent() = default;
	FPointerEvent(FVector2D InScreenSpacePosition, FVector2D InLastScreenSpacePosition)
	    : ScreenSpacePosition(InScreenSpacePosition), LastScreenSpacePosition(InLastScreenSpacePosition)
	{
	}

	const FVector2D& GetScreenSpacePosition() const { return ScreenSpacePosition; }
	const FVector2D& GetLastScreenSpacePosition() const { return LastScreenSpacePosition; }
	// How far the pointer moved since the previous event.
	FVector2D GetCursorDelta() const { return ScreenSpacePosition - LastScreenSpacePosition; }

private:
	FVector2D ScreenSpacePosition = FVector2D::ZeroVector;
	FVector2D LastScreenSpacePosition = FVector2D::ZeroVector;
};
