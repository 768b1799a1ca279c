#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

#include "SlateWrapperTypes.generated.h"

// Whether a widget is drawn, takes layout space and is hit by the pointer.
UENUM(BlueprintType)
enum class ESlateVisibility : uint8
{
	// Drawn and hit by the pointer.
	Visible = 0,
	// Not drawn and takes no layout space.
	Collapsed = 1,
	// Not drawn but keeps its layout space.
	Hidden = 2,
	// Drawn; neither it nor its children are hit by the pointer.
	HitTestInvisible = 3,
	// Drawn; it is not hit by the pointer, its children may be.
	SelfHitTestInvisible = 4
};
