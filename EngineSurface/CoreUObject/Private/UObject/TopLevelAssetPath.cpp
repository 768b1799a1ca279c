#include "UObject/TopLevelAssetPath.h"

#include "AssetRegistry/AssetData.h"

FTopLevelAssetPath::FTopLevelAssetPath(const FString& Path)
{
	FString Package;
	FString Asset;
	if (Path.StartsWith(TEXT("/")) && Path.Split(TEXT("."), &Package, &Asset) && !Package.IsEmpty() && !Asset.IsEmpty())
	{
		PackageName = FName(*Package);
		AssetName = FName(*Asset);
	}
}

FString FTopLevelAssetPath::ToString() const
{
	return IsValid() ? PackageName.ToString() + TEXT(".") + AssetName.ToString() : FString();
}

FString FAssetData::GetObjectPathString() const
{
	return IsValid() ? PackageName.ToString() + TEXT(".") + AssetName.ToString() : FString();
}
