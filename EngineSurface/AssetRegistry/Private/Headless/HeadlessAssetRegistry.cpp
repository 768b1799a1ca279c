#include "Headless/HeadlessAssetRegistry.h"

#include "AssetRegistry/IAssetRegistry.h"
#include "Dom/JsonObject.h"
#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

namespace
{
// The class each kind of asset file loads as.
FTopLevelAssetPath ClassOfAssetType(const FString& Type)
{
	if (Type == TEXT("MediaPlayer"))
	{
		return FTopLevelAssetPath(FName(TEXT("/Script/MediaAssets")), FName(TEXT("MediaPlayer")));
	}
	if (Type == TEXT("WidgetBlueprint"))
	{
		return FTopLevelAssetPath(FName(TEXT("/Script/UMGEditor")), FName(TEXT("WidgetBlueprint")));
	}
	return FTopLevelAssetPath();
}

class FHeadlessRegistry final : public IAssetRegistry
{
public:
	bool GetAssetsByClass(FTopLevelAssetPath ClassPathName, TArray<FAssetData>& OutAssetData,
	                      bool bSearchSubClasses) const override
	{
		FString ContentDir = FPaths::ConvertRelativePathToFull(FPaths::ProjectContentDir());
		ContentDir.RemoveFromEnd(TEXT("/"));
		TArray<FString> Files;
		IFileManager::Get().FindFilesRecursive(Files, *ContentDir, TEXT("*.uasset"), true, false, true);
		Files.Sort();
		for (const FString& File : Files)
		{
			FString Text;
			TSharedPtr<FJsonObject> Object;
			FString Type;
			if (!File.EndsWith(TEXT(".uasset")) || !FFileHelper::LoadFileToString(Text, *File) ||
			    !FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Object) || !Object.IsValid() ||
			    !Object->TryGetStringField(TEXT("Type"), Type) || ClassOfAssetType(Type) != ClassPathName)
			{
				continue;
			}
			FString Package = File.RightChop(ContentDir.Len());
			Package.RemoveFromEnd(TEXT(".uasset"));
			FAssetData Asset;
			Asset.PackageName = FName(*(TEXT("/Game") + Package));
			Asset.PackagePath = FName(*FPaths::GetPath(TEXT("/Game") + Package));
			Asset.AssetName = FName(*FPaths::GetCleanFilename(Package));
			Asset.AssetClassPath = ClassPathName;
			OutAssetData.Add(Asset);
		}
		for (const FAssetData& Added : GetAdded())
		{
			if (Added.AssetClassPath == ClassPathName)
			{
				OutAssetData.Add(Added);
			}
		}
		return true;
	}

	static TArray<FAssetData>& GetAdded()
	{
		static TArray<FAssetData> Added;
		return Added;
	}
};
} // namespace

IAssetRegistry* IAssetRegistry::Get()
{
	static FHeadlessRegistry Registry;
	return &Registry;
}

void FHeadlessAssetRegistry::AddAsset(const FAssetData& Asset)
{
	FHeadlessRegistry::GetAdded().Add(Asset);
}

void FHeadlessAssetRegistry::RemoveAddedAssets()
{
	FHeadlessRegistry::GetAdded().Reset();
}
