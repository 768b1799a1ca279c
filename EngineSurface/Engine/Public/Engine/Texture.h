#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

#include "Texture.generated.h"

struct FHeadlessTexturePicture;

// A texture a material samples. The engine's texture derives from a streamable render asset and lives on the
// GPU; the headless painter reads its picture on the CPU instead.
UCLASS(Abstract)
class ENGINE_API UTexture : public UObject
{
	GENERATED_BODY()

private:
	friend class FHeadlessTextures;
	// The picture the texture holds now; false when it has none to give.
	virtual bool ReadHeadlessPicture(FHeadlessTexturePicture& OutPicture) const { return false; }
};
