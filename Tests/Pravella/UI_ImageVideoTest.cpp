#include "PravellaTestTypes.h"

#include "Headless/MediaSourceRegistry.h"
#include "MediaPlayer.h"

#include <gtest/gtest.h>

TEST(UI_ImageVideo, PlaysUrlsAndFilesAndClosesItsPlayerOnceWhenDestructed)
{
	FPravellaStage Stage;
	const FString Url = TEXT("https://cdn.example.com/intro.mp4"), File = TEXT("/lessons/intro.mp4");
	FMediaSourceRegistry::Register(Url, FMediaSourceDescription());
	FMediaSourceRegistry::Register(File, FMediaSourceDescription());
	auto* Video = Stage.Show<UImageVideoTestWidget>(TEXT("/Game/Test/Pravella/WBP_TestImageVideo"));
	TStrongObjectPtr<UMediaPlayer> Player(Video->GetMediaPlayer());
	ASSERT_TRUE(Player.IsValid());
	EXPECT_TRUE(Video->Play(Url));
	EXPECT_EQ(Player->GetUrl(), Url);
	EXPECT_TRUE(Video->Play(File));
	EXPECT_EQ(Player->GetUrl(), TEXT("file://") + File);
	EXPECT_FALSE(Video->Play(TEXT("ftp://files.example.com/intro.mp4"))); // neither a URL it plays nor a file
	EXPECT_FALSE(Video->Play(TEXT("")));
	Stage.App.Advance(0.5f);
	EXPECT_TRUE(Player->IsReady());

	Video->RemoveFromParent();
	EXPECT_TRUE(Player->IsClosed());
	Video->AddToViewport();
	ASSERT_TRUE(Player->OpenUrl(Url));
	Video->RemoveFromParent();
	EXPECT_FALSE(Player->IsClosed()) << "the widget forgot the player when it closed it";
	FMediaSourceRegistry::UnregisterAll();
}
