#pragma once

#include "CoreMinimal.h"
#include "Components/PanelWidget.h"

#include "ContentWidget.generated.h"

// A panel with at most one child, its content.
UCLASS(Abstract)
class UMG_API UContentWidget : public UPanelWidget
{
	GENERATED_BODY()

public:
	UContentWidget() { bCanHaveMultipleChildren = false; }

	UWidget* GetContent() const { return GetChildAt(0); }
	UPanelSlot* GetContentSlot() const { return Slots.Num() > 0 ? Slots[0].Get() : nullptr; }
	// Replaces the content; null just removes it.
	UPanelSlot* SetContent(UWidget* Content);
};
