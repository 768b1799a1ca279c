#include "PravellaTestStage.h"

#include <gtest/gtest.h>

namespace
{
struct FVolumeControls
{
	UVolumeStandInPlayer* Player;
	UCheckBox* MuteBox;
	USlider* Slider;

	bool IsPanelShown() const { return Player->VolumeProgress->GetVisibility() == ESlateVisibility::Visible; }
};

FVolumeControls ShowControls(FPravellaTestStage& Stage)
{
	UVolumeStandInPlayer* Player = Stage.Show<UVolumeStandInPlayer>(TEXT("/Game/Test/Pravella/WBP_VolumeStandIn"));
	check(Player);
	return {Player, FPravellaTestStage::Child<UCheckBox>(Player->VolumeButton, TEXT("VolumeButton")),
	        FPravellaTestStage::Child<USlider>(Player->VolumeProgress, TEXT("VolumeProgress"))};
}
} // namespace

TEST(UI_VolumeButton, HoveringTheBoxOpensThePanelAndLeavingTheSliderClosesIt)
{
	FPravellaTestStage Stage;
	const FVolumeControls Controls = ShowControls(Stage);
	EXPECT_FALSE(Controls.IsPanelShown());

	Stage.MoveTo(FPravellaTestStage::PointIn(Controls.MuteBox));
	EXPECT_TRUE(Controls.IsPanelShown());
	Stage.MoveTo(FPravellaTestStage::PointIn(Controls.Slider));
	Stage.App.Advance(1.0f);
	EXPECT_TRUE(Controls.IsPanelShown()) << "leaving the box and entering the slider change nothing";

	Stage.MoveTo(FVector2D(20.0, 400.0));
	Stage.App.Advance(0.1f);
	EXPECT_TRUE(Controls.IsPanelShown()) << "the closing animation runs first";
	Stage.App.Advance(0.2f);
	EXPECT_FALSE(Controls.IsPanelShown());

	// The next hover opens it again.
	Stage.MoveTo(FPravellaTestStage::PointIn(Controls.MuteBox));
	EXPECT_TRUE(Controls.IsPanelShown());
}

TEST(UI_VolumeButton, MutingSilencesAndUnmutingRestoresTheVolumeBeforeMuting)
{
	FPravellaTestStage Stage;
	const FVolumeControls Controls = ShowControls(Stage);
	EXPECT_FLOAT_EQ(Controls.Player->GetVolumeMultiplier(), 1.0f);

	Stage.MoveTo(FPravellaTestStage::PointIn(Controls.MuteBox));
	Stage.Drag(Controls.Slider, 0.9, 0.6);
	EXPECT_NEAR(Controls.Player->GetVolumeMultiplier(), 0.6f, 1.0e-4f);

	Stage.Click(Controls.MuteBox);
	ASSERT_TRUE(Controls.MuteBox->IsChecked());
	EXPECT_FLOAT_EQ(Controls.Player->GetVolumeMultiplier(), 0.0f);
	EXPECT_NEAR(Controls.Slider->GetValue(), 0.6f, 1.0e-4f) << "muting leaves the slider where it was";

	// Moving the slider while muted applies at once and leaves the box checked.
	Stage.MoveTo(FPravellaTestStage::PointIn(Controls.MuteBox));
	Stage.Drag(Controls.Slider, 0.3, 0.3);
	EXPECT_NEAR(Controls.Player->GetVolumeMultiplier(), 0.3f, 1.0e-4f);
	EXPECT_TRUE(Controls.MuteBox->IsChecked());

	Stage.Click(Controls.MuteBox);
	EXPECT_FALSE(Controls.MuteBox->IsChecked());
	EXPECT_NEAR(Controls.Player->GetVolumeMultiplier(), 0.6f, 1.0e-4f);
}

TEST(UI_VolumeButton, WithoutAPlayerTheBoxOnlyTogglesItself)
{
	FPravellaTestStage Stage;
	const FVolumeControls Controls = ShowControls(Stage);
	Controls.Player->VolumeButton->SetParent(nullptr);

	Stage.Click(Controls.MuteBox);
	EXPECT_TRUE(Controls.MuteBox->IsChecked());
	EXPECT_FLOAT_EQ(Controls.Player->GetVolumeMultiplier(), 1.0f);
	EXPECT_FALSE(Controls.IsPanelShown());
}
