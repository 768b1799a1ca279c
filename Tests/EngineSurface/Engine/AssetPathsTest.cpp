#include "Headless/AssetPaths.h"
#include "Headless/Utf8String.h"

#include "../Core/FileTestDirectory.h"
#include "EngineTestTypes.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

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

TEST(AssetPaths, LoadReadsOnlyFilesInsideContentEvenWhileALinkIsSwapped)
{
	FTestProject Project;
	FFileHelper::SaveStringToFile(TEXT("inside"), *(Project.Directory / "Project/Content/UI/Inside.uasset"));
	FFileHelper::SaveStringToFile(TEXT("outside"), *(Project.Directory / "outside.uasset"));
	FString Text;
	EXPECT_TRUE(FAssetPaths::LoadAssetFileToString(TEXT("/Game/UI/Inside"), Text));
	EXPECT_EQ(Text, TEXT("inside"));
	EXPECT_FALSE(FAssetPaths::LoadAssetFileToString(TEXT("/Game/Link/outside"), Text));
	EXPECT_FALSE(FAssetPaths::LoadAssetFileToString(TEXT("/Game/../outside"), Text));

	// Content/Swap.uasset is a link that another thread keeps turning between the file inside and the one
	// outside, as an attacker would between the check and the read.
	const std::string Swap = ToUtf8(Project.Directory / "Project/Content/Swap.uasset");
	const std::string Outside = ToUtf8(Project.Directory / "outside.uasset");
	std::filesystem::create_symlink("UI/Inside.uasset", Swap);
	std::atomic<bool> bStop = false;
	std::thread Swapper(
	    [&]
	    {
		    for (int32 Turn = 0; !bStop; ++Turn)
		    {
			    std::error_code Error;
			    std::filesystem::create_symlink(Turn % 2 ? "UI/Inside.uasset" : Outside, Swap + ".new", Error);
			    std::filesystem::rename(Swap + ".new", Swap, Error);
		    }
	    });
	int32 ReadInside = 0;
	int32 ReadOutside = 0;
	for (int32 Try = 0; Try < 20000; ++Try)
	{
		if (FAssetPaths::LoadAssetFileToString(TEXT("/Game/Swap"), Text))
		{
			ReadInside += Text == TEXT("inside") ? 1 : 0;
			ReadOutside += Text == TEXT("outside") ? 1 : 0;
		}
	}
	bStop = true;
	Swapper.join();
	EXPECT_EQ(ReadOutside, 0);
	EXPECT_GT(ReadInside, 0);
}
