#include "Components/CanvasPanelSlot.h"
#include "UMGTestFixture.h"

using Button = FUMGTest;

TEST_F(Button, ClickIsPressAndReleaseOverTheButton)
{
	UTestFormWidget* Form = ShowForm();
	ClickAt(CentreOf(Form->OkButton));
	EXPECT_EQ(Form->Events, TArray<FString>({TEXT("Hovered"), TEXT("Pressed"), TEXT("Released"), TEXT("Clicked")}));
}

TEST_F(Button, ReleasingElsewhereReleasesWithoutAClick)
{
	UTestFormWidget* Form = ShowForm();
	App.MoveMouse(CentreOf(Form->OkButton));
	App.PressMouse();
	App.MoveMouse(FVector2D(600.0, 400.0));
	App.ReleaseMouse();
	App.Tick(Frame);
	EXPECT_EQ(Form->Events, TArray<FString>({TEXT("Hovered"), TEXT("Pressed"), TEXT("Unhovered"), TEXT("Released")}));
}

TEST_F(Button, HoverEnterAndLeaveFollowThePointer)
{
	UTestFormWidget* Form = ShowForm();
	App.MoveMouse(CentreOf(Form->OkButton));
	App.Tick(Frame);
	EXPECT_TRUE(Form->OkButton->IsHovered());
	App.MoveMouse(CentreOf(Form->OkButton) + FVector2D(5.0, 0.0));
	App.Tick(Frame);
	App.MoveMouse(FVector2D(5.0, 290.0));
	App.Tick(Frame);
	EXPECT_FALSE(Form->OkButton->IsHovered());
	EXPECT_EQ(Form->Events, TArray<FString>({TEXT("Hovered"), TEXT("Unhovered")}));
}

TEST_F(Button, DisabledButtonOrDisabledParentRaisesNothing)
{
	UTestFormWidget* Form = ShowForm();
	Form->OkButton->SetIsEnabled(false);
	ClickAt(CentreOf(Form->OkButton));
	EXPECT_TRUE(Form->Events.IsEmpty());

	Form->OkButton->SetIsEnabled(true);
	Form->Root->SetIsEnabled(false);
	ClickAt(CentreOf(Form->OkButton) + FVector2D(1.0, 0.0));
	EXPECT_TRUE(Form->Events.IsEmpty());
}

TEST_F(Button, VisibilityDecidesWhetherThePointerReachesIt)
{
	UTestFormWidget* Form = ShowForm();
	const FVector2D Centre = CentreOf(Form->OkButton);
	for (ESlateVisibility Blocking :
	     {ESlateVisibility::Hidden, ESlateVisibility::Collapsed, ESlateVisibility::HitTestInvisible})
	{
		Form->OkButton->SetVisibility(Blocking);
		App.Tick(Frame);
		ClickAt(Centre);
		ClickAt(FVector2D(600.0, 400.0));
		EXPECT_FALSE(Form->Events.Contains(TEXT("Clicked"))) << int32(Blocking);
	}
	Form->OkButton->SetVisibility(ESlateVisibility::Visible);
	Form->Root->SetVisibility(ESlateVisibility::HitTestInvisible);
	ClickAt(Centre);
	EXPECT_FALSE(Form->Events.Contains(TEXT("Clicked"))) << "a hit-test-invisible parent hides its children";

	Form->Root->SetVisibility(ESlateVisibility::SelfHitTestInvisible);
	ClickAt(Centre);
	EXPECT_TRUE(Form->Events.Contains(TEXT("Clicked")));
}

TEST_F(Button, TheChildOnTopInZOrderTakesTheClick)
{
	UTestFormWidget* Form = ShowForm();
	UButton* Cover = Form->WidgetTree->ConstructWidget<UButton>();
	UCanvasPanelSlot* Slot = Form->Root->AddChildToCanvas(Cover);
	Slot->SetPosition(FVector2D(0.0, 50.0));
	Slot->SetSize(FVector2D(200.0, 60.0));
	Slot->SetZOrder(-1);
	App.Tick(Frame);
	ClickAt(CentreOf(Form->OkButton));
	EXPECT_TRUE(Form->Events.Contains(TEXT("Clicked"))) << "a lower z-order lies beneath";

	Form->Events.Empty();
	Slot->SetZOrder(5);
	App.Tick(Frame);
	ClickAt(CentreOf(Form->OkButton) + FVector2D(1.0, 1.0));
	EXPECT_FALSE(Form->Events.Contains(TEXT("Clicked"))) << "the cover is on top now";
	EXPECT_FALSE(Form->OkButton->IsHovered());
}

TEST_F(Button, UserWidgetHearsThePointerEnterAndLeaveItsChildren)
{
	UTestFormWidget* Form = ShowForm();
	GetLifecycleLog().Empty();
	App.MoveMouse(CentreOf(Form->Inner));
	App.Tick(Frame);
	App.MoveMouse(CentreOf(Form->OkButton));
	App.Tick(Frame);
	EXPECT_EQ(GetLifecycleLog(), TArray<FString>({TEXT("Inner:MouseEnter"), TEXT("Inner:MouseLeave")}));
}
