#pragma once

#include "HAL/Platform.h"

#include <vector>

class UObject;

// Every live object has a slot here. Weak pointers name a slot and the serial number of the object in it, so a
// slot that is reused for a new object never revives an old weak pointer.
class COREUOBJECT_API FUObjectArray
{
public:
	struct FItem
	{
		UObject* Object = nullptr;
		uint64 SerialNumber = 0;
		bool bRooted = false;
		bool bReachable = false;
	};

	static FUObjectArray& Get();

	void Allocate(UObject* Object);
	void Free(UObject* Object);
	UObject* Resolve(int32 Index, uint64 SerialNumber) const
	{
		if (Index < 0 || size_t(Index) >= Items.size())
		{
			return nullptr;
		}
		const FItem& Item = Items[size_t(Index)];
		return Item.SerialNumber == SerialNumber ? Item.Object : nullptr;
	}
	FItem& GetItem(int32 Index) { return Items[size_t(Index)]; }
	const FItem& GetItem(int32 Index) const { return Items[size_t(Index)]; }
	int32 Capacity() const { return int32(Items.size()); }
	int32 GetObjectCount() const { return LiveCount; }

private:
	std::vector<FItem> Items;
	std::vector<int32> FreeSlots;
	uint64 NextSerial = 0;
	int32 LiveCount = 0;
};
