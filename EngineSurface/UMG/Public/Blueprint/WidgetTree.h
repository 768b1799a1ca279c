#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "Components/Widget.h"

#include "WidgetTree.generated.h"

// The widgets of one user widget, from its root down; the outer of every widget in it.
UCLASS()
class UMG_API UWidgetTree : public UObject
{
	GENERATED_BODY()

public:
	UPROPERTY(Transient)
	TObjectPtr<UWidget> RootWidget;

	// The widget of that name in the tree (user widgets inside are not searched); null when none.
	UWidget* FindWidget(const FName& Name) const;
	// Every widget of the tree, parents before children.
	void GetAllWidgets(TArray<UWidget*>& OutWidgets) const;

	template <typename WidgetT>
	WidgetT* ConstructWidget(TSubclassOf<UWidget> WidgetClass = WidgetT::StaticClass(), FName WidgetName = NAME_None)
	{
		return NewObject<WidgetT>(this, WidgetClass, WidgetName, RF_Transient);
	}
};
