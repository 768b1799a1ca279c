#include "UObject/UObjectArray.h"

#include "UObject/Object.h"

FUObjectArray& FUObjectArray::Get()
{
	static FUObjectArray* Instance = new FUObjectArray();
	return *Instance;
}

void FUObjectArray::Allocate(UObject* Object)
{
	int32 Index;
	if (!FreeSlots.empty())
	{
		Index = FreeSlots.back();
		FreeSlots.pop_back();
	}
	else
	{
		Index = int32(Items.size());
		Items.emplace_back();
	}
	FItem& Item = Items[size_t(Index)];
	Item.Object = Object;
	Item.SerialNumber = ++NextSerial;
	Item.bRooted = false;
	Item.bReachable = false;
	Object->InternalIndex = Index;
	Object->SerialNumber = Item.SerialNumber;
	++LiveCount;
}

void FUObjectArray::Free(UObject* Object)
{
	const int32 Index = Object->InternalIndex;
	if (Index < 0 || size_t(Index) >= Items.size() || Items[size_t(Index)].Object != Object)
	{
		return;
	}
	Items[size_t(Index)] = FItem();
	FreeSlots.push_back(Index);
	Object->InternalIndex = INDEX_NONE;
	--LiveCount;
}
