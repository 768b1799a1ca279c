#pragma once

#include "CoreMinimal.h"
#include "Components/PanelWidget.h"

#include "CanvasPanel.generated.h"

class UCanvasPanelSlot;

// Places each child at its slot's position and size. Its desired size is the extent of its children that are
// not collapsed (the largest right and bottom edge of a point-anchored child), so an auto-sized canvas wraps
// what it holds. It is not hit by the pointer itself (self hit-test invisible by default), as in the designer.
UCLASS()
class UMG_API UCanvasPanel : public UPanelWidget
{
	GENERATED_BODY()

public:
	UCanvasPanel();

	// The slot the child was put in; null for a null child.
	UCanvasPanelSlot* AddChildToCanvas(UWidget* Content);

	// Children sorted by z-order, keeping the order of addition among equals.
	void GetChildWidgets(TArray<UWidget*>& OutChildren) const override;

protected:
	UClass* GetSlotClass() const override;
	FVector2D ComputeDesiredSize() const override;
	void ArrangeChildren(const FGeometry& MyGeometry) override;

private:
	TArray<UCanvasPanelSlot*> GetSortedSlots() const;
};
