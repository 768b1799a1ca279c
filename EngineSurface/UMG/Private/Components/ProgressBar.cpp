#include "Components/ProgressBar.h"

#include "Headless/HeadlessPainter.h"

void UProgressBar::OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const
{
	const FVector2D Size = PaintGeometry.GetLocalSize();
	Painter.FillBox(PaintGeometry.GetAbsolutePosition(), Size, FLinearColor(0.05f, 0.05f, 0.05f, 1.0f), Opacity);
	const double Filled = Size.X * FMath::Clamp(double(Percent), 0.0, 1.0);
	Painter.FillBox(PaintGeometry.GetAbsolutePosition(), FVector2D(Filled, Size.Y), FillColorAndOpacity, Opacity);
}
