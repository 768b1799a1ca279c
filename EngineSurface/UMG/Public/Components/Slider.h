#pragma once

#include "CoreMinimal.h"
#include "Components/Widget.h"

#include "Slider.generated.h"

DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FOnFloatValueChangedEvent, float, Value);
DECLARE_DYNAMIC_MULTICAST_DELEGATE(FOnMouseCaptureBeginEvent);
DECLARE_DYNAMIC_MULTICAST_DELEGATE(FOnMouseCaptureEndEvent);

// A horizontal slider from MinValue at its left edge to MaxValue at its right. SetValue raises nothing; a drag
// raises OnMouseCaptureBegin on the press, OnValueChanged each time the pointer moves the value (the press
// included) and OnMouseCaptureEnd on the release.
UCLASS()
class UMG_API USlider : public UWidget
{
	GENERATED_BODY()

public:
	UPROPERTY()
	float Value = 0.0f;

	UPROPERTY()
	float MinValue = 0.0f;

	UPROPERTY()
	float MaxValue = 1.0f;

	UPROPERTY()
	float StepSize = 0.01f;

	UPROPERTY(BlueprintAssignable)
	FOnMouseCaptureBeginEvent OnMouseCaptureBegin;

	UPROPERTY(BlueprintAssignable)
	FOnMouseCaptureEndEvent OnMouseCaptureEnd;

	UPROPERTY(BlueprintAssignable)
	FOnFloatValueChangedEvent OnValueChanged;

	float GetValue() const { return Value; }
	void SetValue(float InValue) { Value = InValue; }
	float GetMinValue() const { return MinValue; }
	float GetMaxValue() const { return MaxValue; }
	void SetMinValue(float InValue) { MinValue = InValue; }
	void SetMaxValue(float InValue) { MaxValue = InValue; }
	void SetStepSize(float InValue) { StepSize = InValue; }
	// The value as a fraction of the range, 0 at MinValue and 1 at MaxValue.
	float GetNormalizedValue() const;
	bool IsCaptured() const { return bCaptured; }

	FReply HandleMouseMove(const FGeometry& Geometry, const FPointerEvent& Event) override;
	bool HandleMouseButtonDown(const FPointerEvent& Event) override;
	void HandleMouseButtonUp(const FPointerEvent& Event, bool bReleasedOverWidget) override;

protected:
	FVector2D ComputeDesiredSize() const override { return FVector2D(32.0, 16.0); }
	void OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const override;

private:
	void CommitPointer(FVector2D ScreenPosition);

	bool bCaptured = false;
};
