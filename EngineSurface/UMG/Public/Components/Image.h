#pragma once

#include "CoreMinimal.h"
#include "Components/Widget.h"
#include "Styling/SlateBrush.h"

#include "Image.generated.h"

class UMaterialInterface;

// A brush drawn in a colour; the headless painter fills the image's box with the brush tint times the colour, or,
// for a material that samples a texture, draws the texture's picture (a video frame) scaled to fit, over its fill.
UCLASS()
class UMG_API UImage : public UWidget
{
	GENERATED_BODY()

public:
	UPROPERTY()
	FSlateBrush Brush;

	UPROPERTY()
	FLinearColor ColorAndOpacity = FLinearColor::White;

	void SetColorAndOpacity(FLinearColor InColorAndOpacity) { ColorAndOpacity = InColorAndOpacity; }
	const FLinearColor& GetColorAndOpacity() const { return ColorAndOpacity; }
	void SetOpacity(float InOpacity) { ColorAndOpacity.A = InOpacity; }
	void SetBrush(const FSlateBrush& InBrush) { Brush = InBrush; }
	const FSlateBrush& GetBrush() const { return Brush; }
	// The brush draws the material from now on; its size and tint stay.
	void SetBrushFromMaterial(UMaterialInterface* Material);

protected:
	FVector2D ComputeDesiredSize() const override { return Brush.ImageSize; }
	void OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const override;
};
