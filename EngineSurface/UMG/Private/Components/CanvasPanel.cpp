#include "Components/CanvasPanel.h"

#include "Components/CanvasPanelSlot.h"

namespace
{
// One axis of a canvas child: where it starts and how long it is, in the canvas's space.
void ArrangeAxis(double ParentSize, double AnchorMin, double AnchorMax, double OffsetStart, double OffsetEnd,
                 double Alignment, double ChildSize, double& OutPosition, double& OutSize)
{
	if (AnchorMin != AnchorMax)
	{
		// Stretched: the offsets are margins from the two anchors.
		OutPosition = AnchorMin * ParentSize + OffsetStart;
		OutSize = AnchorMax * ParentSize - OffsetEnd - OutPosition;
		return;
	}
	OutSize = ChildSize;
	OutPosition = AnchorMin * ParentSize + OffsetStart - Alignment * ChildSize;
}
} // namespace

UCanvasPanel::UCanvasPanel()
{
	Visibility = ESlateVisibility::SelfHitTestInvisible;
}

UCanvasPanelSlot* UCanvasPanel::AddChildToCanvas(UWidget* Content)
{
	return Cast<UCanvasPanelSlot>(AddChild(Content));
}

UClass* UCanvasPanel::GetSlotClass() const
{
	return UCanvasPanelSlot::StaticClass();
}

TArray<UCanvasPanelSlot*> UCanvasPanel::GetSortedSlots() const
{
	TArray<UCanvasPanelSlot*> Sorted;
	for (const TObjectPtr<UPanelSlot>& Each : LiveSlots)
	{
		Sorted.Add(static_cast<UCanvasPanelSlot*>(Each.Get()));
	}
	const auto Before = [](const UCanvasPanelSlot* A, const UCanvasPanelSlot* B) { return A->ZOrder < B->ZOrder; };
	// Most canvases keep every child at one z-order; sorting is asked for at every layout pass and paint.
	for (int32 Index = 1; Index < Sorted.Num(); ++Index)
	{
		if (Before(Sorted[Index], Sorted[Index - 1]))
		{
			Sorted.StableSort(Before);
			break;
		}
	}
	return Sorted;
}

void UCanvasPanel::GetChildWidgets(TArray<UWidget*>& OutChildren) const
{
	OutChildren.Reset();
	for (UCanvasPanelSlot* Each : GetSortedSlots())
	{
		if (Each->Content)
		{
			OutChildren.Add(Each->Content);
		}
	}
}

FVector2D UCanvasPanel::ComputeDesiredSize() const
{
	FVector2D Extent = FVector2D::ZeroVector;
	for (const TObjectPtr<UPanelSlot>& Each : Slots)
	{
		const UCanvasPanelSlot* CanvasSlot = static_cast<const UCanvasPanelSlot*>(Each.Get());
		if (!CanvasSlot->Content || CanvasSlot->Content->GetVisibility() == ESlateVisibility::Collapsed)
		{
			continue;
		}
		const FAnchors& Anchors = CanvasSlot->LayoutData.Anchors;
		const FVector2D Size = CanvasSlot->bAutoSize ? CanvasSlot->Content->GetDesiredSize() : CanvasSlot->GetSize();
		const FVector2D TopLeft = CanvasSlot->GetPosition() - CanvasSlot->LayoutData.Alignment * Size;
		if (!Anchors.IsStretchedHorizontal() && Anchors.Minimum.X == 0.0)
		{
			Extent.X = FMath::Max(Extent.X, TopLeft.X + Size.X);
		}
		if (!Anchors.IsStretchedVertical() && Anchors.Minimum.Y == 0.0)
		{
			Extent.Y = FMath::Max(Extent.Y, TopLeft.Y + Size.Y);
		}
	}
	return Extent;
}

void UCanvasPanel::ArrangeChildren(const FGeometry& MyGeometry)
{
	const FVector2D ParentSize = MyGeometry.GetLocalSize();
	for (const TObjectPtr<UPanelSlot>& Each : Slots)
	{
		const UCanvasPanelSlot* CanvasSlot = static_cast<const UCanvasPanelSlot*>(Each.Get());
		UWidget* Child = CanvasSlot->Content;
		if (!Child || Child->GetVisibility() == ESlateVisibility::Collapsed)
		{
			continue;
		}
		const FAnchorData& Layout = CanvasSlot->LayoutData;
		const FVector2D ChildSize = CanvasSlot->bAutoSize ? Child->GetDesiredSize() : CanvasSlot->GetSize();
		FVector2D Position;
		FVector2D Size;
		ArrangeAxis(ParentSize.X, Layout.Anchors.Minimum.X, Layout.Anchors.Maximum.X, Layout.Offsets.Left,
		            Layout.Offsets.Right, Layout.Alignment.X, ChildSize.X, Position.X, Size.X);
		ArrangeAxis(ParentSize.Y, Layout.Anchors.Minimum.Y, Layout.Anchors.Maximum.Y, Layout.Offsets.Top,
		            Layout.Offsets.Bottom, Layout.Alignment.Y, ChildSize.Y, Position.Y, Size.Y);
		Child->Arrange(MyGeometry.MakeChild(Position, Size));
	}
}
