#include "MediaSoundComponent.h"

#include "Headless/HeadlessApplication.h"
#include "MediaPlayer.h"
#include "UObject/GarbageCollection.h"

#include <gtest/gtest.h>

TEST(MediaSoundComponent, AudioComponentExistsOnceRegisteredAndTakesTheVolume)
{
	FHeadlessApplication App;
	TStrongObjectPtr<UMediaSoundComponent> Sound(NewObject<UMediaSoundComponent>());
	EXPECT_EQ(Sound->GetAudioComponent(), nullptr);
	// Set before registering: the audio component starts with it.
	Sound->SetVolumeMultiplier(0.25f);

	Sound->RegisterComponentWithWorld(App.GetWorld());
	ASSERT_NE(Sound->GetAudioComponent(), nullptr);
	EXPECT_EQ(Sound->GetWorld(), App.GetWorld());
	EXPECT_EQ(Sound->GetAudioComponent()->VolumeMultiplier, 0.25f);
	EXPECT_TRUE(Sound->IsPlaying());

	Sound->SetVolumeMultiplier(0.75f);
	EXPECT_EQ(Sound->GetAudioComponent()->VolumeMultiplier, 0.75f);

	Sound->Stop();
	EXPECT_FALSE(Sound->IsPlaying());
	EXPECT_FALSE(Sound->GetAudioComponent()->IsPlaying());
}

TEST(MediaSoundComponent, KeepsItsPlayerAndAudioComponentAlive)
{
	FHeadlessApplication App;
	TStrongObjectPtr<UMediaSoundComponent> Sound(NewObject<UMediaSoundComponent>());
	Sound->RegisterComponentWithWorld(App.GetWorld());
	Sound->SetMediaPlayer(NewObject<UMediaPlayer>());
	CollectGarbage();
	EXPECT_TRUE(IsValid(Sound->GetMediaPlayer()));
	EXPECT_TRUE(IsValid(Sound->GetAudioComponent()));
}
