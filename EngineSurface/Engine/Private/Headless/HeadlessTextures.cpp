#include "Headless/HeadlessTextures.h"

#include "Engine/Texture.h"
#include "Materials/Material.h"

void FHeadlessTextures::SetMaterialTexture(UMaterial* Material, UTexture* Texture)
{
	if (Material)
	{
		Material->HeadlessTexture = Texture;
	}
}

UTexture* FHeadlessTextures::GetMaterialTexture(const UMaterialInterface* Material)
{
	const UMaterial* AsMaterial = Cast<UMaterial>(Material);
	return AsMaterial ? AsMaterial->HeadlessTexture.Get() : nullptr;
}

bool FHeadlessTextures::ReadPicture(const UTexture* Texture, FHeadlessTexturePicture& OutPicture)
{
	return Texture && Texture->ReadHeadlessPicture(OutPicture);
}

bool FHeadlessTextures::ReadMaterialPicture(const UMaterialInterface* Material, FHeadlessTexturePicture& OutPicture)
{
	return ReadPicture(GetMaterialTexture(Material), OutPicture);
}
