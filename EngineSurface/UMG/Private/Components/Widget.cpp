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
	OnPaint(Painter, FGeometry(CachedGeometry.GetAbsolutePosition() + Translation, CachedGeometry.GetLocalSize()),
	        Opacity);
	TArray<UWidget*> Children;
	GetChildWidgets(Children);
	for (const UWidget* Child : Children)
	{
		Child->Paint(Painter, Opacity, Translation);
	}
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
