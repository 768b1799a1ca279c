#include "PravellaTestStage.h"

#include <gtest/gtest.h>

TEST(UI_VolumeProgress, ShowsTenthsInTwoDigitsWithoutTellingThePlayer)
{
	FPravellaTestStage Stage;
	UVolumeStandInPlayer* Player = Stage.Show<UVolumeStandInPlayer>(TEXT("/Game/Test/Pravella/WBP_VolumeStandIn"));
	ASSERT_NE(Player, nullptr);
	UUI_VolumeProgress* Progress = Player->VolumeProgress;
	const UTextBlock* ReadOut = FPravellaTestStage::Child<UTextBlock>(Progress, TEXT("VolumeValue"));
	const USlider* Slider = FPravellaTestStage::Child<USlider>(Progress, TEXT("VolumeProgress"));

	const TPair<float, const TCHAR*> Cases[] = {{1.0f, TEXT("10")},           {0.55f, TEXT("05")}, {0.09f, TEXT("00")},
	                                            {0.1f, TEXT("01")},           {1.5f, TEXT("15")},  {-0.05f, TEXT("00")},
	                                            {-0.5f, TEXT("-5")},          {0.0f, TEXT("00")},  {NAN, TEXT("00")},
	                                            {1.0e20f, TEXT("1000000000")}};
	for (const TPair<float, const TCHAR*>& Case : Cases)
	{
		Progress->SetChangedVolumeValue(Case.Key);
		EXPECT_EQ(ReadOut->GetText().ToString(), Case.Value) << "value " << Case.Key;
	}
	Progress->SetChangedVolumeValue(0.4f);
	EXPECT_FLOAT_EQ(Slider->GetValue(), 0.4f);
	EXPECT_FLOAT_EQ(Player->GetVolumeMultiplier(), 1.0f);
}

TEST(UI_VolumeProgress, DraggingUpdatesTheReadOutWithOrWithoutAPlayer)
{
	FPravellaTestStage Stage;
	UVolumeStandInPlayer* Player = Stage.Show<UVolumeStandInPlayer>(TEXT("/Game/Test/Pravella/WBP_VolumeStandIn"));
	ASSERT_NE(Player, nullptr);
	const UTextBlock* ReadOut = FPravellaTestStage::Child<UTextBlock>(Player->VolumeProgress, TEXT("VolumeValue"));
	const USlider* Slider = FPravellaTestStage::Child<USlider>(Player->VolumeProgress, TEXT("VolumeProgress"));
	EXPECT_EQ(ReadOut->GetText().ToString(), TEXT("10")) << "the player shows its volume on construction";

	Player->VolumeProgress->SetVisibility(ESlateVisibility::Visible);
	Stage.App.Tick(FPravellaTestStage::Frame);
	Stage.Drag(Slider, 0.75, 0.75);
	EXPECT_EQ(ReadOut->GetText().ToString(), TEXT("07"));
	EXPECT_NEAR(Player->GetVolumeMultiplier(), 0.75f, 1.0e-4f);

	Player->VolumeProgress->SetParent(nullptr);
	Stage.Drag(Slider, 0.25, 0.25);
	EXPECT_EQ(ReadOut->GetText().ToString(), TEXT("02"));
	EXPECT_NEAR(Player->GetVolumeMultiplier(), 0.75f, 1.0e-4f);
}
