#include "UMGTestFixture.h"

using Slider = FUMGTest;

TEST_F(Slider, SetValueRaisesNothing)
{
	UTestFormWidget* Form = ShowForm();
	Form->Volume->SetValue(0.8f);
	App.Tick(Frame);
	EXPECT_EQ(Form->Volume->GetValue(), 0.8f);
	EXPECT_TRUE(Form->Events.IsEmpty());
}

TEST_F(Slider, DragRaisesCaptureBeginValuesAndCaptureEnd)
{
	UTestFormWidget* Form = ShowForm();
	const FGeometry& Bar = Form->Volume->GetCachedGeometry();
	const double Y = CentreOf(Form->Volume).Y;
	App.MoveMouse(FVector2D(Bar.GetAbsolutePosition().X + 50.0, Y));
	App.PressMouse();
	App.MoveMouse(FVector2D(Bar.GetAbsolutePosition().X + 150.0, Y));
	App.MoveMouse(FVector2D(Bar.GetAbsolutePosition().X + 400.0, Y + 80.0));
	App.ReleaseMouse();
	App.Tick(Frame);
	EXPECT_EQ(Form->Events, TArray<FString>({TEXT("CaptureBegin"), TEXT("Value 0.25"), TEXT("Value 0.75"),
	                                         TEXT("Value 1.00"), TEXT("CaptureEnd")}));
	EXPECT_EQ(Form->Volume->GetValue(), 1.0f) << "dragging past the end stops at the maximum";
}

TEST_F(Slider, RangeMapsTheTrackToMinimumAndMaximum)
{
	UTestFormWidget* Form = ShowForm();
	Form->Volume->SetMinValue(10.0f);
	Form->Volume->SetMaxValue(20.0f);
	ClickAt(FVector2D(Form->Volume->GetCachedGeometry().GetAbsolutePosition().X + 100.0, CentreOf(Form->Volume).Y));
	EXPECT_FLOAT_EQ(Form->Volume->GetValue(), 15.0f);
	EXPECT_FLOAT_EQ(Form->Volume->GetNormalizedValue(), 0.5f);
}
