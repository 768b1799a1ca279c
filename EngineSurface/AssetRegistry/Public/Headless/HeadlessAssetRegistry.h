#pragma once

#include "CoreMinimal.h"
#include "AssetRegistry/AssetData.h"

// The headless registry scans the project's content folder on every query, as the editor's registry knows the
// files there. Tests add assets that have no file, as a packaged game's registry knows assets inside its paks.
class ASSETREGISTRY_API FHeadlessAssetRegistry
{
public:
	static void AddAsset(const FAssetData& Asset);
	static void RemoveAddedAssets();
};
