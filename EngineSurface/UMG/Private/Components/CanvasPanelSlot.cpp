#include "Components/CanvasPanelSlot.h"

void UCanvasPanelSlot::SetPosition(FVector2D InPosition)
{
	LayoutData.Offsets.Left = float(InPosition.X);
	LayoutData.Offsets.Top = float(InPosition.Y);
}

FVector2D UCanvasPanelSlot::GetPosition() const
{
	return FVector2D(LayoutData.Offsets.Left, LayoutData.Offsets.Top);
}

void UCanvasPanelSlot::SetSize(FVector2D InSize)
{
	LayoutData.Offsets.Right = float(InSize.X);
	LayoutData.Offsets.Bottom = float(InSize.Y);
}

FVector2D UCanvasPanelSlot::GetSize() const
{
	return FVector2D(LayoutData.Offsets.Right, LayoutData.Offsets.Bottom);
}
