#pragma once

#include "CoreMinimal.h"

// The path of an asset or class at the top of its package: "/Script/MediaAssets.MediaPlayer",
// "/Game/Media/MP_LessonPlayer.MP_LessonPlayer".
struct COREUOBJECT_API FTopLevelAssetPath
{
	FTopLevelAssetPath() = default;
	FTopLevelAssetPath(FName InPackageName, FName InAssetName) : PackageName(InPackageName), AssetName(InAssetName) {}
	// From "/Package/Path.AssetName"; empty when the text has no '.' after the package.
	explicit FTopLevelAssetPath(const FString& Path);

	FName GetPackageName() const { return PackageName; }
	FName GetAssetName() const { return AssetName; }
	bool IsValid() const { return !PackageName.IsNone() && !AssetName.IsNone(); }
	FString ToString() const;

	bool operator==(const FTopLevelAssetPath& Other) const
	{
		return PackageName == Other.PackageName && AssetName == Other.AssetName;
	}
	bool operator!=(const FTopLevelAssetPath& Other) const { return !(*this == Other); }

private:
	FName PackageName;
	FName AssetName;
};
