#include "MediaPlaylist.h"

#include "../Core/FileTestDirectory.h"
#include "FileMediaSource.h"
#include "Misc/FileHelper.h"
#include "StreamMediaSource.h"
#include "UObject/GarbageCollection.h"

#include <gtest/gtest.h>

TEST(MediaPlaylist, KeepsUrlsInOrderWithDuplicates)
{
	TStrongObjectPtr<UMediaPlaylist> Playlist(NewObject<UMediaPlaylist>());
	EXPECT_EQ(Playlist->Num(), 0);
	EXPECT_EQ(Playlist->Get(0), nullptr);
	EXPECT_TRUE(Playlist->AddUrl(TEXT("https://cdn.example.com/a.mp4")));
	EXPECT_TRUE(Playlist->AddUrl(TEXT("https://cdn.example.com/b.mp4")));
	EXPECT_TRUE(Playlist->AddUrl(TEXT("https://cdn.example.com/a.mp4")));
	EXPECT_FALSE(Playlist->AddUrl(TEXT("")));
	EXPECT_FALSE(Playlist->Add(nullptr));

	ASSERT_EQ(Playlist->Num(), 3);
	EXPECT_EQ(Playlist->Get(1)->GetUrl(), TEXT("https://cdn.example.com/b.mp4"));
	EXPECT_EQ(Playlist->Get(2)->GetUrl(), TEXT("https://cdn.example.com/a.mp4"));
	EXPECT_EQ(Playlist->Get(-1), nullptr);
	EXPECT_EQ(Playlist->Get(3), nullptr);

	EXPECT_TRUE(Playlist->RemoveAt(0));
	EXPECT_FALSE(Playlist->RemoveAt(5));
	EXPECT_EQ(Playlist->Get(0)->GetUrl(), TEXT("https://cdn.example.com/b.mp4"));
}

TEST(MediaPlaylist, AddFileTakesOnlyExistingFilesAsFileUrls)
{
	FFileTestDirectory Directory("MediaPlaylist");
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("x"), *(Directory / "Intro.mp4")));
	TStrongObjectPtr<UMediaPlaylist> Playlist(NewObject<UMediaPlaylist>());
	EXPECT_TRUE(Playlist->AddFile(Directory / "Intro.mp4"));
	EXPECT_FALSE(Playlist->AddFile(Directory / "Missing.mp4"));
	ASSERT_EQ(Playlist->Num(), 1);
	EXPECT_TRUE(Playlist->Get(0)->IsA<UFileMediaSource>());
	EXPECT_EQ(Playlist->Get(0)->GetUrl(), TEXT("file://") + (Directory / "Intro.mp4"));
}

TEST(MediaPlaylist, KeepsItsSourcesAlive)
{
	TStrongObjectPtr<UMediaPlaylist> Playlist(NewObject<UMediaPlaylist>());
	UStreamMediaSource* Source = NewObject<UStreamMediaSource>();
	Source->StreamUrl = TEXT("https://cdn.example.com/a.mp4");
	Playlist->Add(Source);
	CollectGarbage();
	ASSERT_EQ(Playlist->Num(), 1);
	EXPECT_TRUE(IsValid(Playlist->Get(0)));
	EXPECT_EQ(Playlist->Get(0)->GetUrl(), TEXT("https://cdn.example.com/a.mp4"));
}
