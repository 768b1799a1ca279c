#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Headless/AssetPaths.h"
#include "MediaPlayer.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

DEFINE_LOG_CATEGORY_STATIC(LogMediaPlayerAsset, Log, All);

// A media player asset is a strict JSON object in "Content/<Folder>/<Name>.uasset", loaded as "/Game/<Folder>/
// <Name>":
//
//     { "Type": "MediaPlayer", "PlayOnOpen": true, "Loop": false, "CacheBehind": 30 }
//
// "PlayOnOpen" and "Loop" are optional booleans, "CacheBehind" optional seconds (absent: the class defaults);
// any other field is ignored.
// Files of another "Type" are left to the other asset loaders.
namespace
{
bool ReadOptionalBool(const FJsonObject& Object, const TCHAR* Field, bool& InOutValue, const FString& Path)
{
	const TSharedPtr<FJsonValue> Value = Object.TryGetField(Field);
	if (!Value.IsValid())
	{
		return true;
	}
	// Only JSON true and false: the reader would also take "yes" or 1 as a boolean.
	if (Value->Type != EJson::Boolean || !Value->TryGetBool(InOutValue))
	{
		UE_LOG(LogMediaPlayerAsset, Warning, TEXT("Media player asset %s: \"%s\" is not true or false"), *Path, Field);
		return false;
	}
	return true;
}

FName GetAssetName(const FString& Path)
{
	FString Name = Path;
	int32 Slash = INDEX_NONE;
	if (Name.FindLastChar('/', Slash))
	{
		Name = Name.Mid(Slash + 1);
	}
	int32 Dot = INDEX_NONE;
	if (Name.FindChar('.', Dot))
	{
		Name = Name.Left(Dot);
	}
	return FName(Name);
}

UObject* LoadMediaPlayerAsset(const FString& Path, const UClass* RequestedClass)
{
	if (RequestedClass && !UMediaPlayer::StaticClass()->IsChildOf(RequestedClass))
	{
		return nullptr;
	}
	FString Text;
	if (!FAssetPaths::LoadAssetFileToString(Path, Text))
	{
		return nullptr;
	}
	TSharedPtr<FJsonObject> Object;
	if (!FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Object) || !Object.IsValid())
	{
		return nullptr;
	}
	FString Type;
	if (!Object->TryGetStringField(TEXT("Type"), Type) || Type != TEXT("MediaPlayer"))
	{
		return nullptr;
	}
	const UMediaPlayer* Defaults = GetDefault<UMediaPlayer>();
	bool bPlayOnOpen = Defaults->PlayOnOpen;
	bool bLoop = Defaults->Loop;
	if (!ReadOptionalBool(*Object, TEXT("PlayOnOpen"), bPlayOnOpen, Path) ||
	    !ReadOptionalBool(*Object, TEXT("Loop"), bLoop, Path))
	{
		return nullptr;
	}
	double CacheBehindSeconds = Defaults->CacheBehind.GetTotalSeconds();
	if (const TSharedPtr<FJsonValue> Value = Object->TryGetField(TEXT("CacheBehind")))
	{
		if (Value->Type != EJson::Number || !Value->TryGetNumber(CacheBehindSeconds) ||
		    !(CacheBehindSeconds >= 0.0 && CacheBehindSeconds <= 86400.0))
		{
			UE_LOG(LogMediaPlayerAsset, Warning,
			       TEXT("Media player asset %s: \"CacheBehind\" is not 0 to 86400 seconds"), *Path);
			return nullptr;
		}
	}
	UMediaPlayer* Player = NewObject<UMediaPlayer>(nullptr, UMediaPlayer::StaticClass(), GetAssetName(Path));
	Player->PlayOnOpen = bPlayOnOpen;
	Player->Loop = bLoop;
	Player->CacheBehind = FTimespan::FromSeconds(CacheBehindSeconds);
	return Player;
}

const bool bLoaderRegistered = []
{
	RegisterAssetLoader(&LoadMediaPlayerAsset);
	return true;
}();
} // namespace
