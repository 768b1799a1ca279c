#include "Components/Widget.h"

#include "Components/PanelSlot.h"
#include "Components/PanelWidget.h"
#include "Headless/HeadlessPainter.h"
#include "Headless/HeadlessViewport.h"

void UWidget::SetVisibility(ESlateVisibility InVisibility)
{
	Visibility = InVisibility;
}

bool UWidget::IsVisible() const
{
	return Visibility != ESlateVisibility::Hidden && Visibility != ESlateVisibility::Collapsed;
}

void UWidget::SetIsEnabled(bool bInIsEnabled)
{
	bIsEnabled = bInIsEnabled;
}

UPanelWidget* UWidget::GetParent() const
{
	return Slot ? Slot->Parent.Get() : nullptr;
}

void UWidget::RemoveFromParent()
{
	if (UPanelWidget* Parent = GetParent())
	{
		Parent->RemoveChild(this);
	}
}

void UWidget::ForceLayoutPrepass()
{
	Prepass();
}

void UWidget::SetFocus()
{
	FHeadlessViewport::Get().SetFocusedWidget(this);
}

bool UWidget::HasKeyboardFocus() const
{
	return FHeadlessViewport::Get().GetFocusedWidget() == this;
}

bool UWidget::IsHovered() const
{
	return FHeadlessViewport::Get().IsHovered(this);
}

bool UWidget::IsInteractable() const
{
	for (const UWidget* Widget = this; Widget; Widget = Widget->GetLogicalParent())
	{
		if (!Widget->bIsEnabled)
		{
			return false;
		}
	}
	return true;
}

UWidget* UWidget::GetLogicalParent() const
{
	if (UPanelWidget* Parent = GetParent())
	{
		return Parent;
	}
	return LogicalParent;
}

void UWidget::Prepass()
{
	TArray<UWidget*> Children;
	GetChildWidgets(Children);
	for (UWidget* Child : Children)
	{
		Child->Prepass();
	}
	DesiredSize = Visibility == ESlateVisibility::Collapsed ? FVector2D::ZeroVector : ComputeDesiredSize();
}

void UWidget::Arrange(const FGeometry& AllottedGeometry)
{
	CachedGeometry = AllottedGeometry;
	ArrangeChildren(AllottedGeometry);
}

void UWidget::Paint(FHeadlessPainter& Painter, float InheritedOpacity, FVector2D InheritedTranslation) const
{
	if (!IsVisible())
	{
		return;
	}
	const float Opacity = InheritedOpacity * RenderOpacity;
	const FVector2D Translation = InheritedTranslation + RenderTransform.Translation;
	if (RenderTransform.Angle != 0.0f || RenderTransform.Scale != FVector2D(1.0, 1.0))
	{
		PaintTurned(Painter, Opacity, Translation);
		return;
	}
	OnPaint(Painter, FGeometry(CachedGeometry.GetAbsolutePosition() + Translation, CachedGeometry.GetLocalSize()),
	        Opacity);
	TArray<UWidget*> Children;
	GetChildWidgets(Children);
	for (const UWidget* Child : Children)
	{
		Child->Paint(Painter, Opacity, Translation);
	}
}

void UWidget::PaintTurned(FHeadlessPainter& Painter, float Opacity, FVector2D Translation) const
{
	// Painted untransformed into a layer of its own, with room for outlines and children that stick out, then
	// blended in scaled and turned about the pivot.
	constexpr int32 Margin = 16;
	const FVector2D Size = CachedGeometry.GetLocalSize();
	const FVector2D TopLeft = CachedGeometry.GetAbsolutePosition() + Translation;
	FHeadlessPainter Layer(FMath::Min(int32(FMath::CeilToDouble(Size.X)) + 2 * Margin, Painter.GetWidth() * 2),
	                       FMath::Min(int32(FMath::CeilToDouble(Size.Y)) + 2 * Margin, Painter.GetHeight() * 2),
	                       FLinearColor::Transparent);
	const FVector2D Shift = FVector2D(Margin, Margin) - CachedGeometry.GetAbsolutePosition();
	OnPaint(Layer, FGeometry(FVector2D(Margin, Margin), Size), Opacity);
	TArray<UWidget*> Children;
	GetChildWidgets(Children);
	for (const UWidget* Child : Children)
	{
		Child->Paint(Layer, Opacity, Shift);
	}
	Painter.BlendLayer(Layer, TopLeft - FVector2D(Margin, Margin), TopLeft + RenderTransformPivot * Size,
	                   RenderTransform.Scale, RenderTransform.Angle);
}

FGeometry UWidget::GetPaintGeometry() const
{
	FVector2D Translation = FVector2D::ZeroVector;
	for (const UWidget* Widget = this; Widget; Widget = Widget->GetLogicalParent())
	{
		Translation += Widget->RenderTransform.Translation;
	}
	return FGeometry(CachedGeometry.GetAbsolutePosition() + Translation, CachedGeometry.GetLocalSize());
}

void UWidget::AddToScreen(UWidget* InLogicalParent)
{
	if (bIsOnScreen)
	{
		return;
	}
	bIsOnScreen = true;
	LogicalParent = InLogicalParent;
	TArray<UWidget*> Children;
	GetChildWidgets(Children);
	for (UWidget* Child : Children)
	{
		Child->AddToScreen(this);
	}
	OnAddedToScreen();
}

void UWidget::RemoveFromScreen()
{
	if (!bIsOnScreen)
	{
		return;
	}
	bIsOnScreen = false;
	OnRemovedFromScreen();
	TArray<UWidget*> Children;
	GetChildWidgets(Children);
	for (UWidget* Child : Children)
	{
		Child->RemoveFromScreen();
	}
	LogicalParent = nullptr;
}
