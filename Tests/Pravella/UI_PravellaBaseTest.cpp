#include "PravellaTestStage.h"

#include "Animation/WidgetAnimation.h"

#include <gtest/gtest.h>

TEST(UI_PravellaBase, FindsDesignerAnimationsByNameWithoutCase)
{
	FPravellaTestStage Stage;
	UVolumeStandInPlayer* Player = Stage.Show<UVolumeStandInPlayer>(TEXT("/Game/Test/Pravella/WBP_VolumeStandIn"));
	ASSERT_NE(Player, nullptr);

	UWidgetAnimation* OpenBar = Player->GetNameWidgetAnimation(TEXT("OpenBar"));
	ASSERT_NE(OpenBar, nullptr);
	EXPECT_EQ(OpenBar->GetName(), TEXT("OpenBar_INST"));
	EXPECT_EQ(Player->GetNameWidgetAnimation(TEXT("openbar")), OpenBar);
	EXPECT_EQ(Player->GetNameWidgetAnimation(TEXT("CLOSEVOICEBOARD"))->GetName(), TEXT("CloseVoiceBoard_INST"));

	// The compiled name gets the suffix once more; parts of a name and the bare suffix match nothing.
	EXPECT_EQ(Player->GetNameWidgetAnimation(TEXT("OpenBar_INST")), nullptr);
	EXPECT_EQ(Player->GetNameWidgetAnimation(TEXT("Open")), nullptr);
	EXPECT_EQ(Player->GetNameWidgetAnimation(TEXT("")), nullptr);

	// A widget of the native class has no designer animations at all.
	UVolumeStandInPlayer* Native = NewObject<UVolumeStandInPlayer>(Stage.App.GetWorld());
	EXPECT_EQ(Native->GetNameWidgetAnimation(TEXT("OpenBar")), nullptr);
}

TEST(UI_PravellaBase, ParentSystemIsOnlyALessonPlayer)
{
	FPravellaTestStage Stage;
	UVolumeStandInPlayer* Player = Stage.Show<UVolumeStandInPlayer>(TEXT("/Game/Test/Pravella/WBP_VolumeStandIn"));
	ASSERT_NE(Player, nullptr);
	EXPECT_EQ(Player->GetParentSystem(), nullptr);

	// The component keeps its parent alive through collections.
	TWeakObjectPtr<UVolumeStandInPlayer> Other(NewObject<UVolumeStandInPlayer>(Stage.App.GetWorld()));
	Player->SetParent(Other.Get());
	Stage.App.Tick(FPravellaTestStage::Frame);
	ASSERT_TRUE(Other.IsValid());
	EXPECT_EQ(Player->GetParentSystem(), Other.Get());
	Player->SetParent(Player->VolumeButton);
	EXPECT_EQ(Player->GetParentSystem(), nullptr);
	Player->SetParent(Player);
	EXPECT_EQ(Player->GetParentSystem(), Player);
	Player->SetParent(nullptr);
	EXPECT_EQ(Player->GetParentSystem(), nullptr);
}
