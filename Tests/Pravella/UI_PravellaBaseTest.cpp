#include "PravellaTestTypes.h"

#include "Animation/WidgetAnimation.h"

#include <gtest/gtest.h>

TEST(UI_PravellaBase, FindsDesignerAnimationsByNameWithoutCase)
{
	FPravellaStage Stage;
	auto* Player = Stage.Show<UVolumeStandInPlayer>(TEXT("/Game/Test/Pravella/WBP_VolumeStandIn"));
	EXPECT_EQ(Player->GetNameWidgetAnimation(TEXT("openbar"))->GetName(), TEXT("OpenBar_INST"));
	EXPECT_EQ(Player->GetNameWidgetAnimation(TEXT("CLOSEVOICEBOARD"))->GetName(), TEXT("CloseVoiceBoard_INST"));
	for (const TCHAR* Name : {TEXT("OpenBar_INST"), TEXT("Open"), TEXT("")})
	{
		EXPECT_EQ(Player->GetNameWidgetAnimation(Name), nullptr) << TCHAR_TO_UTF8(Name);
	}
	// A blueprint made from another finds the animations its parent's designer made.
	auto* Child = Stage.Show<UVolumeStandInPlayer>(TEXT("/Game/Test/Pravella/WBP_VolumeStandInChild"));
	ASSERT_NE(Child->GetNameWidgetAnimation(TEXT("OpenBar")), nullptr);
	EXPECT_EQ(Child->GetNameWidgetAnimation(TEXT("OpenBar"))->GetName(), TEXT("OpenBar_INST"));
	// Only widgets made from a widget blueprint have designer animations.
	EXPECT_EQ(NewObject<UVolumeStandInPlayer>()->GetNameWidgetAnimation(TEXT("OpenBar")), nullptr);
	Player->SetParent(Player->GetVolumeButton());
	EXPECT_EQ(Player->GetParentSystem(), nullptr) << "a parent that is not a lesson player";
}
