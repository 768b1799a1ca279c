#pragma once

#include "CoreMinimal.h"

class UMaterial;
class UMaterialInterface;
class UTexture;

// What a texture shows at the moment, for the headless painter.
struct FHeadlessTexturePicture
{
	// The picture, sRGB, row by row from the top; empty when the texture shows only its fill.
	TArray<FColor> Pixels;
	FIntPoint Size = FIntPoint(0, 0);
	// What is drawn where the picture is not: all of the brush's box when there is no picture, else the bands
	// beside a picture scaled to fit.
	FLinearColor Fill = FLinearColor::Black;
};

// The headless renderer's view of materials: a material asset may name one texture it draws across the brush
// (the material graph of the engine, reduced to the one case the player's video picture needs).
class ENGINE_API FHeadlessTextures
{
public:
	static void SetMaterialTexture(UMaterial* Material, UTexture* Texture);
	static UTexture* GetMaterialTexture(const UMaterialInterface* Material);
	// The texture's picture now; false when it has none to give.
	static bool ReadPicture(const UTexture* Texture, FHeadlessTexturePicture& OutPicture);
	// The picture of the material's texture; false when the material samples no texture or it has nothing.
	static bool ReadMaterialPicture(const UMaterialInterface* Material, FHeadlessTexturePicture& OutPicture);
};
