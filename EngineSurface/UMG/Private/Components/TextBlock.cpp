#include "Components/TextBlock.h"

#include "Fonts/FontMeasure.h"
#include "Headless/HeadlessPainter.h"

UTextBlock::UTextBlock()
{
	Visibility = ESlateVisibility::SelfHitTestInvisible;
}

FVector2D UTextBlock::ComputeDesiredSize() const
{
	const FSlateFontMeasure& Measure = FSlateFontMeasure::Get();
	const FVector2D Size = Measure.Measure(Text.ToString(), Font);
	return FVector2D(Size.X, FMath::Max(Size.Y, double(Measure.GetMaxCharacterHeight(Font))));
}

void UTextBlock::OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const
{
	Painter.DrawText(Text.ToString(), Font, PaintGeometry.GetAbsolutePosition(), ColorAndOpacity.GetSpecifiedColor(),
	                 Opacity);
}
