#include "Components/CheckBox.h"

#include "Headless/HeadlessPainter.h"

namespace
{
constexpr double BoxSize = 16.0;
constexpr double ContentGap = 4.0;
} // namespace

void UCheckBox::SetIsChecked(bool bInIsChecked)
{
	CheckedState = bInIsChecked ? ECheckBoxState::Checked : ECheckBoxState::Unchecked;
}

FVector2D UCheckBox::ComputeDesiredSize() const
{
	const UWidget* Content = GetContent();
	if (!Content || Content->GetVisibility() == ESlateVisibility::Collapsed)
	{
		return FVector2D(BoxSize, BoxSize);
	}
	const FVector2D ContentSize = Content->GetDesiredSize();
	return FVector2D(BoxSize + ContentGap + ContentSize.X, FMath::Max(BoxSize, ContentSize.Y));
}

void UCheckBox::ArrangeChildren(const FGeometry& MyGeometry)
{
	if (UWidget* Content = GetContent(); Content && Content->GetVisibility() != ESlateVisibility::Collapsed)
	{
		const double Left = BoxSize + ContentGap;
		Content->Arrange(
		    MyGeometry.MakeChild(FVector2D(Left, 0.0), FVector2D(FMath::Max(MyGeometry.GetLocalSize().X - Left, 0.0),
		                                                         MyGeometry.GetLocalSize().Y)));
	}
}

void UCheckBox::OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const
{
	const double Side = FMath::Min(BoxSize, FMath::Min(PaintGeometry.GetLocalSize().X, PaintGeometry.GetLocalSize().Y));
	const FVector2D Corner = PaintGeometry.GetAbsolutePosition();
	Painter.DrawFrame(Corner, FVector2D(Side, Side), FLinearColor::White, Opacity);
	if (CheckedState != ECheckBoxState::Unchecked)
	{
		Painter.FillBox(Corner + FVector2D(3.0, 3.0), FVector2D(Side - 6.0, Side - 6.0), FLinearColor::White, Opacity);
	}
}

bool UCheckBox::HandleMouseButtonDown(const FPointerEvent& Event)
{
	bPressed = true;
	return true;
}

void UCheckBox::HandleMouseButtonUp(const FPointerEvent& Event, bool bReleasedOverWidget)
{
	bPressed = false;
	if (bReleasedOverWidget)
	{
		CheckedState = CheckedState == ECheckBoxState::Checked ? ECheckBoxState::Unchecked : ECheckBoxState::Checked;
		OnCheckStateChanged.Broadcast(CheckedState == ECheckBoxState::Checked);
	}
}
