#include "Components/TextBlock.h"

#include "Fonts/FontMeasure.h"
#include "Headless/HeadlessPainter.h"

UTextBlock::UTextBlock()
{
	Visibility = ESlateVisibility::SelfHitTestInvisible;
}

FVector2D UTextBlock::ComputeDesiredSize() const
{
	const FString& Current = Text.ToString();
	if (bMeasured && MeasuredFont == Font && MeasuredText.Equals(Current, ESearchCase::CaseSensitive))
	{
		return MeasuredSize;
	}
	const FSlateFontMeasure& Measure = FSlateFontMeasure::Get();
	const FVector2D Size = Measure.Measure(Current, Font);
	MeasuredText = Current;
	MeasuredFont = Font;
	MeasuredSize = FVector2D(Size.X, FMath::Max(Size.Y, double(Measure.GetMaxCharacterHeight(Font))));
	bMeasured = true;
	return MeasuredSize;
}

void UTextBlock::OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const
{
	Painter.DrawText(Text.ToString(), Font, PaintGeometry.GetAbsolutePosition(), ColorAndOpacity.GetSpecifiedColor(),
	                 Opacity);
}
