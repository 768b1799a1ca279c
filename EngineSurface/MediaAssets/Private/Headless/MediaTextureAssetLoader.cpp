#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Headless/AssetPaths.h"
#include "MediaPlayer.h"
#include "MediaTexture.h"
#include "Misc/Paths.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

DEFINE_LOG_CATEGORY_STATIC(LogMediaTextureAsset, Log, All);

// A media texture asset is a strict JSON object in "Content/<Folder>/<Name>.uasset", loaded as
// "/Game/<Folder>/<Name>":
//
//     { "Type": "MediaTexture", "MediaPlayer": "/Game/Media/MP_LessonPlayer", "ClearColor": "#101820",
//       "AutoClear": true }
//
// All fields but "Type" are optional: the player whose video it shows (the same object as every other reference
// to that asset path), the colour it is cleared to ("#RRGGBB" or "#RRGGBBAA", sRGB) and whether it clears.
namespace
{
UObject* LoadMediaTextureAsset(const FString& Path, const UClass* RequestedClass)
{
	if (RequestedClass && !UMediaTexture::StaticClass()->IsChildOf(RequestedClass))
	{
		return nullptr;
	}
	const TSharedPtr<FJsonObject> Object = FAssetPaths::LoadTypedAssetObject(Path, TEXT("MediaTexture"));
	if (!Object)
	{
		return nullptr;
	}
	UMediaPlayer* Player = nullptr;
	if (Object->HasField(TEXT("MediaPlayer")))
	{
		FString PlayerPath;
		if (!Object->TryGetStringField(TEXT("MediaPlayer"), PlayerPath) ||
		    !(Player = Cast<UMediaPlayer>(StaticLoadObject(UMediaPlayer::StaticClass(), nullptr, *PlayerPath))))
		{
			UE_LOG(LogMediaTextureAsset, Warning, TEXT("Media texture asset %s: \"MediaPlayer\" names no media player"),
			       *Path);
			return nullptr;
		}
	}
	const UMediaTexture* Defaults = GetDefault<UMediaTexture>();
	FLinearColor ClearColor = Defaults->ClearColor;
	if (Object->HasField(TEXT("ClearColor")))
	{
		FString Hex;
		if (!Object->TryGetStringField(TEXT("ClearColor"), Hex) || !Hex.StartsWith(TEXT("#")) ||
		    (Hex.Len() != 7 && Hex.Len() != 9))
		{
			UE_LOG(LogMediaTextureAsset, Warning, TEXT("Media texture asset %s: \"ClearColor\" is not #RRGGBB(AA)"),
			       *Path);
			return nullptr;
		}
		ClearColor = FLinearColor(FColor::FromHex(Hex));
	}
	bool bAutoClear = Defaults->AutoClear;
	if (const TSharedPtr<FJsonValue> Value = Object->TryGetField(TEXT("AutoClear")))
	{
		if (Value->Type != EJson::Boolean || !Value->TryGetBool(bAutoClear))
		{
			UE_LOG(LogMediaTextureAsset, Warning, TEXT("Media texture asset %s: \"AutoClear\" is not true or false"),
			       *Path);
			return nullptr;
		}
	}
	UMediaTexture* Texture =
	    NewObject<UMediaTexture>(nullptr, UMediaTexture::StaticClass(), FName(FPaths::GetBaseFilename(Path)));
	Texture->SetMediaPlayer(Player);
	Texture->ClearColor = ClearColor;
	Texture->AutoClear = bAutoClear;
	return Texture;
}

const bool bLoaderRegistered = []
{
	RegisterAssetLoader(&LoadMediaTextureAsset);
	return true;
}();
} // namespace
