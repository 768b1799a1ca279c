#include "UMGTestFixture.h"

using CheckBox = FUMGTest;

TEST_F(CheckBox, SettingTheStateInCodeRaisesNothing)
{
	UTestFormWidget* Form = ShowForm();
	Form->Toggle->SetIsChecked(true);
	EXPECT_TRUE(Form->Toggle->IsChecked());
	Form->Toggle->SetCheckedState(ECheckBoxState::Unchecked);
	EXPECT_FALSE(Form->Toggle->IsChecked());
	App.Tick(Frame);
	EXPECT_TRUE(Form->Events.IsEmpty());
}

TEST_F(CheckBox, EachClickTogglesAndRaisesTheNewState)
{
	UTestFormWidget* Form = ShowForm();
	ClickAt(CentreOf(Form->Toggle));
	EXPECT_TRUE(Form->Toggle->IsChecked());
	ClickAt(CentreOf(Form->Toggle));
	EXPECT_FALSE(Form->Toggle->IsChecked());
	EXPECT_EQ(Form->Events, TArray<FString>({TEXT("Checked"), TEXT("Unchecked")}));
}

TEST_F(CheckBox, PressWithoutReleaseOverItChangesNothing)
{
	UTestFormWidget* Form = ShowForm();
	App.MoveMouse(CentreOf(Form->Toggle));
	App.PressMouse();
	App.MoveMouse(FVector2D(600.0, 400.0));
	App.ReleaseMouse();
	App.Tick(Frame);
	EXPECT_FALSE(Form->Toggle->IsChecked());
	EXPECT_TRUE(Form->Events.IsEmpty());
}
