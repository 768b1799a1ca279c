#include "UObject/UObjectGlobals.h"

#include "UObject/GarbageCollection.h"
#include "UObject/GeneratedCppIncludes.h"
#include "UObject/ObjectConstruction.h"

namespace
{
struct FObjectRegistry
{
	TMap<FString, UObject*> NativeByPath;
	TMap<FString, FWeakObjectPtr> LoadedAssets;
	TArray<FAssetLoader> Loaders;
	TMap<const UClass*, int32> NameCounters;
};

FObjectRegistry& GetRegistry()
{
	static FObjectRegistry* Registry = new FObjectRegistry();
	return *Registry;
}

FClassConstructor FindConstructor(const UClass* Class)
{
	for (const UClass* Current = Class; Current; Current = Current->GetSuperClass())
	{
		if (Current->ClassConstructor)
		{
			return Current->ClassConstructor;
		}
	}
	return nullptr;
}
} // namespace

FName MakeUniqueObjectName(UObject* Outer, const UClass* Class)
{
	int32& Counter = GetRegistry().NameCounters.FindOrAdd(Class);
	return FName(FString::Printf(TEXT("%s_%d"), *Class->GetName(), Counter++));
}

UObject* StaticConstructObject_Internal(const FStaticConstructObjectParameters& InParams)
{
	if (!InParams.Class)
	{
		return nullptr;
	}
	if (InParams.Class->HasAnyClassFlags(CLASS_Abstract))
	{
		UE_LOG(LogCore, Warning, TEXT("Cannot create an object of abstract class %s"), *InParams.Class->GetName());
		return nullptr;
	}
	const FClassConstructor Constructor = FindConstructor(InParams.Class);
	if (!Constructor)
	{
		UE_LOG(LogCore, Warning, TEXT("Class %s has no constructor"), *InParams.Class->GetName());
		return nullptr;
	}
	FStaticConstructObjectParameters Params = InParams;
	if (Params.Name.IsNone())
	{
		Params.Name = MakeUniqueObjectName(Params.Outer, Params.Class);
	}
	FObjectConstruction::Pending = &Params;
	UObject* Object = Constructor();
	check(FObjectConstruction::Pending == nullptr && Object->GetClass() == Params.Class);
	Params.Class->ApplyDefaultValues(Object);
	Object->PostInitProperties();
	return Object;
}

void RegisterNativeClassPath(UClass* Class)
{
	GetRegistry().NativeByPath.Add(Class->GetPathName(), Class);
}

UClass* FindClassByPath(const FString& Path)
{
	UObject* const* Found = GetRegistry().NativeByPath.Find(Path);
	return Found && (*Found)->IsA(UClass::StaticClass()) ? static_cast<UClass*>(*Found) : nullptr;
}

UObject* StaticFindObject(const UClass* Class, UObject* Outer, const TCHAR* Path)
{
	FObjectRegistry& Registry = GetRegistry();
	const FString Key(Path);
	if (UObject* const* Native = Registry.NativeByPath.Find(Key))
	{
		return !Class || (*Native)->IsA(Class) ? *Native : nullptr;
	}
	if (const FWeakObjectPtr* Loaded = Registry.LoadedAssets.Find(Key))
	{
		UObject* Object = Loaded->Get();
		return Object && (!Class || Object->IsA(Class)) ? Object : nullptr;
	}
	return nullptr;
}

void RegisterAssetLoader(FAssetLoader Loader)
{
	GetRegistry().Loaders.AddUnique(Loader);
}

UObject* StaticLoadObject(const UClass* Class, UObject* Outer, const TCHAR* Path)
{
	const FString Key(Path);
	if (UObject* Existing = StaticFindObject(nullptr, Outer, Path))
	{
		return !Class || Existing->IsA(Class) ? Existing : nullptr;
	}
	FObjectRegistry& Registry = GetRegistry();
	const TArray<FAssetLoader> Loaders = Registry.Loaders;
	for (FAssetLoader Loader : Loaders)
	{
		if (UObject* Loaded = Loader(Key, Class))
		{
			Registry.LoadedAssets.Add(Key, FWeakObjectPtr(Loaded));
			return !Class || Loaded->IsA(Class) ? Loaded : nullptr;
		}
	}
	return nullptr;
}

UClass* StaticLoadClass(const UClass* BaseClass, UObject* Outer, const TCHAR* Path)
{
	UClass* Class = Cast<UClass>(StaticLoadObject(UClass::StaticClass(), Outer, Path));
	return Class && (!BaseClass || Class->IsChildOf(BaseClass)) ? Class : nullptr;
}

namespace UE::Reflection
{
namespace
{
// Registered types are made directly, not through their class's constructor, and live as long as the process.
template <typename T>
T* MakeRegisteredType(const TCHAR* Name)
{
	FStaticConstructObjectParameters Params;
	Params.Class = T::StaticClass();
	Params.Name = FName(Name);
	Params.SetFlags = RF_Public;
	FObjectConstruction::Pending = &Params;
	T* Type = new T();
	Type->AddToRoot();
	return Type;
}
} // namespace

UClass* RegisterNativeClass(const FClassRegistration& Registration)
{
	UClass* Class = MakeRegisteredType<UClass>(Registration.ClassName);
	Class->SetSuperStruct(Registration.SuperStaticClass ? Registration.SuperStaticClass() : nullptr);
	Class->PackageName = Registration.PackageName;
	Class->ClassFlags = Registration.ClassFlags | CLASS_Native;
	Class->ClassConstructor = Registration.Constructor;
	Class->ClassAddReferencedObjects = Registration.AddReferencedObjects;
	Registration.RegisterMembers(Class);
	RegisterNativeClassPath(Class);
	return Class;
}

UScriptStruct* RegisterNativeStruct(const FStructRegistration& Registration)
{
	UScriptStruct* Struct = MakeRegisteredType<UScriptStruct>(Registration.StructName);
	Struct->SetSuperStruct(Registration.SuperStaticStruct ? Registration.SuperStaticStruct() : nullptr);
	Registration.RegisterMembers(Struct);
	GetRegistry().NativeByPath.Add(FString(Registration.PackageName) + TEXT(".") + Registration.StructName, Struct);
	return Struct;
}

UEnum* RegisterNativeEnum(const TCHAR* PackageName, const TCHAR* EnumName, const TArray<TPair<FName, int64>>& Names)
{
	UEnum* Enum = MakeRegisteredType<UEnum>(EnumName);
	Enum->SetEnums(Names);
	GetRegistry().NativeByPath.Add(FString(PackageName) + TEXT(".") + EnumName, Enum);
	return Enum;
}
} // namespace UE::Reflection
