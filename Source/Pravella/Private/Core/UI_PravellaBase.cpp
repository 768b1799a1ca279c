#include "Core/UI_PravellaBase.h"

#include "Animation/WidgetAnimation.h"
#include "Blueprint/WidgetBlueprintGeneratedClass.h"
#include "UI_PravellaSystem.h"

void UUI_PravellaBase::SetParent(UWidget* InParentWidget)
{
	ParentWidget = InParentWidget;
}

UWidgetAnimation* UUI_PravellaBase::GetNameWidgetAnimation(const FString& InWidgetAnimationName) const
{
	// The widget compiler names each animation object after the designer's name with this suffix.
	const FString CompiledName = InWidgetAnimationName + TEXT("_INST");
	// A blueprint made from another keeps its parent's animations in the parent's class.
	for (const UClass* Class = GetClass(); Class; Class = Class->GetSuperClass())
	{
		const UWidgetBlueprintGeneratedClass* WidgetClass = Cast<UWidgetBlueprintGeneratedClass>(Class);
		if (!WidgetClass)
		{
			continue;
		}
		for (UWidgetAnimation* Animation : WidgetClass->Animations)
		{
			if (Animation && Animation->GetName().Equals(CompiledName, ESearchCase::IgnoreCase))
			{
				return Animation;
			}
		}
	}
	return nullptr;
}

UUI_PravellaSystem* UUI_PravellaBase::GetParentSystem() const
{
	return Cast<UUI_PravellaSystem>(ParentWidget);
}
