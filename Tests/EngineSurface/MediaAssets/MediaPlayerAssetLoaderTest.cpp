#include "MediaTestTypes.h"
#include "Headless/Utf8String.h"

#include "Headless/MediaSourceRegistry.h"
#include "UObject/GarbageCollection.h"

#include <gtest/gtest.h>

TEST(MediaPlayerAsset, BundledLessonPlayerLoadsByPathWithItsSettings)
{
	TStrongObjectPtr<UMediaPlayer> Player(Cast<UMediaPlayer>(
	    StaticLoadObject(UMediaPlayer::StaticClass(), nullptr, TEXT("/Game/Media/MP_LessonPlayer"))));
	ASSERT_TRUE(Player.IsValid());
	EXPECT_EQ(Player->GetName(), TEXT("MP_LessonPlayer"));
	EXPECT_TRUE(Player->PlayOnOpen);
	EXPECT_FALSE(Player->Loop);
	// The same asset while it is alive, also by its object path.
	EXPECT_EQ(LoadObject<UMediaPlayer>(nullptr, TEXT("/Game/Media/MP_LessonPlayer")), Player.Get());
	EXPECT_NE(LoadObject<UMediaPlayer>(nullptr, TEXT("/Game/Media/MP_LessonPlayer.MP_LessonPlayer")), nullptr);
}

TEST(MediaPlayerAsset, LoadedSettingsDrivePlayback)
{
	FHeadlessApplication App;
	TStrongObjectPtr<UMediaPlayer> Player(LoadObject<UMediaPlayer>(nullptr, TEXT("/Game/Test/Media/MP_Looping")));
	ASSERT_TRUE(Player.IsValid());
	EXPECT_FALSE(Player->PlayOnOpen);
	EXPECT_TRUE(Player->Loop);

	FMediaSourceDescription Description;
	Description.Duration = FTimespan::FromSeconds(1.0);
	FMediaSourceRegistry::Register(TEXT("https://cdn.example.com/loop.mp4"), Description);
	Player->OpenUrl(TEXT("https://cdn.example.com/loop.mp4"));
	App.Advance(0.5f, 0.25f);
	EXPECT_TRUE(Player->IsPaused());
	Player->Play();
	App.Advance(1.5f, 0.25f);
	EXPECT_TRUE(Player->IsPlaying());
	EXPECT_EQ(Player->GetTime(), FTimespan::FromSeconds(0.5));
	FMediaSourceRegistry::UnregisterAll();
}

TEST(MediaPlayerAsset, OtherFilesDoNotLoadAsMediaPlayers)
{
	const TCHAR* Paths[] = {
	    TEXT("/Game/Test/Media/MP_BadLoop"),            // a setting that is not a boolean
	    TEXT("/Game/Test/Media/MP_TrailingComma"),      // not strict JSON
	    TEXT("/Game/Test/Media/MP_Missing"),            // no such file
	    TEXT("/Game/UI/WBP_Danmaku"),                   // another kind of asset
	    TEXT("/Game/../Content/Media/MP_LessonPlayer"), // leaves the content folder
	};
	for (const TCHAR* Path : Paths)
	{
		EXPECT_EQ(LoadObject<UMediaPlayer>(nullptr, Path), nullptr) << ToUtf8(Path);
	}
}
