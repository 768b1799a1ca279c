#pragma once

#include "CoreMinimal.h"
#include "Components/ContentWidget.h"
#include "Layout/Margin.h"
#include "Styling/SlateBrush.h"

#include "Border.generated.h"

// A box of colour around one child, which fills the box inside the padding.
UCLASS()
class UMG_API UBorder : public UContentWidget
{
	GENERATED_BODY()

public:
	UPROPERTY()
	FLinearColor BrushColor = FLinearColor::White;

	UPROPERTY()
	FLinearColor ContentColorAndOpacity = FLinearColor::White;

	UPROPERTY()
	FSlateBrush Background;

	FMargin Padding = FMargin(4.0f, 2.0f);

	void SetBrushColor(FLinearColor InBrushColor) { BrushColor = InBrushColor; }
	void SetContentColorAndOpacity(FLinearColor InColor) { ContentColorAndOpacity = InColor; }
	void SetPadding(FMargin InPadding) { Padding = InPadding; }
	FMargin GetPadding() const { return Padding; }

protected:
	FVector2D ComputeDesiredSize() const override;
	void ArrangeChildren(const FGeometry& MyGeometry) override;
	void OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const override;
};
