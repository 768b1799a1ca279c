#include "PravellaTestStage.h"

#include "Headless/MediaSourceRegistry.h"
#include "MediaPlayer.h"

#include <gtest/gtest.h>

TEST(UI_ImageVideo, PlaysUrlsAndFilesThroughTheAssetsMediaPlayer)
{
	FPravellaTestStage Stage;
	const FString Url = TEXT("https://cdn.example.com/lessons/intro.mp4");
	const FString File = TEXT("/lessons/local/intro.mp4");
	FMediaSourceRegistry::Register(Url, FMediaSourceDescription());
	FMediaSourceRegistry::Register(File, FMediaSourceDescription());
	UImageVideoTestWidget* Video = Stage.Show<UImageVideoTestWidget>(TEXT("/Game/Test/Pravella/WBP_TestImageVideo"));
	ASSERT_NE(Video, nullptr);
	UMediaPlayer* Player = Video->GetMediaPlayer();
	ASSERT_NE(Player, nullptr);
	EXPECT_EQ(Video->InitMadiaCount, 1);

	EXPECT_TRUE(Video->Play(Url));
	Stage.App.Advance(0.5f);
	EXPECT_TRUE(Player->IsReady());
	EXPECT_EQ(Player->GetUrl(), Url);

	EXPECT_TRUE(Video->Play(File));
	Stage.App.Advance(0.5f);
	EXPECT_TRUE(Player->IsReady());
	EXPECT_EQ(Player->GetUrl(), TEXT("file://") + File);

	// Refused as a URL, then not found as a file.
	EXPECT_FALSE(Video->Play(TEXT("ftp://files.example.com/intro.mp4")));
	EXPECT_FALSE(Video->Play(TEXT("")));
	EXPECT_EQ(Player->GetUrl(), TEXT("file://") + File);

	Video->SetMediaPlayer(nullptr);
	EXPECT_FALSE(Video->Play(Url));
	FMediaSourceRegistry::UnregisterAll();
}

TEST(UI_ImageVideo, DestructionClosesTheMediaPlayerOnceAndForgetsIt)
{
	FPravellaTestStage Stage;
	const FString Url = TEXT("https://cdn.example.com/lessons/intro.mp4");
	FMediaSourceRegistry::Register(Url, FMediaSourceDescription());
	UImageVideoTestWidget* Video = Stage.Show<UImageVideoTestWidget>(TEXT("/Game/Test/Pravella/WBP_TestImageVideo"));
	ASSERT_NE(Video, nullptr);
	TStrongObjectPtr<UMediaPlayer> Player(Video->GetMediaPlayer());
	ASSERT_TRUE(Video->Play(Url));
	Stage.App.Advance(0.5f);

	Video->RemoveFromParent();
	EXPECT_TRUE(Player->IsClosed());
	EXPECT_EQ(Video->GetMediaPlayer(), nullptr);

	// Constructed again, the widget prepares again but no longer drives the player, so it leaves it open.
	Video->AddToViewport();
	Stage.App.Tick(FPravellaTestStage::Frame);
	EXPECT_EQ(Video->InitMadiaCount, 2);
	ASSERT_TRUE(Player->OpenUrl(Url));
	Video->RemoveFromParent();
	EXPECT_FALSE(Player->IsClosed());
	FMediaSourceRegistry::UnregisterAll();
}
