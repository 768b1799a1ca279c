#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

#include <memory>

#include "WidgetBlueprintGeneratedClass.generated.h"

class UUserWidget;
class UWidget;
class UWidgetAnimation;
class UWidgetTree;
struct FWidgetTemplate;

// The class a widget blueprint asset compiles to ("WBP_X_C"): a subclass of its parent class that carries
// the widget tree every instance is built with, and the designer animations ("OpenBar_INST").
UCLASS()
class UMG_API UWidgetBlueprintGeneratedClass : public UClass
{
	GENERATED_BODY()

public:
	UPROPERTY()
	TArray<TObjectPtr<UWidgetAnimation>> Animations;

	// The animation the designer named Name (compared without case, as "<Name>_INST"); null when none.
	UWidgetAnimation* FindAnimation(const FString& Name) const;

	// Builds the tree of this class (or of the nearest blueprint parent that has one) into the widget and
	// fills its bound-widget properties. False, with the reason logged, when a bound child is missing.
	bool InitializeWidget(UUserWidget* Widget) const;

	void SetWidgetTemplate(std::shared_ptr<const FWidgetTemplate> InTemplate) { Template = std::move(InTemplate); }
	bool HasWidgetTemplate() const { return Template != nullptr; }

	static void AddReferencedObjects(UObject* This, FReferenceCollector& Collector);

private:
	std::shared_ptr<const FWidgetTemplate> Template;
};
