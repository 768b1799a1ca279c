#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/UObjectArray.h"

class UClass;
class UWorld;
class FReferenceCollector;

#ifndef COREUOBJECT_API
#define COREUOBJECT_API DLLEXPORT
#endif

// The base of every engine object. Objects are made with NewObject and an outer; they live while reachable from
// the root set through reflected properties, and the garbage collector calls BeginDestroy before freeing them.
class COREUOBJECT_API UObject
{
public:
	using ThisClass = UObject;

	UObject();
	virtual ~UObject();
	UObject(const UObject&) = delete;
	UObject& operator=(const UObject&) = delete;

	static UClass* StaticClass();
	static UClass* StaticClassName() = delete;

	UClass* GetClass() const { return ClassPrivate; }
	UObject* GetOuter() const { return OuterPrivate; }
	FName GetFName() const { return NamePrivate; }
	FString GetName() const { return NamePrivate.ToString(); }
	FString GetPathName() const;
	int32 GetUniqueID() const { return InternalIndex; }
	uint64 GetSerialNumber() const { return SerialNumber; }
	// The world this object lives in, found through its outers.
	virtual UWorld* GetWorld() const;

	bool IsA(const UClass* SomeBase) const;
	template <typename T>
	bool IsA() const
	{
		return IsA(T::StaticClass());
	}
	template <typename T>
	T* GetTypedOuter() const
	{
		for (UObject* Outer = GetOuter(); Outer; Outer = Outer->GetOuter())
		{
			if (Outer->IsA<T>())
			{
				return static_cast<T*>(Outer);
			}
		}
		return nullptr;
	}

	EObjectFlags GetFlags() const { return ObjectFlags; }
	bool HasAnyFlags(EObjectFlags Flags) const { return (uint32(ObjectFlags) & uint32(Flags)) != 0; }
	void SetFlags(EObjectFlags Flags) { ObjectFlags = ObjectFlags | Flags; }
	void ClearFlags(EObjectFlags Flags) { ObjectFlags = EObjectFlags(uint32(ObjectFlags) & ~uint32(Flags)); }

	// Garbage objects are treated as gone: IsValid fails, weak pointers read null, the collector frees them and
	// clears the reflected references that still point at them.
	void MarkAsGarbage() { SetFlags(RF_MirroredGarbage); }
	bool IsGarbage() const { return HasAnyFlags(RF_MirroredGarbage); }
	bool IsUnreachable() const;

	void AddToRoot();
	void RemoveFromRoot();
	bool IsRooted() const;

	// Called once, before the object is freed or when destruction is asked for early.
	virtual void BeginDestroy();
	virtual void FinishDestroy() {}
	bool ConditionalBeginDestroy();
	bool HasBegunDestroy() const { return HasAnyFlags(RF_BeginDestroyed); }

	virtual void PostInitProperties() {}
	virtual void PostLoad() {}

	// Objects that hold references outside reflected properties report them here; call the base version too.
	static void AddReferencedObjects(UObject* This, FReferenceCollector& Collector) {}

	// Calls a reflected function that takes no parameters, as the engine's ProcessEvent does for such functions.
	bool CallFunctionByNameWithArguments(const FName& FunctionName);

private:
	friend class FUObjectArray;
	friend struct FObjectConstruction;

	UClass* ClassPrivate = nullptr;
	FName NamePrivate;
	UObject* OuterPrivate = nullptr;
	EObjectFlags ObjectFlags = RF_NoFlags;
	int32 InternalIndex = INDEX_NONE;
	uint64 SerialNumber = 0;
};

// True when Object is non-null and not garbage, as in the engine.
COREUOBJECT_API bool IsValid(const UObject* Object);
