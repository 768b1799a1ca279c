#include "Blueprint/WidgetTree.h"

#include "Blueprint/UserWidget.h"

namespace
{
void CollectWidgets(UWidget* Widget, TArray<UWidget*>& OutWidgets)
{
	OutWidgets.Add(Widget);
	// A user widget's own tree belongs to it, not to this one.
	if (Widget->IsA<UUserWidget>())
	{
		return;
	}
	TArray<UWidget*> Children;
	Widget->GetChildWidgets(Children);
	for (UWidget* Child : Children)
	{
		CollectWidgets(Child, OutWidgets);
	}
}
} // namespace

UWidget* UWidgetTree::FindWidget(const FName& Name) const
{
	TArray<UWidget*> Widgets;
	GetAllWidgets(Widgets);
	UWidget* const* Found =
	    Widgets.FindByPredicate([&Name](const UWidget* Widget) { return Widget->GetFName() == Name; });
	return Found ? *Found : nullptr;
}

void UWidgetTree::GetAllWidgets(TArray<UWidget*>& OutWidgets) const
{
	OutWidgets.Reset();
	if (RootWidget)
	{
		CollectWidgets(RootWidget, OutWidgets);
	}
}
