#pragma once

#include "CoreMinimal.h"
#include "Materials/MaterialInterface.h"

#include "Material.generated.h"

class UTexture;

// A material asset. The headless renderer draws a material brush as its tint, or, for a material that samples a
// texture (a video's media texture), as that texture's picture (see FHeadlessTextures).
UCLASS()
class ENGINE_API UMaterial : public UMaterialInterface
{
	GENERATED_BODY()

private:
	friend class FHeadlessTextures;

	UPROPERTY()
	TObjectPtr<UTexture> HeadlessTexture;
};
