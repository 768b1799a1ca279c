#include "Components/Image.h"

#include "Headless/HeadlessPainter.h"
#include "Headless/HeadlessTextures.h"
#include "Materials/MaterialInterface.h"

void UImage::SetBrushFromMaterial(UMaterialInterface* Material)
{
	Brush.SetResourceObject(Material);
}

void UImage::OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const
{
	const FLinearColor Tint = ColorAndOpacity * Brush.TintColor.GetSpecifiedColor();
	const FVector2D Position = PaintGeometry.GetAbsolutePosition();
	const FVector2D Size = PaintGeometry.GetLocalSize();
	FHeadlessTexturePicture Picture;
	if (FHeadlessTextures::ReadMaterialPicture(Cast<UMaterialInterface>(Brush.GetResourceObject()), Picture))
	{
		// A material that samples a texture: its fill, then its picture scaled to fit over it.
		Painter.FillBox(Position, Size, Picture.Fill * Tint, Opacity);
		Painter.DrawPicture(Position, Size, Picture.Pixels, Picture.Size, Tint, Opacity);
		return;
	}
	Painter.FillBox(Position, Size, Tint, Opacity);
}
