#pragma once

#include "CoreMinimal.h"
#include "UObject/TopLevelAssetPath.h"

// What the asset registry knows of an asset without loading it.
struct COREUOBJECT_API FAssetData
{
	// "/Game/Media/MP_LessonPlayer"
	FName PackageName;
	// "/Game/Media"
	FName PackagePath;
	// "MP_LessonPlayer"
	FName AssetName;
	FTopLevelAssetPath AssetClassPath;

	bool IsValid() const { return !PackageName.IsNone() && !AssetName.IsNone(); }
	// "/Game/Media/MP_LessonPlayer.MP_LessonPlayer", as StaticLoadObject takes it.
	FString GetObjectPathString() const;
};
