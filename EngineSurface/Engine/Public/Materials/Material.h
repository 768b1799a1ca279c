#pragma once

#include "CoreMinimal.h"
#include "Materials/MaterialInterface.h"

#include "Material.generated.h"

// A material asset. The headless renderer draws a material brush as its tint, so it holds nothing more.
UCLASS()
class ENGINE_API UMaterial : public UMaterialInterface
{
	GENERATED_BODY()
};
