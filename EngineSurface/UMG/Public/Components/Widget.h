#pragma once

#include "CoreMinimal.h"
#include "Components/SlateWrapperTypes.h"
#include "Components/Visual.h"
#include "Input/Events.h"
#include "Input/Reply.h"
#include "Layout/Geometry.h"
#include "Slate/WidgetTransform.h"
#include "Types/SlateEnums.h"

#include "Widget.generated.h"

class FHeadlessPainter;
class UPanelSlot;
class UPanelWidget;

// The base of every widget. Besides the engine's calls it carries the headless layout, painting and input
// steps that panels and the viewport run over a tree: Prepass, Arrange, Paint and the Handle* events.
UCLASS(Abstract)
class UMG_API UWidget : public UVisual
{
	GENERATED_BODY()

public:
	// The slot that holds this widget in its parent panel; null for a root.
	UPROPERTY(Transient)
	TObjectPtr<UPanelSlot> Slot;

	UPROPERTY()
	FText ToolTipText;

	UPROPERTY()
	bool bIsEnabled = true;

	UPROPERTY()
	ESlateVisibility Visibility = ESlateVisibility::Visible;

	UPROPERTY()
	float RenderOpacity = 1.0f;

	FWidgetTransform RenderTransform;

	// Where the render transform turns and scales about, as a fraction of the widget's size.
	FVector2D RenderTransformPivot = FVector2D(0.5, 0.5);

	// Visibility takes effect on the next layout; hidden keeps layout space, collapsed gives it up.
	virtual void SetVisibility(ESlateVisibility InVisibility);
	ESlateVisibility GetVisibility() const { return Visibility; }
	// True for the visibilities that draw the widget (Visible and the two hit-test-invisible ones).
	bool IsVisible() const;

	// A disabled widget and everything inside it raise no input events.
	virtual void SetIsEnabled(bool bInIsEnabled);
	bool GetIsEnabled() const { return bIsEnabled; }

	// Multiplies into the opacity of everything drawn by this widget and its children.
	void SetRenderOpacity(float InOpacity) { RenderOpacity = InOpacity; }
	float GetRenderOpacity() const { return RenderOpacity; }
	void SetRenderTranslation(FVector2D Translation) { RenderTransform.Translation = Translation; }
	// Moves, scales and turns what is drawn, about the pivot; layout is unchanged.
	void SetRenderTransform(FWidgetTransform InTransform) { RenderTransform = InTransform; }
	const FWidgetTransform& GetRenderTransform() const { return RenderTransform; }
	void SetRenderTransformPivot(FVector2D Pivot) { RenderTransformPivot = Pivot; }
	FVector2D GetRenderTransformPivot() const { return RenderTransformPivot; }

	void SetToolTipText(const FText& InToolTipText) { ToolTipText = InToolTipText; }
	const FText& GetToolTipText() const { return ToolTipText; }

	// The panel this widget is a child of; null for a root or a detached widget.
	UPanelWidget* GetParent() const;
	// Detaches the widget from its panel; a widget on screen is destructed by it.
	virtual void RemoveFromParent();

	// The geometry of the last layout pass (zero before the first); a frame old at most.
	const FGeometry& GetCachedGeometry() const { return CachedGeometry; }
	// Measures this widget and everything inside it now, so GetDesiredSize is current.
	void ForceLayoutPrepass();
	// The size measured by the last prepass.
	FVector2D GetDesiredSize() const { return DesiredSize; }
	// Layout is recomputed every frame here, so there is nothing to invalidate.
	void InvalidateLayoutAndVolatility() {}

	// Gives this widget keyboard focus; the widget that had it loses it (an editable text commits).
	void SetFocus();
	bool HasKeyboardFocus() const;
	// True while the pointer is over this widget or one of its children.
	bool IsHovered() const;

	// Whether the widget sits in a tree that is on screen (added to the viewport, directly or through parents).
	bool IsOnScreen() const { return bIsOnScreen; }
	// Enabled, and so are all its parents.
	bool IsInteractable() const;
	// The widget that contains this one: its panel, or the user widget whose tree it is the root of.
	UWidget* GetLogicalParent() const;

	// Measures children first, then this widget; collapsed widgets measure zero.
	virtual void Prepass();
	// Takes the geometry the parent gives this widget and arranges its children inside it.
	void Arrange(const FGeometry& AllottedGeometry);
	// Draws the widget and its children unless hidden or collapsed; parents' render translations add up, and a
	// widget's scale and angle turn it and its children about its pivot. Hit tests see translations only.
	void Paint(FHeadlessPainter& Painter, float InheritedOpacity, FVector2D InheritedTranslation) const;
	// Where the widget is drawn and hit: its layout geometry moved by its own and its parents' translations.
	FGeometry GetPaintGeometry() const;
	// The children, in the order they are drawn (the last one is on top).
	virtual void GetChildWidgets(TArray<UWidget*>& OutChildren) const {}

	// Puts the tree below this widget on screen or takes it off; user widgets construct and destruct.
	void AddToScreen(UWidget* InLogicalParent = nullptr);
	void RemoveFromScreen();

	// Pointer and keyboard events routed by the viewport; only called on interactable widgets.
	virtual void HandleMouseEnter(const FPointerEvent& Event) {}
	virtual void HandleMouseLeave(const FPointerEvent& Event) {}
	virtual FReply HandleMouseMove(const FGeometry& Geometry, const FPointerEvent& Event)
	{
		return FReply::Unhandled();
	}
	// True when the widget takes the press: it then receives the moves and the release.
	virtual bool HandleMouseButtonDown(const FPointerEvent& Event) { return false; }
	virtual void HandleMouseButtonUp(const FPointerEvent& Event, bool bReleasedOverWidget) {}
	virtual bool SupportsKeyboardFocus() const { return false; }
	virtual void HandleFocusLost(ETextCommit::Type Cause) {}
	virtual void HandleTypedText(const FString& Text) {}
	virtual void HandleEnter() {}
	virtual void HandleBackspace() {}

protected:
	virtual FVector2D ComputeDesiredSize() const { return FVector2D::ZeroVector; }
	virtual void ArrangeChildren(const FGeometry& MyGeometry) {}
	virtual void OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const {}
	virtual void OnAddedToScreen() {}
	virtual void OnRemovedFromScreen() {}

	FGeometry CachedGeometry;
	FVector2D DesiredSize = FVector2D::ZeroVector;

private:
	void PaintTurned(FHeadlessPainter& Painter, float Opacity, FVector2D Translation) const;

	bool bIsOnScreen = false;
	// Set while on screen; a user widget's root has no slot, so its parent is remembered here.
	UWidget* LogicalParent = nullptr;
};
