#include "UObject/GarbageCollection.h"

#include "UObject/Class.h"
#include "UObject/UObjectArray.h"

#include <vector>

namespace
{
std::vector<FGCObject*>& GetReferencers()
{
	static std::vector<FGCObject*>* Referencers = new std::vector<FGCObject*>();
	return *Referencers;
}

// Marks what it is shown and queues it for scanning; clears references to garbage.
class FMarkingCollector final : public FReferenceCollector
{
public:
	std::vector<UObject*> Pending;

	void HandleObjectReference(UObject*& Object) override
	{
		if (!Object)
		{
			return;
		}
		if (Object->IsGarbage())
		{
			Object = nullptr;
			return;
		}
		Mark(Object);
	}

	void Mark(UObject* Object)
	{
		FUObjectArray::FItem& Item = FUObjectArray::Get().GetItem(Object->GetUniqueID());
		if (!Item.bReachable)
		{
			Item.bReachable = true;
			Pending.push_back(Object);
		}
	}
};

FAddReferencedObjects FindAddReferencedObjects(const UClass* Class)
{
	for (const UClass* Current = Class; Current; Current = Current->GetSuperClass())
	{
		if (Current->ClassAddReferencedObjects)
		{
			return Current->ClassAddReferencedObjects;
		}
	}
	return nullptr;
}
} // namespace

FGCObject::FGCObject()
{
	GetReferencers().push_back(this);
}

FGCObject::FGCObject(const FGCObject&)
{
	GetReferencers().push_back(this);
}

FGCObject::~FGCObject()
{
	std::vector<FGCObject*>& Referencers = GetReferencers();
	for (size_t Index = 0; Index < Referencers.size(); ++Index)
	{
		if (Referencers[Index] == this)
		{
			Referencers.erase(Referencers.begin() + std::ptrdiff_t(Index));
			break;
		}
	}
}

void CollectGarbage(EObjectFlags KeepFlags, bool bPerformFullPurge)
{
	FUObjectArray& Objects = FUObjectArray::Get();
	FMarkingCollector Collector;

	for (int32 Index = 0; Index < Objects.Capacity(); ++Index)
	{
		Objects.GetItem(Index).bReachable = false;
	}
	for (int32 Index = 0; Index < Objects.Capacity(); ++Index)
	{
		FUObjectArray::FItem& Item = Objects.GetItem(Index);
		if (Item.Object && !Item.Object->IsGarbage() &&
		    (Item.bRooted || (KeepFlags != RF_NoFlags && Item.Object->HasAnyFlags(KeepFlags))))
		{
			Collector.Mark(Item.Object);
		}
	}
	const std::vector<FGCObject*> Referencers = GetReferencers();
	for (FGCObject* Referencer : Referencers)
	{
		Referencer->AddReferencedObjects(Collector);
	}

	while (!Collector.Pending.empty())
	{
		UObject* Object = Collector.Pending.back();
		Collector.Pending.pop_back();
		// An object keeps its class and its outer alive.
		UObject* ClassRef = Object->GetClass();
		Collector.HandleObjectReference(ClassRef);
		UObject* OuterRef = Object->GetOuter();
		if (OuterRef && !OuterRef->IsGarbage())
		{
			Collector.Mark(OuterRef);
		}
		if (UClass* Class = Object->GetClass())
		{
			Class->CollectReferences(Object, Collector);
			if (FAddReferencedObjects AddReferencedObjects = FindAddReferencedObjects(Class))
			{
				AddReferencedObjects(Object, Collector);
			}
		}
	}

	std::vector<UObject*> Unreachable;
	for (int32 Index = 0; Index < Objects.Capacity(); ++Index)
	{
		const FUObjectArray::FItem& Item = Objects.GetItem(Index);
		if (Item.Object && !Item.bReachable)
		{
			Unreachable.push_back(Item.Object);
		}
	}
	// Every unreachable object begins destruction before any is freed, so BeginDestroy may still look at others.
	for (UObject* Object : Unreachable)
	{
		Object->ConditionalBeginDestroy();
	}
	for (UObject* Object : Unreachable)
	{
		Object->SetFlags(RF_FinishDestroyed);
		Object->FinishDestroy();
	}
	for (UObject* Object : Unreachable)
	{
		delete Object;
	}
}

int32 GetNumLiveObjects()
{
	return FUObjectArray::Get().GetObjectCount();
}
