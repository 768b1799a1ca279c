#pragma once

#include "Containers/Array.h"
#include "Templates/Tuple.h"
#include "Templates/TypeHash.h"

#include <algorithm>
#include <vector>
#include <utility>

// A hash map with the engine's interface. Pairs live in one array, in insertion order until something is
// removed; an open-addressed table of indices finds them, so adding a pair allocates nothing per pair.
template <typename KeyType, typename ValueType>
class TMap
{
public:
	using ElementType = TPair<KeyType, ValueType>;

	TMap() = default;
	TMap(const TMap&) = default;
	TMap& operator=(const TMap&) = default;
	TMap(TMap&& Other) noexcept : Pairs(std::move(Other.Pairs)), Slots(std::move(Other.Slots)) { Other.Empty(); }
	TMap& operator=(TMap&& Other) noexcept
	{
		Pairs = std::move(Other.Pairs);
		Slots = std::move(Other.Slots);
		Other.Empty();
		return *this;
	}

	int32 Num() const { return Pairs.Num(); }
	bool IsEmpty() const { return Pairs.IsEmpty(); }

	// Adds or replaces the value under Key and returns it.
	ValueType& Add(const KeyType& Key, const ValueType& Value)
	{
		ValueType& Slot = FindOrAdd(Key);
		Slot = Value;
		return Slot;
	}
	ValueType& Add(const KeyType& Key, ValueType&& Value)
	{
		ValueType& Slot = FindOrAdd(Key);
		Slot = std::move(Value);
		return Slot;
	}
	ValueType& Add(KeyType&& Key, ValueType&& Value)
	{
		if (ValueType* Existing = Find(Key))
		{
			*Existing = std::move(Value);
			return *Existing;
		}
		return AddNew(std::move(Key), std::move(Value));
	}
	ValueType& Emplace(const KeyType& Key, ValueType&& Value) { return Add(Key, std::move(Value)); }
	ValueType& Emplace(const KeyType& Key, const ValueType& Value) { return Add(Key, Value); }
	ValueType& Emplace(KeyType&& Key, ValueType&& Value) { return Add(std::move(Key), std::move(Value)); }

	ValueType& FindOrAdd(const KeyType& Key)
	{
		if (ValueType* Existing = Find(Key))
		{
			return *Existing;
		}
		return AddNew(KeyType(Key), ValueType());
	}

	ValueType* Find(const KeyType& Key)
	{
		const int32 Index = FindIndex(Key);
		return Index == INDEX_NONE ? nullptr : &Pairs[Index].Value;
	}
	const ValueType* Find(const KeyType& Key) const
	{
		const int32 Index = FindIndex(Key);
		return Index == INDEX_NONE ? nullptr : &Pairs[Index].Value;
	}
	// Finds by anything that hashes and compares like the key (a string view for string keys).
	template <typename ComparableKey>
	ValueType* FindByHash(uint32 KeyHash, const ComparableKey& Key)
	{
		const int32 Slot = FindSlotByHash(KeyHash, Key);
		return Slot == INDEX_NONE ? nullptr : &Pairs[Slots[size_t(Slot)]].Value;
	}
	template <typename ComparableKey>
	const ValueType* FindByHash(uint32 KeyHash, const ComparableKey& Key) const
	{
		const int32 Slot = FindSlotByHash(KeyHash, Key);
		return Slot == INDEX_NONE ? nullptr : &Pairs[Slots[size_t(Slot)]].Value;
	}
	ValueType& FindChecked(const KeyType& Key)
	{
		ValueType* Value = Find(Key);
		check(Value);
		return *Value;
	}
	const ValueType& FindChecked(const KeyType& Key) const
	{
		const ValueType* Value = Find(Key);
		check(Value);
		return *Value;
	}
	ValueType FindRef(const KeyType& Key) const
	{
		const ValueType* Value = Find(Key);
		return Value ? *Value : ValueType();
	}
	ValueType& operator[](const KeyType& Key) { return FindChecked(Key); }
	const ValueType& operator[](const KeyType& Key) const { return FindChecked(Key); }
	bool Contains(const KeyType& Key) const { return FindIndex(Key) != INDEX_NONE; }

	int32 Remove(const KeyType& Key)
	{
		const int32 Slot = FindSlot(Key);
		if (Slot == INDEX_NONE)
		{
			return 0;
		}
		const int32 Index = Slots[size_t(Slot)];
		EraseSlot(Slot);
		// The last pair moves into the hole, so its slot must follow it.
		const int32 LastIndex = Pairs.Num() - 1;
		if (Index != LastIndex)
		{
			Slots[size_t(FindSlot(Pairs[LastIndex].Key))] = Index;
			Pairs[Index] = std::move(Pairs[LastIndex]);
		}
		Pairs.Pop();
		return 1;
	}

	void Empty()
	{
		Pairs.Empty();
		std::vector<int32>().swap(Slots);
	}
	void Reset()
	{
		Pairs.Reset();
		std::fill(Slots.begin(), Slots.end(), INDEX_NONE);
	}
	void Reserve(int32 Count)
	{
		Pairs.Reserve(Count);
		if (size_t(Count) * 4 > Slots.size() * 3)
		{
			Rehash(SlotCountFor(Count));
		}
	}

	int32 GetKeys(TArray<KeyType>& OutKeys) const
	{
		OutKeys.Reset();
		for (const ElementType& Pair : Pairs)
		{
			OutKeys.Add(Pair.Key);
		}
		return OutKeys.Num();
	}
	void GenerateValueArray(TArray<ValueType>& OutValues) const
	{
		OutValues.Reset();
		for (const ElementType& Pair : Pairs)
		{
			OutValues.Add(Pair.Value);
		}
	}

	auto begin() { return Pairs.begin(); }
	auto end() { return Pairs.end(); }
	auto begin() const { return Pairs.begin(); }
	auto end() const { return Pairs.end(); }

	SIZE_T GetAllocatedSize() const { return Pairs.GetAllocatedSize() + Slots.capacity() * sizeof(int32); }

private:
	static size_t SlotCountFor(int32 Count)
	{
		size_t Size = 8;
		while (Size * 3 < size_t(Count) * 4)
		{
			Size *= 2;
		}
		return Size;
	}
	size_t Home(const KeyType& Key) const { return size_t(GetTypeHash(Key)) & (Slots.size() - 1); }

	// The slot that holds Key's pair index, or INDEX_NONE.
	int32 FindSlot(const KeyType& Key) const { return FindSlotByHash(GetTypeHash(Key), Key); }
	template <typename ComparableKey>
	int32 FindSlotByHash(uint32 KeyHash, const ComparableKey& Key) const
	{
		if (Slots.empty())
		{
			return INDEX_NONE;
		}
		const size_t Mask = Slots.size() - 1;
		for (size_t Slot = size_t(KeyHash) & Mask;; Slot = (Slot + 1) & Mask)
		{
			const int32 Index = Slots[Slot];
			if (Index == INDEX_NONE)
			{
				return INDEX_NONE;
			}
			if (Pairs[Index].Key == Key)
			{
				return int32(Slot);
			}
		}
	}
	int32 FindIndex(const KeyType& Key) const
	{
		const int32 Slot = FindSlot(Key);
		return Slot == INDEX_NONE ? INDEX_NONE : Slots[size_t(Slot)];
	}

	ValueType& AddNew(KeyType&& Key, ValueType&& Value)
	{
		if (size_t(Pairs.Num() + 1) * 4 > Slots.size() * 3)
		{
			Rehash(SlotCountFor(Pairs.Num() + 1) * 2);
		}
		const int32 Index = Pairs.Emplace(ElementType{std::move(Key), std::move(Value)});
		InsertIndex(Index);
		return Pairs[Index].Value;
	}
	void InsertIndex(int32 Index)
	{
		const size_t Mask = Slots.size() - 1;
		size_t Slot = Home(Pairs[Index].Key);
		while (Slots[Slot] != INDEX_NONE)
		{
			Slot = (Slot + 1) & Mask;
		}
		Slots[Slot] = Index;
	}
	void Rehash(size_t NewSize)
	{
		Slots.assign(NewSize, INDEX_NONE);
		for (int32 Index = 0; Index < Pairs.Num(); ++Index)
		{
			InsertIndex(Index);
		}
	}
	// Empties a slot and shifts back the entries of its probe run, so that no lookup stops early at the hole.
	void EraseSlot(int32 InSlot)
	{
		const size_t Mask = Slots.size() - 1;
		size_t Hole = size_t(InSlot);
		Slots[Hole] = INDEX_NONE;
		for (size_t Next = (Hole + 1) & Mask; Slots[Next] != INDEX_NONE; Next = (Next + 1) & Mask)
		{
			const size_t Wanted = Home(Pairs[Slots[Next]].Key);
			// The entry may move into the hole only if the hole lies on its way from its home slot.
			const bool bMayMove = Hole <= Next ? (Wanted <= Hole || Wanted > Next) : (Wanted <= Hole && Wanted > Next);
			if (bMayMove)
			{
				Slots[Hole] = Slots[Next];
				Slots[Next] = INDEX_NONE;
				Hole = Next;
			}
		}
	}

	TArray<ElementType> Pairs;
	std::vector<int32> Slots;
};
