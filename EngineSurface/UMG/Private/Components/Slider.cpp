#include "Components/Slider.h"

#include "Headless/HeadlessPainter.h"

float USlider::GetNormalizedValue() const
{
	return MaxValue == MinValue ? 1.0f : (Value - MinValue) / (MaxValue - MinValue);
}

void USlider::CommitPointer(FVector2D ScreenPosition)
{
	const double Width = GetCachedGeometry().GetLocalSize().X;
	const double Fraction =
	    Width > 0.0 ? FMath::Clamp(GetCachedGeometry().AbsoluteToLocal(ScreenPosition).X / Width, 0.0, 1.0) : 0.0;
	const float NewValue = MinValue + float(Fraction) * (MaxValue - MinValue);
	if (NewValue != Value)
	{
		Value = NewValue;
		OnValueChanged.Broadcast(Value);
	}
}

FReply USlider::HandleMouseMove(const FGeometry& Geometry, const FPointerEvent& Event)
{
	if (!bCaptured)
	{
		return FReply::Unhandled();
	}
	CommitPointer(Event.GetScreenSpacePosition());
	return FReply::Handled();
}

bool USlider::HandleMouseButtonDown(const FPointerEvent& Event)
{
	bCaptured = true;
	OnMouseCaptureBegin.Broadcast();
	CommitPointer(Event.GetScreenSpacePosition());
	return true;
}

void USlider::HandleMouseButtonUp(const FPointerEvent& Event, bool bReleasedOverWidget)
{
	bCaptured = false;
	OnMouseCaptureEnd.Broadcast();
}

void USlider::OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const
{
	const FVector2D Size = PaintGeometry.GetLocalSize();
	const FVector2D Corner = PaintGeometry.GetAbsolutePosition();
	Painter.FillBox(Corner + FVector2D(0.0, Size.Y * 0.5 - 1.0), FVector2D(Size.X, 2.0), FLinearColor::Gray, Opacity);
	const double ThumbX = FMath::Clamp(double(GetNormalizedValue()), 0.0, 1.0) * FMath::Max(Size.X - 8.0, 0.0);
	Painter.FillBox(Corner + FVector2D(ThumbX, 0.0), FVector2D(8.0, Size.Y), FLinearColor::White, Opacity);
}
