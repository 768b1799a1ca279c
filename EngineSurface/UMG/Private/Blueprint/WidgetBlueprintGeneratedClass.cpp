#include "Blueprint/WidgetBlueprintGeneratedClass.h"

#include "Animation/WidgetAnimation.h"
#include "Blueprint/UserWidget.h"
#include "Blueprint/WidgetTemplate.h"
#include "Blueprint/WidgetTree.h"

DEFINE_LOG_CATEGORY_STATIC(LogUMG, Log, All);

namespace
{
void CollectTemplateClasses(const FWidgetTemplate& Template, FReferenceCollector& Collector)
{
	UClass* Class = Template.Class;
	Collector.AddReferencedObject(Class);
	for (const FWidgetTemplate& Child : Template.Children)
	{
		CollectTemplateClasses(Child, Collector);
	}
}

bool IsOptionalBinding(const FProperty& Property, const TCHAR* OptionalKey)
{
	return Property.HasMetaData(FName(OptionalKey)) ||
	       Property.GetMetaData(FName(TEXT("OptionalWidget"))).Equals(TEXT("true"), ESearchCase::IgnoreCase);
}

void SetObjectProperty(const FProperty& Property, UObject* Container, UObject* Value)
{
	// Object and TObjectPtr properties both hold one object pointer.
	*static_cast<UObject**>(Property.ContainerPtrToValuePtr(Container)) = Value;
}
} // namespace

UWidgetAnimation* UWidgetBlueprintGeneratedClass::FindAnimation(const FString& Name) const
{
	const FString Wanted = Name + TEXT("_INST");
	for (const TObjectPtr<UWidgetAnimation>& Animation : Animations)
	{
		if (Animation && Animation->GetName().Equals(Wanted, ESearchCase::IgnoreCase))
		{
			return Animation;
		}
	}
	return nullptr;
}

bool UWidgetBlueprintGeneratedClass::InitializeWidget(UUserWidget* Widget) const
{
	const UWidgetBlueprintGeneratedClass* Source = nullptr;
	for (const UClass* Class = this; Class && !Source; Class = Class->GetSuperClass())
	{
		const UWidgetBlueprintGeneratedClass* Blueprint = Cast<UWidgetBlueprintGeneratedClass>(Class);
		Source = Blueprint && Blueprint->Template ? Blueprint : nullptr;
	}
	Widget->WidgetTree =
	    NewObject<UWidgetTree>(Widget, UWidgetTree::StaticClass(), FName(TEXT("WidgetTree")), RF_Transient);
	// A blueprint without a tree still has its bindings checked: the engine's compiler refuses one whose class
	// binds a child that the tree lacks, and the widget's code relies on every required child being there.
	if (Source)
	{
		UWidget* Root = BuildWidgetFromTemplate(*Source->Template, *Widget->WidgetTree);
		if (!Root)
		{
			UE_LOG(LogUMG, Error, TEXT("Widget %s: the tree of %s could not be built"), *GetName(),
			       *Source->GetPathName());
			return false;
		}
		Widget->WidgetTree->RootWidget = Root;
	}

	for (FProperty* Property : GetAllProperties())
	{
		const FPropertyType& Type = Property->GetType();
		if (!Type.bIsObjectReference)
		{
			continue;
		}
		if (Property->HasMetaData(FName(TEXT("BindWidget"))) ||
		    Property->HasMetaData(FName(TEXT("BindWidgetOptional"))))
		{
			UClass* Expected = Type.GetReferencedClass();
			UWidget* Found = Widget->WidgetTree->FindWidget(Property->GetFName());
			const bool bOptional = IsOptionalBinding(*Property, TEXT("BindWidgetOptional"));
			if (Found && Expected && !Found->IsA(Expected))
			{
				UE_LOG(LogUMG, Error, TEXT("Widget %s: bound widget %s must be a %s, but the asset's %s is a %s"),
				       *GetName(), *Property->GetName(), *Expected->GetName(), *Found->GetName(),
				       *Found->GetClass()->GetName());
				return false;
			}
			if (!Found && !bOptional)
			{
				UE_LOG(LogUMG, Error,
				       TEXT("Widget %s: the asset has no %s named %s, which the class binds (BindWidget)"), *GetName(),
				       Expected ? *Expected->GetName() : TEXT("widget"), *Property->GetName());
				return false;
			}
			SetObjectProperty(*Property, Widget, Found);
		}
		else if (Property->HasMetaData(FName(TEXT("BindWidgetAnim"))) ||
		         Property->HasMetaData(FName(TEXT("BindWidgetAnimOptional"))))
		{
			UWidgetAnimation* Found = nullptr;
			for (const UClass* Class = this; Class && !Found; Class = Class->GetSuperClass())
			{
				const UWidgetBlueprintGeneratedClass* Blueprint = Cast<UWidgetBlueprintGeneratedClass>(Class);
				Found = Blueprint ? Blueprint->FindAnimation(Property->GetName()) : nullptr;
			}
			if (!Found && !IsOptionalBinding(*Property, TEXT("BindWidgetAnimOptional")))
			{
				UE_LOG(LogUMG, Error,
				       TEXT("Widget %s: the asset has no animation named %s, which the class binds (BindWidgetAnim)"),
				       *GetName(), *Property->GetName());
				return false;
			}
			SetObjectProperty(*Property, Widget, Found);
		}
	}
	return true;
}

void UWidgetBlueprintGeneratedClass::AddReferencedObjects(UObject* This, FReferenceCollector& Collector)
{
	UClass::AddReferencedObjects(This, Collector);
	const UWidgetBlueprintGeneratedClass* Class = static_cast<const UWidgetBlueprintGeneratedClass*>(This);
	if (Class->Template)
	{
		CollectTemplateClasses(*Class->Template, Collector);
	}
}
