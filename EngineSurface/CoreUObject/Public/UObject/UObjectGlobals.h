#pragma once

#include "UObject/UObjectBase.h"
#include "UObject/Class.h"

class UPackage;

// Builds the name a new object gets when none is given: the class name and a per-class counter.
COREUOBJECT_API FName MakeUniqueObjectName(UObject* Outer, const UClass* Class);

struct FStaticConstructObjectParameters
{
	const UClass* Class = nullptr;
	UObject* Outer = nullptr;
	FName Name;
	EObjectFlags SetFlags = RF_NoFlags;
};

// Makes an object of the class: the native constructor runs with name, outer and class already set (so it may
// call GetWorld), then the class's asset defaults are applied. Null for an abstract class.
COREUOBJECT_API UObject* StaticConstructObject_Internal(const FStaticConstructObjectParameters& Params);

template <typename T>
T* NewObject(UObject* Outer = nullptr)
{
	FStaticConstructObjectParameters Params;
	Params.Class = T::StaticClass();
	Params.Outer = Outer;
	return static_cast<T*>(StaticConstructObject_Internal(Params));
}

template <typename T>
T* NewObject(UObject* Outer, const UClass* Class, FName Name = NAME_None, EObjectFlags Flags = RF_NoFlags)
{
	if (!Class || !Class->IsChildOf(T::StaticClass()))
	{
		return nullptr;
	}
	FStaticConstructObjectParameters Params;
	Params.Class = Class;
	Params.Outer = Outer;
	Params.Name = Name;
	Params.SetFlags = Flags;
	return static_cast<T*>(StaticConstructObject_Internal(Params));
}

template <typename T>
T* GetMutableDefault()
{
	return T::StaticClass()->template GetDefaultObject<T>();
}
template <typename T>
const T* GetDefault()
{
	return GetMutableDefault<T>();
}

// Finds a registered class or a loaded asset by its path ("/Script/Skorvane.DanmakuTrack", "/Game/UI/WBP_X").
COREUOBJECT_API UObject* StaticFindObject(const UClass* Class, UObject* Outer, const TCHAR* Path);
COREUOBJECT_API UClass* FindClassByPath(const FString& Path);
COREUOBJECT_API void RegisterNativeClassPath(UClass* Class);

// Loads an asset by its "/Game/..." path through the loader registered for its kind. Null when nothing loads.
COREUOBJECT_API UObject* StaticLoadObject(const UClass* Class, UObject* Outer, const TCHAR* Path);
COREUOBJECT_API UClass* StaticLoadClass(const UClass* BaseClass, UObject* Outer, const TCHAR* Path);

template <typename T>
T* LoadObject(UObject* Outer, const TCHAR* Path)
{
	UObject* Object = StaticLoadObject(T::StaticClass(), Outer, Path);
	return Object && Object->IsA(T::StaticClass()) ? static_cast<T*>(Object) : nullptr;
}
template <typename T>
T* FindObject(UObject* Outer, const TCHAR* Path)
{
	UObject* Object = StaticFindObject(T::StaticClass(), Outer, Path);
	return Object && Object->IsA(T::StaticClass()) ? static_cast<T*>(Object) : nullptr;
}

// An asset loader turns a "/Game/..." path into an object; the first loader that returns one wins.
// Loaded assets are kept by path until nothing else refers to them and the collector frees them.
using FAssetLoader = UObject* (*)(const FString& Path, const UClass* RequestedClass);
COREUOBJECT_API void RegisterAssetLoader(FAssetLoader Loader);
