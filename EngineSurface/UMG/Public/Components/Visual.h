#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

#include "Visual.generated.h"

// The base of everything in a widget tree: widgets and the slots that hold them.
UCLASS(Abstract)
class UMG_API UVisual : public UObject
{
	GENERATED_BODY()
};
