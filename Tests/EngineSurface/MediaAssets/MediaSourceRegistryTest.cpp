#include "Headless/MediaSourceRegistry.h"
#include "Headless/Utf8String.h"

#include "../Core/FileTestDirectory.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"

#include <gtest/gtest.h>

namespace
{
struct FRegistryCleanup
{
	~FRegistryCleanup() { FMediaSourceRegistry::UnregisterAll(); }
};
} // namespace

TEST(MediaSourceRegistry, DescriptionTextSetsTheGivenKeysAndKeepsDefaults)
{
	FRegistryCleanup Cleanup;
	const FString Text = TEXT("# lessons\n"
	                          "[https://cdn.example.com/one.mp4]\n"
	                          "Duration = 754.5\n"
	                          "CanSeek=false\n"
	                          "CacheRate=4\n"
	                          "\n"
	                          "[https://cdn.example.com/two.mp4]\r\n"
	                          "FailsToOpen=true\r\n"
	                          "OpenSeconds=2\r\n"
	                          "SeekSeconds=0.5\r\n");
	ASSERT_TRUE(FMediaSourceRegistry::LoadFromString(Text));

	const FMediaSourceDescription* One = FMediaSourceRegistry::Find(TEXT("https://cdn.example.com/one.mp4"));
	ASSERT_NE(One, nullptr);
	EXPECT_EQ(One->Duration, FTimespan::FromSeconds(754.5));
	EXPECT_FALSE(One->bCanSeek);
	EXPECT_EQ(One->CacheRate, 4.0);
	EXPECT_EQ(One->OpenSeconds, FMediaSourceDescription().OpenSeconds);
	EXPECT_FALSE(One->bFailsToOpen);

	const FMediaSourceDescription* Two = FMediaSourceRegistry::Find(TEXT("HTTPS://cdn.example.com/two.mp4"));
	ASSERT_NE(Two, nullptr);
	EXPECT_TRUE(Two->bFailsToOpen);
	EXPECT_EQ(Two->OpenSeconds, 2.0);
	EXPECT_EQ(Two->SeekSeconds, 0.5);
	EXPECT_EQ(Two->Duration, FMediaSourceDescription().Duration);
}

TEST(MediaSourceRegistry, UnreadableTextRegistersNothing)
{
	FRegistryCleanup Cleanup;
	const TCHAR* Broken[] = {
	    TEXT("[https://a.example/x.mp4]\nDuration=abc\n"),  TEXT("[https://a.example/x.mp4]\nDuration=-5\n"),
	    TEXT("[https://a.example/x.mp4]\nCanSeek=maybe\n"), TEXT("[https://a.example/x.mp4]\nColour=red\n"),
	    TEXT("Duration=5\n[https://a.example/x.mp4]\n"),    TEXT("[https://a.example/x.mp4]\nDuration 5\n"),
	};
	for (const TCHAR* Text : Broken)
	{
		EXPECT_FALSE(FMediaSourceRegistry::LoadFromString(Text)) << ToUtf8(Text);
		EXPECT_EQ(FMediaSourceRegistry::Find(TEXT("https://a.example/x.mp4")), nullptr) << ToUtf8(Text);
	}
	EXPECT_FALSE(FMediaSourceRegistry::LoadFromFile(TEXT("/nonexistent/media.txt")));
}

TEST(MediaSourceRegistry, LocalPathsAndFileUrlsNameTheSameSource)
{
	FRegistryCleanup Cleanup;
	FFileTestDirectory Directory("MediaSourceRegistry");
	FMediaSourceDescription Description;
	Description.Duration = FTimespan::FromSeconds(12.0);
	FMediaSourceRegistry::Register(Directory / "a.mp4", Description);
	const FMediaSourceDescription* ByUrl = FMediaSourceRegistry::Find(TEXT("file://") + (Directory / "a.mp4"));
	ASSERT_NE(ByUrl, nullptr);
	EXPECT_EQ(ByUrl->Duration, FTimespan::FromSeconds(12.0));

	// A relative path is taken from the Content folder.
	FMediaSourceRegistry::Register(TEXT("Movies/b.mp4"), Description);
	EXPECT_NE(FMediaSourceRegistry::Find(TEXT("file://") + FPaths::ProjectContentDir() + TEXT("Movies/b.mp4")),
	          nullptr);

	FMediaSourceRegistry::Unregister(TEXT("file://") + (Directory / "a.mp4"));
	EXPECT_EQ(FMediaSourceRegistry::Find(Directory / "a.mp4"), nullptr);
}

TEST(MediaSourceRegistry, LoadsADescriptionFile)
{
	FRegistryCleanup Cleanup;
	FFileTestDirectory Directory("MediaSourceRegistryFile");
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("[https://cdn.example.com/c.mp4]\nDuration=61\n"),
	                                          *(Directory / "media.txt")));
	ASSERT_TRUE(FMediaSourceRegistry::LoadFromFile(Directory / "media.txt"));
	const FMediaSourceDescription* Found = FMediaSourceRegistry::Find(TEXT("https://cdn.example.com/c.mp4"));
	ASSERT_NE(Found, nullptr);
	EXPECT_EQ(Found->Duration, FTimespan::FromSeconds(61.0));
}
