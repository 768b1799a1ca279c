#include "Components/WrapBox.h"

#include "Components/WrapBoxSlot.h"

UWrapBox::UWrapBox()
{
	Visibility = ESlateVisibility::SelfHitTestInvisible;
}

UWrapBoxSlot* UWrapBox::AddChildToWrapBox(UWidget* Content)
{
	return Cast<UWrapBoxSlot>(AddChild(Content));
}

UClass* UWrapBox::GetSlotClass() const
{
	return UWrapBoxSlot::StaticClass();
}

FVector2D UWrapBox::Flow(float WrapWidth, TArray<FVector2D>* OutPositions) const
{
	FVector2D Extent = FVector2D::ZeroVector;
	double RowX = 0.0;
	double RowY = 0.0;
	double RowHeight = 0.0;
	bool bRowEmpty = true;
	for (const TObjectPtr<UPanelSlot>& Each : LiveSlots)
	{
		const UWrapBoxSlot* WrapSlot = static_cast<const UWrapBoxSlot*>(Each.Get());
		FVector2D Position = FVector2D::ZeroVector;
		if (WrapSlot->Content && WrapSlot->Content->GetVisibility() != ESlateVisibility::Collapsed)
		{
			const FVector2D Size = WrapSlot->Content->GetDesiredSize() + WrapSlot->Padding.GetDesiredSize();
			const double StartX = bRowEmpty ? 0.0 : RowX + InnerSlotPadding.X;
			if (!bRowEmpty && StartX + Size.X > WrapWidth)
			{
				RowY += RowHeight + InnerSlotPadding.Y;
				RowX = 0.0;
				RowHeight = 0.0;
				bRowEmpty = true;
			}
			const double X = bRowEmpty ? 0.0 : RowX + InnerSlotPadding.X;
			Position = FVector2D(X, RowY) + WrapSlot->Padding.GetTopLeft();
			RowX = X + Size.X;
			RowHeight = FMath::Max(RowHeight, Size.Y);
			bRowEmpty = false;
			Extent.X = FMath::Max(Extent.X, RowX);
			Extent.Y = FMath::Max(Extent.Y, RowY + RowHeight);
		}
		if (OutPositions)
		{
			OutPositions->Add(Position);
		}
	}
	return Extent;
}

FVector2D UWrapBox::ComputeDesiredSize() const
{
	return Flow(bExplicitWrapSize ? WrapSize : TNumericLimits<float>::Max(), nullptr);
}

void UWrapBox::ArrangeChildren(const FGeometry& MyGeometry)
{
	TArray<FVector2D> Positions;
	Flow(bExplicitWrapSize ? WrapSize : float(MyGeometry.GetLocalSize().X), &Positions);
	for (int32 Index = 0; Index < LiveSlots.Num(); ++Index)
	{
		UWidget* Child = LiveSlots[Index]->Content;
		if (Child && Child->GetVisibility() != ESlateVisibility::Collapsed)
		{
			Child->Arrange(MyGeometry.MakeChild(Positions[Index], Child->GetDesiredSize()));
		}
	}
}
