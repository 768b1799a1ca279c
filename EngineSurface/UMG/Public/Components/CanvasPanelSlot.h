#pragma once

#include "CoreMinimal.h"
#include "Components/PanelSlot.h"
#include "Layout/Margin.h"
#include "Widgets/Layout/Anchors.h"

#include "CanvasPanelSlot.generated.h"

// Where a canvas child sits: offsets from its anchors (position and size for point anchors, margins for
// stretched ones), the alignment of its pivot, auto-size and drawing order.
struct FAnchorData
{
	FMargin Offsets = FMargin(0.0f, 0.0f, 100.0f, 30.0f);
	FAnchors Anchors;
	FVector2D Alignment = FVector2D::ZeroVector;
};

UCLASS()
class UMG_API UCanvasPanelSlot : public UPanelSlot
{
	GENERATED_BODY()

public:
	FAnchorData LayoutData;

	UPROPERTY()
	bool bAutoSize = false;

	UPROPERTY()
	int32 ZOrder = 0;

	// With default anchors and alignment the position is the child's top-left corner in canvas units.
	void SetPosition(FVector2D InPosition);
	FVector2D GetPosition() const;
	// Ignored for drawing while auto-size is on.
	void SetSize(FVector2D InSize);
	FVector2D GetSize() const;
	// With auto-size the child takes its own desired size.
	void SetAutoSize(bool bInAutoSize) { bAutoSize = bInAutoSize; }
	bool GetAutoSize() const { return bAutoSize; }
	// Children with higher z-order are drawn above and hit first; equal ones keep the order they were added.
	void SetZOrder(int32 InZOrder) { ZOrder = InZOrder; }
	int32 GetZOrder() const { return ZOrder; }
	void SetAnchors(FAnchors InAnchors) { LayoutData.Anchors = InAnchors; }
	FAnchors GetAnchors() const { return LayoutData.Anchors; }
	void SetAlignment(FVector2D InAlignment) { LayoutData.Alignment = InAlignment; }
	FVector2D GetAlignment() const { return LayoutData.Alignment; }
	void SetOffsets(FMargin InOffsets) { LayoutData.Offsets = InOffsets; }
	FMargin GetOffsets() const { return LayoutData.Offsets; }
};
