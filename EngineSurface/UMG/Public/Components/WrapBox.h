#pragma once

#include "CoreMinimal.h"
#include "Components/PanelWidget.h"

#include "WrapBox.generated.h"

class UWrapBoxSlot;

// Lays its children out left to right and starts a new row when the next one would pass the wrap width:
// its own width, or WrapSize when bExplicitWrapSize is set. Measured unwrapped unless the wrap size is explicit.
UCLASS()
class UMG_API UWrapBox : public UPanelWidget
{
	GENERATED_BODY()

public:
	UWrapBox();

	UPROPERTY()
	FVector2D InnerSlotPadding = FVector2D::ZeroVector;

	UPROPERTY()
	float WrapSize = 500.0f;

	UPROPERTY()
	bool bExplicitWrapSize = false;

	UWrapBoxSlot* AddChildToWrapBox(UWidget* Content);
	void SetInnerSlotPadding(FVector2D InPadding) { InnerSlotPadding = InPadding; }

protected:
	UClass* GetSlotClass() const override;
	FVector2D ComputeDesiredSize() const override;
	void ArrangeChildren(const FGeometry& MyGeometry) override;

private:
	// Places the children in rows no wider than WrapWidth; returns the extent they take.
	FVector2D Flow(float WrapWidth, TArray<FVector2D>* OutPositions) const;
};
