#pragma once

#include "CoreMinimal.h"
#include "Components/ContentWidget.h"
#include "Styling/SlateTypes.h"

#include "CheckBox.generated.h"

DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FOnCheckBoxComponentStateChanged, bool, bIsChecked);

// A tick box, with an optional child beside it. Setting the state from code raises nothing; a user's click
// (press and release over the box) toggles it and raises OnCheckStateChanged.
UCLASS()
class UMG_API UCheckBox : public UContentWidget
{
	GENERATED_BODY()

public:
	ECheckBoxState CheckedState = ECheckBoxState::Unchecked;

	UPROPERTY(BlueprintAssignable)
	FOnCheckBoxComponentStateChanged OnCheckStateChanged;

	bool IsChecked() const { return CheckedState == ECheckBoxState::Checked; }
	ECheckBoxState GetCheckedState() const { return CheckedState; }
	void SetIsChecked(bool bInIsChecked);
	void SetCheckedState(ECheckBoxState InCheckedState) { CheckedState = InCheckedState; }
	bool IsPressed() const { return bPressed; }

	bool HandleMouseButtonDown(const FPointerEvent& Event) override;
	void HandleMouseButtonUp(const FPointerEvent& Event, bool bReleasedOverWidget) override;

protected:
	FVector2D ComputeDesiredSize() const override;
	void ArrangeChildren(const FGeometry& MyGeometry) override;
	void OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const override;

private:
	bool bPressed = false;
};
