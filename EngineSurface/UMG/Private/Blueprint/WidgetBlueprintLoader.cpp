#include "Animation/WidgetAnimation.h"
#include "Blueprint/AssetJson.h"
#include "Blueprint/UserWidget.h"
#include "Blueprint/WidgetBlueprintGeneratedClass.h"
#include "Blueprint/WidgetTemplate.h"
#include "Components/ContentWidget.h"
#include "Components/PanelWidget.h"
#include "Headless/AssetPaths.h"
#include "Misc/Paths.h"

// Loads widget blueprint assets (the format is described in Content/README.md) into generated classes.

DEFINE_LOG_CATEGORY_STATIC(LogWidgetBlueprint, Log, All);

namespace
{
struct FLoadState
{
	TMap<FString, TWeakObjectPtr<UWidgetBlueprintGeneratedClass>> Loaded;
	// Packages being loaded now, to refuse an asset that contains itself.
	TArray<FString> InProgress;
};

FLoadState& GetLoadState()
{
	static FLoadState* State = new FLoadState();
	return *State;
}

// "/Game/UI/WBP_X.WBP_X_C" and "/Game/UI/WBP_X.WBP_X" name the package "/Game/UI/WBP_X".
FString GetPackagePath(const FString& Path)
{
	const int32 Dot = Path.Find(TEXT("."), ESearchCase::CaseSensitive);
	return Dot == INDEX_NONE ? Path : Path.Left(Dot);
}

UClass* ResolveWidgetClass(const FString& Name)
{
	if (Name.StartsWith(TEXT("/Game/")))
	{
		return StaticLoadClass(UUserWidget::StaticClass(), nullptr, *Name);
	}
	if (Name.StartsWith(TEXT("/Script/")))
	{
		return FindClassByPath(Name);
	}
	return FindClassByPath(TEXT("/Script/UMG.") + Name);
}

bool ReadTemplate(const FAssetJsonValue& Node, FWidgetTemplate& Out, FString& OutError)
{
	const FAssetJsonValue* ClassName = Node.Find(TEXT("Class"));
	const FAssetJsonValue* Name = Node.Find(TEXT("Name"));
	if (!Node.IsObject() || !ClassName || !ClassName->IsString() || !Name || !Name->IsString() ||
	    Name->String.IsEmpty())
	{
		OutError = TEXT("every widget needs a \"Class\" and a \"Name\"");
		return false;
	}
	Out.Class = ResolveWidgetClass(ClassName->String);
	Out.Name = FName(Name->String);
	if (!Out.Class || !Out.Class->IsChildOf(UWidget::StaticClass()))
	{
		OutError = FString::Printf(TEXT("widget %s: unknown widget class %s"), *Name->String, *ClassName->String);
		return false;
	}
	if (const FAssetJsonValue* Properties = Node.Find(TEXT("Properties")); Properties && Properties->IsObject())
	{
		Out.Properties = *Properties;
	}
	if (const FAssetJsonValue* Slot = Node.Find(TEXT("Slot")); Slot && Slot->IsObject())
	{
		Out.Slot = *Slot;
	}
	const FAssetJsonValue* Children = Node.Find(TEXT("Children"));
	if (!Children || Children->Items.Num() == 0)
	{
		return true;
	}
	if (!Children->IsArray() || !Out.Class->IsChildOf(UPanelWidget::StaticClass()))
	{
		OutError = FString::Printf(TEXT("widget %s: a %s cannot hold children"), *Name->String, *Out.Class->GetName());
		return false;
	}
	if (Out.Class->IsChildOf(UContentWidget::StaticClass()) && Children->Items.Num() > 1)
	{
		OutError = FString::Printf(TEXT("widget %s: a %s holds one child"), *Name->String, *Out.Class->GetName());
		return false;
	}
	for (const FAssetJsonValue& Child : Children->Items)
	{
		FWidgetTemplate ChildTemplate;
		if (!ReadTemplate(Child, ChildTemplate, OutError))
		{
			return false;
		}
		Out.Children.Add(std::move(ChildTemplate));
	}
	return true;
}

bool ReadAnimations(const FAssetJsonValue& List, UWidgetBlueprintGeneratedClass& Class, FString& OutError)
{
	for (const FAssetJsonValue& Entry : List.Items)
	{
		const FAssetJsonValue* Name = Entry.Find(TEXT("Name"));
		const FAssetJsonValue* Duration = Entry.Find(TEXT("Duration"));
		const FAssetJsonValue* Tracks = Entry.Find(TEXT("Tracks"));
		if (!Name || !Name->IsString() || !Duration || !Duration->IsNumber())
		{
			OutError = TEXT("every animation needs a \"Name\" and a \"Duration\"");
			return false;
		}
		UWidgetAnimation* Animation =
		    NewObject<UWidgetAnimation>(&Class, UWidgetAnimation::StaticClass(), FName(Name->String + TEXT("_INST")));
		Animation->Duration = float(Duration->Number);
		for (const FAssetJsonValue& Track : Tracks ? Tracks->Items : TArray<FAssetJsonValue>())
		{
			const FAssetJsonValue* Widget = Track.Find(TEXT("Widget"));
			const FAssetJsonValue* Property = Track.Find(TEXT("Property"));
			const FAssetJsonValue* From = Track.Find(TEXT("From"));
			const FAssetJsonValue* To = Track.Find(TEXT("To"));
			if (!Property || !Property->IsString() || !From || !To)
			{
				OutError = FString::Printf(TEXT("animation %s: every track needs \"Property\", \"From\" and \"To\""),
				                           *Name->String);
				return false;
			}
			FWidgetAnimationTrack Read;
			Read.WidgetName = Widget && Widget->IsString() ? FName(Widget->String) : FName();
			Read.PropertyName = FName(Property->String);
			const FAssetJsonValue* Ends[2] = {From, To};
			float* Values[2] = {&Read.From, &Read.To};
			for (int32 End = 0; End < 2; ++End)
			{
				if (Ends[End]->IsNumber())
				{
					*Values[End] = float(Ends[End]->Number);
					continue;
				}
				const int64 Enum = Ends[End]->IsString() ? StaticEnum<ESlateVisibility>()->GetValueByName(
				                                               FName(TEXT("ESlateVisibility::") + Ends[End]->String))
				                                         : INDEX_NONE;
				if (Enum == INDEX_NONE)
				{
					OutError = FString::Printf(TEXT("animation %s: a track value is neither a number nor a visibility"),
					                           *Name->String);
					return false;
				}
				*Values[End] = float(Enum);
			}
			Animation->Tracks.Add(Read);
		}
		Class.Animations.Add(Animation);
	}
	return true;
}

UWidgetBlueprintGeneratedClass* LoadWidgetBlueprint(const FString& PackagePath, const FString& Text)
{
	FAssetJsonValue Document;
	FString Error;
	const FAssetJsonValue* Type = nullptr;
	if (!FAssetJsonValue::Parse(Text, Document, Error) || !(Type = Document.Find(TEXT("Type"))) || !Type->IsString() ||
	    Type->String != TEXT("WidgetBlueprint"))
	{
		// Not a widget blueprint; another loader may know the file.
		return nullptr;
	}
	const FString AssetName = FPaths::GetBaseFilename(PackagePath);
	auto Fail = [&PackagePath](const FString& Reason) -> UWidgetBlueprintGeneratedClass*
	{
		UE_LOG(LogWidgetBlueprint, Error, TEXT("Widget blueprint %s: %s"), *PackagePath, *Reason);
		return nullptr;
	};

	const FAssetJsonValue* ParentName = Document.Find(TEXT("ParentClass"));
	UClass* Parent = ParentName && ParentName->IsString() ? ResolveWidgetClass(ParentName->String) : nullptr;
	if (!Parent || !Parent->IsChildOf(UUserWidget::StaticClass()))
	{
		return Fail(TEXT("\"ParentClass\" must name a user widget class"));
	}

	auto Template = std::make_shared<FWidgetTemplate>();
	if (const FAssetJsonValue* Root = Document.Find(TEXT("Root")))
	{
		if (!ReadTemplate(*Root, *Template, Error))
		{
			return Fail(Error);
		}
	}

	UWidgetBlueprintGeneratedClass* Class = NewObject<UWidgetBlueprintGeneratedClass>(
	    nullptr, UWidgetBlueprintGeneratedClass::StaticClass(), FName(AssetName + TEXT("_C")), RF_Public);
	Class->SetSuperStruct(Parent);
	Class->PackageName = PackagePath;
	Class->ClassFlags = CLASS_CompiledFromBlueprint;
	if (Document.Find(TEXT("Root")))
	{
		Class->SetWidgetTemplate(Template);
	}
	if (const FAssetJsonValue* Animations = Document.Find(TEXT("Animations"));
	    Animations && !ReadAnimations(*Animations, *Class, Error))
	{
		Class->MarkAsGarbage();
		return Fail(Error);
	}
	if (const FAssetJsonValue* Defaults = Document.Find(TEXT("Defaults")))
	{
		for (int32 Index = 0; Index < Defaults->Keys.Num(); ++Index)
		{
			const FString& Key = Defaults->Keys[Index];
			if (!Parent->FindPropertyByName(FName(Key)))
			{
				UE_LOG(LogWidgetBlueprint, Warning, TEXT("Widget blueprint %s: %s has no property %s; default ignored"),
				       *PackagePath, *Parent->GetName(), *Key);
				continue;
			}
			Class->AddDefaultValue(FName(Key), Defaults->Items[Index].ToPropertyText());
		}
	}
	return Class;
}

UObject* LoadWidgetBlueprintAsset(const FString& Path, const UClass* RequestedClass)
{
	if (!Path.StartsWith(TEXT("/Game/")) ||
	    (RequestedClass && !UWidgetBlueprintGeneratedClass::StaticClass()->IsChildOf(RequestedClass)))
	{
		return nullptr;
	}
	FLoadState& State = GetLoadState();
	const FString PackagePath = GetPackagePath(Path);
	if (const TWeakObjectPtr<UWidgetBlueprintGeneratedClass>* Known = State.Loaded.Find(PackagePath);
	    Known && Known->IsValid())
	{
		return Known->Get();
	}
	FString Text;
	if (!FAssetPaths::LoadAssetFileToString(PackagePath, Text))
	{
		return nullptr;
	}
	if (State.InProgress.Contains(PackagePath))
	{
		UE_LOG(LogWidgetBlueprint, Error, TEXT("Widget blueprint %s contains itself"), *PackagePath);
		return nullptr;
	}
	State.InProgress.Add(PackagePath);
	UWidgetBlueprintGeneratedClass* Class = LoadWidgetBlueprint(PackagePath, Text);
	State.InProgress.Remove(PackagePath);
	if (Class)
	{
		State.Loaded.Add(PackagePath, Class);
	}
	return Class;
}

struct FRegisterWidgetBlueprintLoader
{
	FRegisterWidgetBlueprintLoader() { RegisterAssetLoader(&LoadWidgetBlueprintAsset); }
} RegisterWidgetBlueprintLoader;
} // namespace
