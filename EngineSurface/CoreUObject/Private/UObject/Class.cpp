#include "UObject/Class.h"

#include "UObject/GarbageCollection.h"
#include "UObject/GeneratedCppIncludes.h"
#include "UObject/ObjectConstruction.h"

FProperty::FProperty(const TCHAR* InName, const FPropertyType* InType, void* (*InAccessor)(void*), uint64 InFlags,
                     TArray<TPair<FName, FString>> InMeta, const TCHAR* InCppType)
    : Name(InName), Type(InType), Accessor(InAccessor), Flags(InFlags), Meta(std::move(InMeta)), CppType(InCppType)
{
}

bool FProperty::HasMetaData(const FName& Key) const
{
	return Meta.ContainsByPredicate([&Key](const TPair<FName, FString>& Entry) { return Entry.Key == Key; });
}

FString FProperty::GetMetaData(const FName& Key) const
{
	const TPair<FName, FString>* Entry =
	    Meta.FindByPredicate([&Key](const TPair<FName, FString>& Candidate) { return Candidate.Key == Key; });
	return Entry ? Entry->Value : FString();
}

bool FProperty::ExportText_InContainer(const void* Container, FString& Out) const
{
	return Type->ExportText && Type->ExportText(ContainerPtrToValuePtr(Container), Out);
}

bool FProperty::ImportText_InContainer(const FString& Text, void* Container) const
{
	return Type->ImportText && Type->ImportText(ContainerPtrToValuePtr(Container), Text);
}

bool UStruct::IsChildOf(const UStruct* Base) const
{
	for (const UStruct* Struct = this; Struct; Struct = Struct->SuperStruct)
	{
		if (Struct == Base)
		{
			return true;
		}
	}
	return false;
}

void UStruct::AddProperty(std::unique_ptr<FProperty> Property)
{
	Property->Owner = this;
	Properties.Add(std::move(Property));
}

TArray<FProperty*> UStruct::GetAllProperties() const
{
	TArray<FProperty*> Result = SuperStruct ? SuperStruct->GetAllProperties() : TArray<FProperty*>();
	for (const std::unique_ptr<FProperty>& Property : Properties)
	{
		Result.Add(Property.get());
	}
	return Result;
}

FProperty* UStruct::FindPropertyByName(const FName& Name) const
{
	for (const UStruct* Struct = this; Struct; Struct = Struct->SuperStruct)
	{
		for (const std::unique_ptr<FProperty>& Property : Struct->Properties)
		{
			if (Property->GetFName() == Name)
			{
				return Property.get();
			}
		}
	}
	return nullptr;
}

void UStruct::CollectReferences(void* Container, FReferenceCollector& Collector) const
{
	for (const UStruct* Struct = this; Struct; Struct = Struct->SuperStruct)
	{
		for (const std::unique_ptr<FProperty>& Property : Struct->Properties)
		{
			if (Property->GetType().CollectReferences)
			{
				Property->GetType().CollectReferences(Property->ContainerPtrToValuePtr(Container), Collector);
			}
		}
	}
}

void UStruct::AddReferencedObjects(UObject* This, FReferenceCollector& Collector)
{
	UStruct* Struct = static_cast<UStruct*>(This);
	Collector.AddReferencedObject(Struct->SuperStruct);
}

FString UClass::GetPathName() const
{
	return PackageName.IsEmpty() ? GetName() : PackageName + TEXT(".") + GetName();
}

const FFunctionInfo* UClass::FindFunctionByName(const FName& Name) const
{
	for (const UClass* Class = this; Class; Class = Class->GetSuperClass())
	{
		const FFunctionInfo* Found =
		    Class->Functions.FindByPredicate([&Name](const FFunctionInfo& Function) { return Function.Name == Name; });
		if (Found)
		{
			return Found;
		}
	}
	return nullptr;
}

UObject* UClass::GetDefaultObject() const
{
	if (!ClassDefaultObject)
	{
		FStaticConstructObjectParameters Params;
		Params.Class = this;
		Params.Name = FName(TEXT("Default__") + GetName());
		Params.SetFlags = RF_ClassDefaultObject;
		// Abstract classes have defaults too; construct past the abstract check.
		const uint32 SavedFlags = ClassFlags;
		const_cast<UClass*>(this)->ClassFlags &= ~uint32(CLASS_Abstract);
		ClassDefaultObject = StaticConstructObject_Internal(Params);
		const_cast<UClass*>(this)->ClassFlags = SavedFlags;
	}
	return ClassDefaultObject;
}

void UClass::ApplyDefaultValues(UObject* Object) const
{
	if (UClass* Super = GetSuperClass())
	{
		Super->ApplyDefaultValues(Object);
	}
	for (const TPair<FName, FString>& Default : DefaultValues)
	{
		FProperty* Property = FindPropertyByName(Default.Key);
		if (!Property || !Property->ImportText_InContainer(Default.Value, Object))
		{
			UE_LOG(LogCore, Warning, TEXT("Class %s: cannot set default of property %s to %s"), *GetName(),
			       *Default.Key.ToString(), *Default.Value);
		}
	}
}

void UClass::AddReferencedObjects(UObject* This, FReferenceCollector& Collector)
{
	UStruct::AddReferencedObjects(This, Collector);
	UClass* Class = static_cast<UClass*>(This);
	Collector.AddReferencedObject(Class->ClassDefaultObject);
}

FName UEnum::GetNameByIndex(int32 Index) const
{
	return Names.IsValidIndex(Index) ? Names[Index].Key : FName();
}

int64 UEnum::GetValueByIndex(int32 Index) const
{
	return Names.IsValidIndex(Index) ? Names[Index].Value : INDEX_NONE;
}

int32 UEnum::GetIndexByValue(int64 Value) const
{
	return Names.IndexOfByPredicate([Value](const TPair<FName, int64>& Entry) { return Entry.Value == Value; });
}

FName UEnum::GetNameByValue(int64 Value) const
{
	return GetNameByIndex(GetIndexByValue(Value));
}

FString UEnum::GetNameStringByValue(int64 Value) const
{
	const int32 Index = GetIndexByValue(Value);
	if (Index == INDEX_NONE)
	{
		return FString();
	}
	FString Name = Names[Index].Key.ToString();
	FString Short;
	return Name.Split(TEXT("::"), nullptr, &Short) ? Short : Name;
}

int64 UEnum::GetValueByName(const FName& Name) const
{
	for (const TPair<FName, int64>& Entry : Names)
	{
		FString Short;
		if (Entry.Key == Name || (Entry.Key.ToString().Split(TEXT("::"), nullptr, &Short) && FName(Short) == Name))
		{
			return Entry.Value;
		}
	}
	return INDEX_NONE;
}

bool UEnum::IsValidEnumValue(int64 Value) const
{
	return GetIndexByValue(Value) != INDEX_NONE;
}

namespace
{
UClass* GObjectClass = nullptr;
UClass* GStructClass = nullptr;
UClass* GClassClass = nullptr;
UClass* GScriptStructClass = nullptr;
UClass* GEnumClass = nullptr;

UClass* MakeIntrinsicClass(const TCHAR* Name, FClassConstructor Constructor, FAddReferencedObjects AddReferencedObjects)
{
	FStaticConstructObjectParameters Params;
	Params.Name = FName(Name);
	Params.SetFlags = RF_Public;
	FObjectConstruction::Pending = &Params;
	UClass* Class = new UClass();
	Class->AddToRoot();
	Class->PackageName = TEXT("/Script/CoreUObject");
	Class->ClassFlags = CLASS_Native;
	Class->ClassConstructor = Constructor;
	Class->ClassAddReferencedObjects = AddReferencedObjects;
	return Class;
}

// The classes of the object system itself are made by hand, in one go: each is an instance of UClass, which
// is one of them.
void BootstrapIntrinsicClasses()
{
	static bool bDone = false;
	if (bDone)
	{
		return;
	}
	bDone = true;
	GObjectClass = MakeIntrinsicClass(
	    TEXT("Object"), [] { return new UObject(); }, &UObject::AddReferencedObjects);
	GStructClass = MakeIntrinsicClass(
	    TEXT("Struct"), []() -> UObject* { return new UStruct(); }, &UStruct::AddReferencedObjects);
	GClassClass = MakeIntrinsicClass(
	    TEXT("Class"), []() -> UObject* { return new UClass(); }, &UClass::AddReferencedObjects);
	GScriptStructClass = MakeIntrinsicClass(
	    TEXT("ScriptStruct"), []() -> UObject* { return new UScriptStruct(); }, &UStruct::AddReferencedObjects);
	GEnumClass = MakeIntrinsicClass(
	    TEXT("Enum"), []() -> UObject* { return new UEnum(); }, &UObject::AddReferencedObjects);
	GStructClass->SetSuperStruct(GObjectClass);
	GClassClass->SetSuperStruct(GStructClass);
	GScriptStructClass->SetSuperStruct(GStructClass);
	GEnumClass->SetSuperStruct(GObjectClass);
	for (UClass* Class : {GObjectClass, GStructClass, GClassClass, GScriptStructClass, GEnumClass})
	{
		FObjectConstruction::SetClass(Class, GClassClass);
		RegisterNativeClassPath(Class);
	}
}
} // namespace

UClass* UObject::StaticClass()
{
	BootstrapIntrinsicClasses();
	return GObjectClass;
}

UClass* UStruct::StaticClass()
{
	BootstrapIntrinsicClasses();
	return GStructClass;
}

UClass* UClass::StaticClass()
{
	BootstrapIntrinsicClasses();
	return GClassClass;
}

UClass* UScriptStruct::StaticClass()
{
	BootstrapIntrinsicClasses();
	return GScriptStructClass;
}

UClass* UEnum::StaticClass()
{
	BootstrapIntrinsicClasses();
	return GEnumClass;
}

FTopLevelAssetPath UClass::GetClassPathName() const
{
	return FTopLevelAssetPath(GetPathName());
}
