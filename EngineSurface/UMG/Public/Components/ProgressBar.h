#pragma once

#include "CoreMinimal.h"
#include "Components/Widget.h"

#include "ProgressBar.generated.h"

// A bar filled from the left to Percent (0 to 1) of its width.
UCLASS()
class UMG_API UProgressBar : public UWidget
{
	GENERATED_BODY()

public:
	UPROPERTY()
	float Percent = 0.0f;

	UPROPERTY()
	FLinearColor FillColorAndOpacity = FLinearColor::White;

	void SetPercent(float InPercent) { Percent = InPercent; }
	float GetPercent() const { return Percent; }
	void SetFillColorAndOpacity(FLinearColor InColor) { FillColorAndOpacity = InColor; }

protected:
	FVector2D ComputeDesiredSize() const override { return FVector2D(32.0, 12.0); }
	void OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const override;
};
