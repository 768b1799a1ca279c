#pragma once

#include "CoreMinimal.h"
#include "UObject/GarbageCollection.h"
#include "UObject/WeakObjectPtrTemplates.h"
#include "Input/Events.h"
#include "Types/SlateEnums.h"

class FHeadlessApplication;
class FHeadlessPainter;
class UComboBoxString;
class UUserWidget;
class UWidget;

// The game viewport of the headless application: the user widgets added to it, laid out over the whole
// viewport each frame, ticked, hit by the simulated pointer and painted. Its frame work runs in the
// application's Input, Layout and WidgetTick phases; tests and the player call the rest directly.
class UMG_API FHeadlessViewport : private FGCObject
{
public:
	static FHeadlessViewport& Get();

	void AddWidget(UUserWidget* Widget, int32 ZOrder);
	void RemoveWidget(UUserWidget* Widget);
	bool ContainsWidget(const UUserWidget* Widget) const;
	// The viewport widgets from bottom to top.
	TArray<UUserWidget*> GetWidgets() const;
	// Removes every viewport widget (each is destructed) and forgets focus, hover and capture.
	void Reset();

	// The application's viewport size, or 1920 by 1080 without an application.
	FVector2D GetViewportSize() const;

	// Measures and arranges every viewport widget to fill the viewport.
	void LayoutWidgets();
	// Ticks every visible user widget on screen, parents before children.
	void TickWidgets(float DeltaSeconds);
	// Turns the application's queued user actions into widget events.
	void ProcessInput(FHeadlessApplication& App);

	// Paints the viewport (widgets by z-order, an open drop-down list, then the on-screen debug messages).
	void Paint(FHeadlessPainter& Painter) const;
	// Lays the widgets out, paints the viewport and writes it as a PNG; false when the file cannot be written.
	bool PaintToPng(const FString& Path);

	UWidget* GetFocusedWidget() const;
	void SetFocusedWidget(UWidget* Widget);
	// The focused widget loses focus; an editable text commits with Cause.
	void ClearFocus(ETextCommit::Type Cause);
	bool IsHovered(const UWidget* Widget) const;
	// The drop-down list shown above everything; a click outside it closes it.
	void SetOpenComboBox(UComboBoxString* ComboBox);
	// The widgets under the point that the pointer would reach, from the viewport widget down to the one hit.
	TArray<UWidget*> FindWidgetPathAt(FVector2D ScreenPosition) const;

private:
	struct FViewportEntry
	{
		UUserWidget* Widget = nullptr;
		int32 ZOrder = 0;
	};

	void AddReferencedObjects(FReferenceCollector& Collector) override;
	void MovePointer(FVector2D Position);
	void PressPointer();
	void ReleasePointer();
	void UpdateHover(const FPointerEvent& Event);

	TArray<FViewportEntry> Entries;
	TArray<TWeakObjectPtr<UWidget>> HoverPath;
	TWeakObjectPtr<UWidget> Focused;
	TWeakObjectPtr<UWidget> Captor;
	TWeakObjectPtr<UComboBoxString> OpenComboBox;
	int32 PressedOption = INDEX_NONE;
	FVector2D PointerPosition = FVector2D::ZeroVector;
};
