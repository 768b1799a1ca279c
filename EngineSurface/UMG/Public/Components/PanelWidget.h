#pragma once

#include "CoreMinimal.h"
#include "Components/Widget.h"

#include "PanelWidget.generated.h"

class UPanelSlot;

// A widget that holds children, each in a slot of the panel's slot class. The panel is laid out and drawn in its
// live order, which follows every change at once except InsertChildAt's (as in the engine, whose live widget
// gets an inserted child appended); the live order is the slots' order again once the panel goes on screen anew.
UCLASS(Abstract)
class UMG_API UPanelWidget : public UWidget
{
	GENERATED_BODY()

public:
	// Detaches Content from its old parent and appends it; null when Content is null or the panel is full.
	// A panel on screen constructs the child at once.
	UPanelSlot* AddChild(UWidget* Content);
	// As AddChild, but puts Content at Index (appended when Index is past the end); the other children keep
	// their slots. As the engine documents, the live layout does not follow: the child is laid out last until
	// the panel is rebuilt (goes on screen again).
	UPanelSlot* InsertChildAt(int32 Index, UWidget* Content);
	// Puts NewChild into CurrentChild's slot, which keeps its place and layout; CurrentChild leaves the panel.
	// False when CurrentChild is not a child. The live layout follows at once.
	virtual bool ReplaceChild(UWidget* CurrentChild, UWidget* NewChild);
	bool RemoveChild(UWidget* Content);
	bool RemoveChildAt(int32 Index);
	// Removes every child, first to last.
	virtual void ClearChildren();

	int32 GetChildrenCount() const { return Slots.Num(); }
	UWidget* GetChildAt(int32 Index) const;
	// INDEX_NONE when the widget is not a child.
	int32 GetChildIndex(const UWidget* Content) const;
	TArray<UWidget*> GetAllChildren() const;
	bool HasChild(UWidget* Content) const { return GetChildIndex(Content) != INDEX_NONE; }
	bool HasAnyChildren() const { return Slots.Num() > 0; }
	bool CanHaveMultipleChildren() const { return bCanHaveMultipleChildren; }
	const TArray<TObjectPtr<UPanelSlot>>& GetSlots() const { return Slots; }

	void GetChildWidgets(TArray<UWidget*>& OutChildren) const override;

protected:
	virtual UClass* GetSlotClass() const;
	virtual void OnSlotAdded(UPanelSlot* InSlot) {}
	void OnAddedToScreen() override;

	UPROPERTY(Transient)
	TArray<TObjectPtr<UPanelSlot>> Slots;
	// The same slots in the order they are laid out and drawn.
	UPROPERTY(Transient)
	TArray<TObjectPtr<UPanelSlot>> LiveSlots;

	bool bCanHaveMultipleChildren = true;
};
