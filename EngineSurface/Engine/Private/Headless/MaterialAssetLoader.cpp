#include "Dom/JsonObject.h"
#include "Engine/Texture.h"
#include "Headless/AssetPaths.h"
#include "Headless/HeadlessTextures.h"
#include "Materials/Material.h"
#include "Misc/Paths.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

DEFINE_LOG_CATEGORY_STATIC(LogMaterialAsset, Log, All);

// A material asset is a strict JSON object in "Content/<Folder>/<Name>.uasset", loaded as "/Game/<Folder>/<Name>":
//
//     { "Type": "Material", "Texture": "/Game/Media/T_LessonVideo" }
//
// "Texture" (optional) names the texture the material draws across its brush; a material without one draws as
// its brush's tint. Files of another "Type" are left to the other asset loaders.
namespace
{
UObject* LoadMaterialAsset(const FString& Path, const UClass* RequestedClass)
{
	if (RequestedClass && !UMaterial::StaticClass()->IsChildOf(RequestedClass))
	{
		return nullptr;
	}
	const TSharedPtr<FJsonObject> Object = FAssetPaths::LoadTypedAssetObject(Path, TEXT("Material"));
	if (!Object)
	{
		return nullptr;
	}
	UTexture* Texture = nullptr;
	if (Object->HasField(TEXT("Texture")))
	{
		FString TexturePath;
		if (!Object->TryGetStringField(TEXT("Texture"), TexturePath) ||
		    !(Texture = Cast<UTexture>(StaticLoadObject(UTexture::StaticClass(), nullptr, *TexturePath))))
		{
			UE_LOG(LogMaterialAsset, Warning, TEXT("Material asset %s: \"Texture\" names no texture asset"), *Path);
			return nullptr;
		}
	}
	FString Name = FPaths::GetBaseFilename(Path);
	UMaterial* Material = NewObject<UMaterial>(nullptr, UMaterial::StaticClass(), FName(Name));
	FHeadlessTextures::SetMaterialTexture(Material, Texture);
	return Material;
}

const bool bLoaderRegistered = []
{
	RegisterAssetLoader(&LoadMaterialAsset);
	return true;
}();
} // namespace
