#include "Components/PanelWidget.h"

#include "Components/PanelSlot.h"

UPanelSlot* UPanelWidget::AddChild(UWidget* Content)
{
	return InsertChildAt(Slots.Num(), Content);
}

void UPanelWidget::OnAddedToScreen()
{
	LiveSlots = Slots;
}

bool UPanelWidget::ReplaceChild(UWidget* CurrentChild, UWidget* NewChild)
{
	const int32 Index = GetChildIndex(CurrentChild);
	if (Index == INDEX_NONE || !NewChild || NewChild == CurrentChild)
	{
		return false;
	}
	NewChild->RemoveFromParent();
	UPanelSlot* PanelSlot = Slots[Index];
	PanelSlot->Content = NewChild;
	NewChild->Slot = PanelSlot;
	CurrentChild->Slot = nullptr;
	// Destructed after it is detached, as a removed child is.
	CurrentChild->RemoveFromScreen();
	if (IsOnScreen())
	{
		NewChild->AddToScreen(this);
	}
	return true;
}

UPanelSlot* UPanelWidget::InsertChildAt(int32 Index, UWidget* Content)
{
	if (!Content || (!bCanHaveMultipleChildren && Slots.Num() > 0))
	{
		return nullptr;
	}
	Content->RemoveFromParent();
	UPanelSlot* NewSlot = NewObject<UPanelSlot>(this, GetSlotClass(), NAME_None, RF_Transient);
	NewSlot->Content = Content;
	NewSlot->Parent = this;
	Content->Slot = NewSlot;
	Slots.Insert(NewSlot, FMath::Clamp(Index, 0, Slots.Num()));
	LiveSlots.Add(NewSlot);
	OnSlotAdded(NewSlot);
	if (IsOnScreen())
	{
		Content->AddToScreen(this);
	}
	return NewSlot;
}

bool UPanelWidget::RemoveChild(UWidget* Content)
{
	return RemoveChildAt(GetChildIndex(Content));
}

bool UPanelWidget::RemoveChildAt(int32 Index)
{
	if (!Slots.IsValidIndex(Index))
	{
		return false;
	}
	UPanelSlot* RemovedSlot = Slots[Index];
	Slots.RemoveAt(Index);
	LiveSlots.Remove(RemovedSlot);
	UWidget* Content = RemovedSlot->Content;
	RemovedSlot->Content = nullptr;
	RemovedSlot->Parent = nullptr;
	if (Content)
	{
		Content->Slot = nullptr;
		// Destructed after it is detached, so that its NativeDestruct sees it gone from the panel.
		Content->RemoveFromScreen();
	}
	return true;
}

void UPanelWidget::ClearChildren()
{
	const TArray<UWidget*> Children = GetAllChildren();
	for (UWidget* Child : Children)
	{
		RemoveChild(Child);
	}
}

UWidget* UPanelWidget::GetChildAt(int32 Index) const
{
	return Slots.IsValidIndex(Index) ? Slots[Index]->Content.Get() : nullptr;
}

int32 UPanelWidget::GetChildIndex(const UWidget* Content) const
{
	if (!Content)
	{
		return INDEX_NONE;
	}
	return Slots.IndexOfByPredicate([Content](const TObjectPtr<UPanelSlot>& Each) { return Each->Content == Content; });
}

TArray<UWidget*> UPanelWidget::GetAllChildren() const
{
	TArray<UWidget*> Children;
	for (const TObjectPtr<UPanelSlot>& Each : Slots)
	{
		if (Each->Content)
		{
			Children.Add(Each->Content);
		}
	}
	return Children;
}

void UPanelWidget::GetChildWidgets(TArray<UWidget*>& OutChildren) const
{
	OutChildren.Reset();
	for (const TObjectPtr<UPanelSlot>& Each : LiveSlots)
	{
		if (Each->Content)
		{
			OutChildren.Add(Each->Content);
		}
	}
}

UClass* UPanelWidget::GetSlotClass() const
{
	return UPanelSlot::StaticClass();
}
