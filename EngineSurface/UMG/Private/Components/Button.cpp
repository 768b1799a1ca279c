#include "Components/Button.h"

#include "Headless/HeadlessPainter.h"

FVector2D UButton::ComputeDesiredSize() const
{
	const UWidget* Content = GetContent();
	return Content ? Content->GetDesiredSize() : FVector2D::ZeroVector;
}

void UButton::ArrangeChildren(const FGeometry& MyGeometry)
{
	if (UWidget* Content = GetContent(); Content && Content->GetVisibility() != ESlateVisibility::Collapsed)
	{
		// The content is centred, as the engine's default button alignment does.
		const FVector2D ContentSize = Content->GetDesiredSize();
		Content->Arrange(MyGeometry.MakeChild((MyGeometry.GetLocalSize() - ContentSize) * 0.5, ContentSize));
	}
}

void UButton::OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const
{
	Painter.FillBox(PaintGeometry.GetAbsolutePosition(), PaintGeometry.GetLocalSize(),
	                BackgroundColor * ColorAndOpacity, Opacity);
}

void UButton::HandleMouseEnter(const FPointerEvent& Event)
{
	OnHovered.Broadcast();
}

void UButton::HandleMouseLeave(const FPointerEvent& Event)
{
	OnUnhovered.Broadcast();
}

bool UButton::HandleMouseButtonDown(const FPointerEvent& Event)
{
	bPressed = true;
	OnPressed.Broadcast();
	return true;
}

void UButton::HandleMouseButtonUp(const FPointerEvent& Event, bool bReleasedOverWidget)
{
	bPressed = false;
	OnReleased.Broadcast();
	if (bReleasedOverWidget)
	{
		OnClicked.Broadcast();
	}
}
