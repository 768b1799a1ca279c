#pragma once

#include "CoreMinimal.h"
#include "Components/ContentWidget.h"

#include "Button.generated.h"

DECLARE_DYNAMIC_MULTICAST_DELEGATE(FOnButtonClickedEvent);
DECLARE_DYNAMIC_MULTICAST_DELEGATE(FOnButtonPressedEvent);
DECLARE_DYNAMIC_MULTICAST_DELEGATE(FOnButtonReleasedEvent);
DECLARE_DYNAMIC_MULTICAST_DELEGATE(FOnButtonHoverEvent);

// A clickable box around one child. A click is a press and a release over the button; releasing elsewhere
// only releases it.
UCLASS()
class UMG_API UButton : public UContentWidget
{
	GENERATED_BODY()

public:
	UPROPERTY()
	FLinearColor ColorAndOpacity = FLinearColor::White;

	UPROPERTY()
	FLinearColor BackgroundColor = FLinearColor(0.2f, 0.2f, 0.2f, 1.0f);

	UPROPERTY(BlueprintAssignable)
	FOnButtonClickedEvent OnClicked;

	UPROPERTY(BlueprintAssignable)
	FOnButtonPressedEvent OnPressed;

	UPROPERTY(BlueprintAssignable)
	FOnButtonReleasedEvent OnReleased;

	UPROPERTY(BlueprintAssignable)
	FOnButtonHoverEvent OnHovered;

	UPROPERTY(BlueprintAssignable)
	FOnButtonHoverEvent OnUnhovered;

	void SetColorAndOpacity(FLinearColor InColorAndOpacity) { ColorAndOpacity = InColorAndOpacity; }
	void SetBackgroundColor(FLinearColor InBackgroundColor) { BackgroundColor = InBackgroundColor; }
	bool IsPressed() const { return bPressed; }

	void HandleMouseEnter(const FPointerEvent& Event) override;
	void HandleMouseLeave(const FPointerEvent& Event) override;
	bool HandleMouseButtonDown(const FPointerEvent& Event) override;
	void HandleMouseButtonUp(const FPointerEvent& Event, bool bReleasedOverWidget) override;

protected:
	FVector2D ComputeDesiredSize() const override;
	void ArrangeChildren(const FGeometry& MyGeometry) override;
	void OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const override;

private:
	bool bPressed = false;
};
