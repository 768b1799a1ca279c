#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

#include "MaterialInterface.generated.h"

// A material a brush can draw with. The headless renderer draws brushes as their tint, so it holds nothing.
UCLASS()
class ENGINE_API UMaterialInterface : public UObject
{
	GENERATED_BODY()
};
