#include "PravellaTestTypes.h"

#include <gtest/gtest.h>

TEST(UI_VolumeButton, HoverOpensThePanelAndMutingRestoresTheVolumeBeforeIt)
{
	FPravellaStage Stage;
	auto* Player = Stage.Show<UVolumeStandInPlayer>(TEXT("/Game/Test/Pravella/WBP_VolumeStandIn"));
	auto* MuteBox = Cast<UCheckBox>(Player->GetVolumeButton()->GetWidgetFromName(TEXT("VolumeButton")));
	auto* Slider = Cast<USlider>(Player->GetVolumeProgress()->GetWidgetFromName(TEXT("VolumeProgress")));
	auto PanelShown = [&] { return Player->GetVolumeProgress()->GetVisibility() == ESlateVisibility::Visible; };
	EXPECT_FALSE(PanelShown());

	Stage.Click(FPravellaStage::At(MuteBox), false);
	EXPECT_TRUE(PanelShown());
	Stage.Click(FPravellaStage::At(Slider, 0.6)); // leaving the box and entering the slider change nothing
	Stage.App.Advance(0.5f);
	EXPECT_TRUE(PanelShown());
	EXPECT_NEAR(Player->GetVolumeMultiplier(), 0.6f, 1.0e-4f);
	Stage.Click(FVector2D(20.0, 400.0), false);
	Stage.App.Advance(0.3f);
	EXPECT_FALSE(PanelShown());

	Stage.Click(FPravellaStage::At(MuteBox));
	EXPECT_FLOAT_EQ(Player->GetVolumeMultiplier(), 0.0f);
	EXPECT_NEAR(Slider->GetValue(), 0.6f, 1.0e-4f);
	// Moving the slider while muted applies at once; unmuting restores the volume saved when muting.
	Stage.Click(FPravellaStage::At(Slider, 0.3));
	EXPECT_NEAR(Player->GetVolumeMultiplier(), 0.3f, 1.0e-4f);
	EXPECT_TRUE(MuteBox->IsChecked());
	Stage.Click(FPravellaStage::At(MuteBox));
	EXPECT_NEAR(Player->GetVolumeMultiplier(), 0.6f, 1.0e-4f);

	Player->GetVolumeButton()->SetParent(nullptr); // without a player the box only toggles itself
	Stage.Click(FPravellaStage::At(MuteBox));
	EXPECT_TRUE(MuteBox->IsChecked());
	EXPECT_NEAR(Player->GetVolumeMultiplier(), 0.6f, 1.0e-4f);
}

// The sound output leaves the world with the player, and a player constructed again, even with another media
// player, plays that one's sound at the level it had.
TEST(UI_VolumeButton, TheSoundOutputFollowsThePlayerAndItsMediaPlayerAcrossRebuilds)
{
	FPravellaStage Stage;
	auto* Player = Stage.Show<UVolumeStandInPlayer>(TEXT("/Game/Test/Pravella/WBP_VolumeStandIn"));
	UMediaSoundComponent* Sound = Player->GetSound();
	ASSERT_NE(Sound, nullptr);
	EXPECT_TRUE(Sound->IsRegistered());
	Player->SetVolumeMultiplier(0.7f);

	Player->RemoveFromParent();
	Stage.App.Tick(FPravellaStage::Frame);
	EXPECT_FALSE(Sound->IsRegistered());
	EXPECT_FALSE(Sound->IsPlaying());

	UMediaPlayer* Other = NewObject<UMediaPlayer>(Player);
	Player->NextMediaPlayer = Other;
	Player->AddToViewport();
	Stage.App.Tick(FPravellaStage::Frame);
	EXPECT_EQ(Player->GetSound(), Sound);
	EXPECT_TRUE(Sound->IsRegistered());
	EXPECT_EQ(Sound->GetMediaPlayer(), Other);
	EXPECT_TRUE(Sound->IsPlaying());
	EXPECT_NEAR(Player->GetVolumeMultiplier(), 0.7f, 1.0e-4f);
}

// The mute box as it stands when the player is constructed is applied to the sound, and unmuting restores the level
// the sound had; without any sound output the player answers the level it was given.
TEST(UI_VolumeButton, AMuteBoxCheckedBeforeConstructionSilencesThePlayer)
{
	FPravellaStage Stage;
	auto* Player = CreateWidget<UVolumeStandInPlayer>(
	    Stage.App.GetWorld(),
	    StaticLoadClass(UVolumeStandInPlayer::StaticClass(), nullptr, TEXT("/Game/Test/Pravella/WBP_VolumeStandIn")));
	ASSERT_NE(Player, nullptr);
	auto* MuteBox = Cast<UCheckBox>(Player->GetVolumeButton()->GetWidgetFromName(TEXT("VolumeButton")));
	MuteBox->SetIsChecked(true);
	Player->AddToViewport();
	Stage.App.Tick(FPravellaStage::Frame);
	EXPECT_FLOAT_EQ(Player->GetVolumeMultiplier(), 0.0f);
	Stage.Click(FPravellaStage::At(MuteBox));
	EXPECT_FLOAT_EQ(Player->GetVolumeMultiplier(), 1.0f);

	auto* Silent = Stage.Show<UUI_PravellaSystem>(TEXT("/Game/Test/Pravella/WBP_LessonPlayerNoMedia"));
	Silent->SetVolumeMultiplier(0.4f);
	EXPECT_FLOAT_EQ(Silent->GetVolumeMultiplier(), 0.4f);
}
