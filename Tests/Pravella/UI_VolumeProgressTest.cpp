#include "PravellaTestTypes.h"

#include <gtest/gtest.h>

TEST(UI_VolumeProgress, ShowsTheVolumeInTenthsWithTwoDigits)
{
	FPravellaStage Stage;
	auto* Player = Stage.Show<UVolumeStandInPlayer>(TEXT("/Game/Test/Pravella/WBP_VolumeStandIn"));
	auto* ReadOut = Cast<UTextBlock>(Player->GetVolumeProgress()->GetWidgetFromName(TEXT("VolumeValue")));
	EXPECT_EQ(ReadOut->GetText().ToString(), TEXT("10"));
	const TPair<float, const TCHAR*> Cases[] = {{0.55f, TEXT("05")},          {0.09f, TEXT("00")},  {0.1f, TEXT("01")},
	                                            {1.5f, TEXT("15")},           {-0.05f, TEXT("00")}, {NAN, TEXT("00")},
	                                            {1.0e20f, TEXT("1000000000")}};
	for (const TPair<float, const TCHAR*>& Case : Cases)
	{
		Player->GetVolumeProgress()->SetChangedVolumeValue(Case.Key);
		EXPECT_EQ(ReadOut->GetText().ToString(), Case.Value) << Case.Key;
	}
	EXPECT_FLOAT_EQ(Player->GetVolumeMultiplier(), 1.0f) << "showing a value does not set it";

	Player->GetVolumeProgress()->SetParent(nullptr); // without a player, dragging still updates the read-out
	Player->GetVolumeProgress()->SetVisibility(ESlateVisibility::Visible);
	Stage.App.Tick(FPravellaStage::Frame);
	Stage.Click(FPravellaStage::At(Player->GetVolumeProgress()->GetWidgetFromName(TEXT("VolumeProgress")), 0.25));
	EXPECT_EQ(ReadOut->GetText().ToString(), TEXT("02"));
	EXPECT_FLOAT_EQ(Player->GetVolumeMultiplier(), 1.0f);
}
