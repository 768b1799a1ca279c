#pragma once

#include "UObject/UObjectBase.h"
#include "UObject/ObjectPtr.h"

// Receives the references an object reports during reachability analysis. References to garbage are cleared
// through the reference it is handed, as the engine does for reflected references.
class COREUOBJECT_API FReferenceCollector
{
public:
	virtual ~FReferenceCollector() = default;
	virtual void HandleObjectReference(UObject*& Object) = 0;

	template <typename T>
	void AddReferencedObject(T*& Object)
	{
		UObject* Raw = Object;
		HandleObjectReference(Raw);
		Object = static_cast<T*>(Raw);
	}
	template <typename T>
	void AddReferencedObject(TObjectPtr<T>& Object)
	{
		AddReferencedObject(Object.GetRawRef());
	}
	template <typename T>
	void AddReferencedObject(const T*& Object)
	{
		UObject* Raw = const_cast<T*>(Object);
		HandleObjectReference(Raw);
		Object = static_cast<const T*>(Raw);
	}
};

// A native object outside the object graph that keeps engine objects alive, as the engine's FGCObject does.
class COREUOBJECT_API FGCObject
{
public:
	FGCObject();
	virtual ~FGCObject();
	FGCObject(const FGCObject&);
	FGCObject& operator=(const FGCObject&) = default;
	virtual void AddReferencedObjects(FReferenceCollector& Collector) = 0;
	virtual FString GetReferencerName() const { return TEXT("FGCObject"); }
};

// Frees every object not reachable from the root set. Never call it from inside an object's own call: the
// application collects between frames.
COREUOBJECT_API void CollectGarbage(EObjectFlags KeepFlags = RF_NoFlags, bool bPerformFullPurge = true);

// Number of objects alive (including classes and other rooted objects).
COREUOBJECT_API int32 GetNumLiveObjects();

// Keeps one object alive from native code until reset.
template <typename T>
class TStrongObjectPtr : private FGCObject
{
public:
	TStrongObjectPtr() = default;
	explicit TStrongObjectPtr(T* InObject) : Object(InObject) {}
	TStrongObjectPtr(const TStrongObjectPtr& Other) : FGCObject(), Object(Other.Object) {}
	TStrongObjectPtr& operator=(const TStrongObjectPtr& Other)
	{
		Object = Other.Object;
		return *this;
	}

	T* Get() const { return Object; }
	T* operator->() const { return Object; }
	T& operator*() const { return *Object; }
	explicit operator bool() const { return Object != nullptr; }
	bool IsValid() const { return Object != nullptr; }
	void Reset(T* NewObject = nullptr) { Object = NewObject; }

private:
	void AddReferencedObjects(FReferenceCollector& Collector) override { Collector.AddReferencedObject(Object); }
	T* Object = nullptr;
};
