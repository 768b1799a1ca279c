#include "Components/Image.h"

#include "Headless/HeadlessPainter.h"
#include "Materials/MaterialInterface.h"

void UImage::SetBrushFromMaterial(UMaterialInterface* Material)
{
	Brush.SetResourceObject(Material);
}

void UImage::OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const
{
	Painter.FillBox(PaintGeometry.GetAbsolutePosition(), PaintGeometry.GetLocalSize(),
	                ColorAndOpacity * Brush.TintColor.GetSpecifiedColor(), Opacity);
}
