#pragma once

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"

#include "UI_PravellaBase.generated.h"

class UUI_PravellaSystem;
class UWidgetAnimation;

// Common base of the player's widgets: a back-pointer to the widget that owns the component, so that small
// components can call into the player, and a lookup of the widget's own designer animations.
UCLASS()
class PRAVELLA_API UUI_PravellaBase : public UUserWidget
{
	GENERATED_BODY()

public:
	// Null clears the parent.
	void SetParent(UWidget* InParentWidget);

protected:
	// The animation the designer named InWidgetAnimationName (letter case ignored), or null. Only widgets made
	// from a widget blueprint have animations.
	UWidgetAnimation* GetNameWidgetAnimation(const FString& InWidgetAnimationName) const;

	// The parent when it is the lesson player, else null.
	UUI_PravellaSystem* GetParentSystem() const;

private:
	UPROPERTY()
	TObjectPtr<UWidget> ParentWidget;
};
