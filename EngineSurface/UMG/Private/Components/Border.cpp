#include "Components/Border.h"

#include "Headless/HeadlessPainter.h"

FVector2D UBorder::ComputeDesiredSize() const
{
	const UWidget* Content = GetContent();
	const FVector2D ContentSize = Content ? Content->GetDesiredSize() : FVector2D::ZeroVector;
	return ContentSize + Padding.GetDesiredSize();
}

void UBorder::ArrangeChildren(const FGeometry& MyGeometry)
{
	if (UWidget* Content = GetContent(); Content && Content->GetVisibility() != ESlateVisibility::Collapsed)
	{
		const FVector2D Inner = MyGeometry.GetLocalSize() - Padding.GetDesiredSize();
		Content->Arrange(
		    MyGeometry.MakeChild(Padding.GetTopLeft(), Inner.ClampAxes(0.0, TNumericLimits<double>::Max())));
	}
}

void UBorder::OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const
{
	Painter.FillBox(PaintGeometry.GetAbsolutePosition(), PaintGeometry.GetLocalSize(),
	                BrushColor * Background.TintColor.GetSpecifiedColor(), Opacity);
}
