#pragma once

#include "CoreMinimal.h"
#include "AssetRegistry/AssetData.h"

#ifndef ASSETREGISTRY_API
#define ASSETREGISTRY_API DLLEXPORT
#endif

// What assets the game has, known without loading them: in the editor from its scan of the content folder, in a
// packaged game from the registry cooked with it.
class ASSETREGISTRY_API IAssetRegistry
{
public:
	virtual ~IAssetRegistry() = default;

	// The registry; null before the module has started.
	static IAssetRegistry* Get();

	// Appends the assets of exactly that class (and of its subclasses with bSearchSubClasses); true when the
	// query could be answered.
	virtual bool GetAssetsByClass(FTopLevelAssetPath ClassPathName, TArray<FAssetData>& OutAssetData,
	                              bool bSearchSubClasses = false) const = 0;
};
