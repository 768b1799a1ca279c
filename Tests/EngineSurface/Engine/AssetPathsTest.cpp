#include "Headless/AssetPaths.h"
#include "Headless/Utf8String.h"

#include "../Core/FileTestDirectory.h"
#include "EngineTestTypes.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"

#include <gtest/gtest.h>

namespace
{
// A project folder with Content/UI/WBP_X.uasset inside and decoy asset files outside Content/.
struct FTestProject
{
	FFileTestDirectory Directory{"AssetPaths"};
	FString OldProjectDir = FPaths::ProjectDir();

	FTestProject()
	{
		std::filesystem::create_directories(ToUtf8(Directory / "Project/Content/UI"));
		for (const char* File : {"Project/Content/UI/WBP_X.uasset", "x.uasset", "Project/b.uasset", "outside.uasset"})
		{
			FFileHelper::SaveStringToFile(TEXT("asset"), *(Directory / File));
		}
		std::filesystem::create_directory_symlink(ToUtf8(Directory.Path()), ToUtf8(Directory / "Project/Content/Link"));
		FPaths::SetProjectDir(Directory / "Project");
	}
	~FTestProject() { FPaths::SetProjectDir(OldProjectDir); }
};

TArray<FString> GLoaderFiles;

UObject* RecordingLoader(const FString& Path, const UClass* RequestedClass)
{
	FString File;
	if (!FAssetPaths::ResolveAssetFile(Path, File))
	{
		return nullptr;
	}
	GLoaderFiles.Add(File);
	return NewObject<UTimerTarget>();
}
} // namespace

TEST(AssetPaths, PackageAndObjectPathsNameTheSameFileInContent)
{
	FTestProject Project;
	const FString Expected = FPaths::ProjectContentDir() + TEXT("UI/WBP_X.uasset");
	for (const TCHAR* Path : {TEXT("/Game/UI/WBP_X"), TEXT("/Game/UI/WBP_X.WBP_X"), TEXT("/Game/UI/WBP_X.WBP_X_C")})
	{
		FString File;
		EXPECT_TRUE(FAssetPaths::ResolveAssetFile(Path, File)) << ToUtf8(Path);
		EXPECT_TRUE(File.Equals(Expected)) << ToUtf8(File);
	}
	FString File;
	EXPECT_FALSE(FAssetPaths::ResolveAssetFile(TEXT("/Game/UI/Missing"), File));
	EXPECT_FALSE(FAssetPaths::ResolveAssetFile(TEXT("/Engine/UI/WBP_X"), File));
}

TEST(AssetPaths, PathsThatLeaveContentResolveToNothing)
{
	FTestProject Project;
	const FString Paths[] = {
	    TEXT("/Game/../../x"),
	    TEXT("/Game/a/../../b"),
	    TEXT("/Game/..\\..\\x"),
	    TEXT("/Game/UI/..//../../x"),
	    TEXT("/Game//tmp/x"),
	    TEXT("/Game/./UI/WBP_X"),
	    TEXT("/Game/C:/x"),
	    TEXT("/Game/Link/outside"),
	    TEXT("/Game/Link/x"),
	    FString(TEXT("/Game/UI/WBP_X")) + FString::ConstructFromPtrSize(TEXT("\0"), 1) + TEXT("/../../../x"),
	};
	for (const FString& Path : Paths)
	{
		FString File;
		EXPECT_FALSE(FAssetPaths::ResolveAssetFile(Path, File)) << ToUtf8(Path);
	}
}

TEST(AssetPaths, EscapingPathLoadsNothingAndReachesNoLoader)
{
	FTestProject Project;
	RegisterAssetLoader(&RecordingLoader);
	GLoaderFiles.Reset();

	EXPECT_EQ(StaticLoadObject(nullptr, nullptr, TEXT("/Game/../../x")), nullptr);
	EXPECT_EQ(StaticLoadObject(nullptr, nullptr, TEXT("/Game/a/../../b")), nullptr);
	EXPECT_TRUE(GLoaderFiles.IsEmpty());

	EXPECT_NE(StaticLoadObject(nullptr, nullptr, TEXT("/Game/UI/WBP_X")), nullptr);
	ASSERT_EQ(GLoaderFiles.Num(), 1);
	EXPECT_TRUE(GLoaderFiles[0].StartsWith(FPaths::ProjectContentDir()));
}
