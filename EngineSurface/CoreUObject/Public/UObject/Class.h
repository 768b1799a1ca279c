#pragma once

#include "UObject/UObjectBase.h"
#include "UObject/TopLevelAssetPath.h"

#include <memory>

class UStruct;
class UClass;
class UEnum;
class FReferenceCollector;

// How the reflection tables handle one C++ type: which objects it refers to and how it reads and writes as text.
struct FPropertyType
{
	const TCHAR* TypeName = TEXT("");
	// Reports every object reference held in the value; null for types that hold none.
	void (*CollectReferences)(void* Value, FReferenceCollector& Collector) = nullptr;
	// Writes the value as text; false for types with no text form.
	bool (*ExportText)(const void* Value, FString& Out) = nullptr;
	// Reads text written by ExportText (or typed in an asset); false, value untouched, when it does not read.
	bool (*ImportText)(void* Value, const FString& Text) = nullptr;
	// For object and class references: the class named by the declaration.
	UClass* (*GetReferencedClass)() = nullptr;
	bool bIsObjectReference = false;
	bool bIsClassReference = false;
};

// One reflected property: a member of a class or struct, found by name, with its specifiers and metadata.
class COREUOBJECT_API FProperty
{
public:
	FProperty(const TCHAR* InName, const FPropertyType* InType, void* (*InAccessor)(void*), uint64 InFlags,
	          TArray<TPair<FName, FString>> InMeta, const TCHAR* InCppType);

	FName GetFName() const { return Name; }
	FString GetName() const { return Name.ToString(); }
	const FPropertyType& GetType() const { return *Type; }
	const FString& GetCPPType() const { return CppType; }
	uint64 GetPropertyFlags() const { return Flags; }
	bool HasAnyPropertyFlags(uint64 InFlags) const { return (Flags & InFlags) != 0; }
	bool HasMetaData(const FName& Key) const;
	FString GetMetaData(const FName& Key) const;
	UStruct* GetOwnerStruct() const { return Owner; }

	void* ContainerPtrToValuePtr(void* Container) const { return Accessor(Container); }
	const void* ContainerPtrToValuePtr(const void* Container) const { return Accessor(const_cast<void*>(Container)); }
	template <typename ValueType>
	ValueType* ContainerPtrToValuePtr(void* Container) const
	{
		return static_cast<ValueType*>(Accessor(Container));
	}
	bool ExportText_InContainer(const void* Container, FString& Out) const;
	bool ImportText_InContainer(const FString& Text, void* Container) const;

private:
	friend class UStruct;
	FName Name;
	const FPropertyType* Type;
	void* (*Accessor)(void*);
	uint64 Flags;
	TArray<TPair<FName, FString>> Meta;
	FString CppType;
	UStruct* Owner = nullptr;
};

// A reflected function: its name and flags. Dynamic delegates bind to these by name.
struct FFunctionInfo
{
	FName Name;
	uint32 Flags = FUNC_None;
	void (*Invoke)(UObject* Object) = nullptr; // set for functions without parameters
};

class COREUOBJECT_API UStruct : public UObject
{
public:
	using Super = UObject;
	using ThisClass = UStruct;
	static UClass* StaticClass();

	UStruct* GetSuperStruct() const { return SuperStruct; }
	void SetSuperStruct(UStruct* InSuper) { SuperStruct = InSuper; }
	bool IsChildOf(const UStruct* Base) const;

	void AddProperty(std::unique_ptr<FProperty> Property);
	// Properties declared by this struct only.
	const TArray<std::unique_ptr<FProperty>>& GetOwnProperties() const { return Properties; }
	// All properties, the base's first.
	TArray<FProperty*> GetAllProperties() const;
	FProperty* FindPropertyByName(const FName& Name) const;

	// Reports the object references held by the reflected properties of Container.
	void CollectReferences(void* Container, FReferenceCollector& Collector) const;

	static void AddReferencedObjects(UObject* This, FReferenceCollector& Collector);

protected:
	UStruct* SuperStruct = nullptr;
	TArray<std::unique_ptr<FProperty>> Properties;
};

using FClassConstructor = UObject* (*)();
using FAddReferencedObjects = void (*)(UObject*, FReferenceCollector&);

class COREUOBJECT_API UClass : public UStruct
{
public:
	using Super = UStruct;
	using ThisClass = UClass;
	static UClass* StaticClass();

	UClass* GetSuperClass() const { return static_cast<UClass*>(SuperStruct); }
	// "/Script/Module.ClassName" for native classes; the asset path for classes loaded from assets.
	FString GetPathName() const;
	const FString& GetPackageName() const { return PackageName; }
	// The class's path as the asset registry names classes: "/Script/MediaAssets.MediaPlayer".
	FTopLevelAssetPath GetClassPathName() const;
	bool HasAnyClassFlags(uint32 Flags) const { return (ClassFlags & Flags) != 0; }
	uint32 GetClassFlags() const { return ClassFlags; }
	bool IsNative() const { return HasAnyClassFlags(CLASS_Native); }

	void AddFunction(const FFunctionInfo& Function) { Functions.Add(Function); }
	const FFunctionInfo* FindFunctionByName(const FName& Name) const;

	// Made on first use, with the class's defaults; never collected while the class lives.
	UObject* GetDefaultObject() const;
	template <typename T>
	T* GetDefaultObject() const
	{
		return static_cast<T*>(GetDefaultObject());
	}

	// Property values that a class made from an asset gives its instances, as text, applied after construction
	// from the most basic class to this one.
	void AddDefaultValue(const FName& Property, const FString& Value) { DefaultValues.Add({Property, Value}); }
	void ApplyDefaultValues(UObject* Object) const;

	static void AddReferencedObjects(UObject* This, FReferenceCollector& Collector);

	// Filled in when the class is registered.
	FString PackageName;
	uint32 ClassFlags = CLASS_None;
	FClassConstructor ClassConstructor = nullptr;
	FAddReferencedObjects ClassAddReferencedObjects = nullptr;

private:
	TArray<FFunctionInfo> Functions;
	TArray<TPair<FName, FString>> DefaultValues;
	mutable UObject* ClassDefaultObject = nullptr;
};

class COREUOBJECT_API UScriptStruct : public UStruct
{
public:
	using Super = UStruct;
	using ThisClass = UScriptStruct;
	static UClass* StaticClass();
};

class COREUOBJECT_API UEnum : public UObject
{
public:
	using Super = UObject;
	using ThisClass = UEnum;
	static UClass* StaticClass();

	void SetEnums(const TArray<TPair<FName, int64>>& InNames) { Names = InNames; }
	int32 NumEnums() const { return Names.Num(); }
	// "EDanmakuMode::SCROLL" for enum classes, as the engine registers them.
	FName GetNameByIndex(int32 Index) const;
	int64 GetValueByIndex(int32 Index) const;
	FName GetNameByValue(int64 Value) const;
	FString GetNameStringByValue(int64 Value) const;
	int64 GetValueByName(const FName& Name) const;
	bool IsValidEnumValue(int64 Value) const;
	int32 GetIndexByValue(int64 Value) const;

private:
	TArray<TPair<FName, int64>> Names;
};

// The reflected enum of E, generated for every UENUM.
template <typename E>
UEnum* StaticEnum();
