#pragma once

#include "Containers/Array.h"
#include "Templates/Tuple.h"
#include "Templates/TypeHash.h"

#include <unordered_map>
#include <utility>

// A hash map with the engine's interface. Iteration follows insertion order until something is removed.
template <typename KeyType, typename ValueType>
class TMap
{
public:
	using ElementType = TPair<KeyType, ValueType>;

	TMap() = default;
	TMap(const TMap&) = default;
	TMap& operator=(const TMap&) = default;
	TMap(TMap&& Other) noexcept : Pairs(std::move(Other.Pairs)), Index(std::move(Other.Index)) { Other.Empty(); }
	TMap& operator=(TMap&& Other) noexcept
	{
		Pairs = std::move(Other.Pairs);
		Index = std::move(Other.Index);
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
	ValueType& Emplace(const KeyType& Key, ValueType&& Value) { return Add(Key, std::move(Value)); }
	ValueType& Emplace(const KeyType& Key, const ValueType& Value) { return Add(Key, Value); }

	ValueType& FindOrAdd(const KeyType& Key)
	{
		if (ValueType* Existing = Find(Key))
		{
			return *Existing;
		}
		Index.emplace(Key, Pairs.Num());
		return Pairs[Pairs.Emplace(ElementType{Key, ValueType()})].Value;
	}

	ValueType* Find(const KeyType& Key)
	{
		const auto It = Index.find(Key);
		return It == Index.end() ? nullptr : &Pairs[It->second].Value;
	}
	const ValueType* Find(const KeyType& Key) const
	{
		const auto It = Index.find(Key);
		return It == Index.end() ? nullptr : &Pairs[It->second].Value;
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
	bool Contains(const KeyType& Key) const { return Index.find(Key) != Index.end(); }

	int32 Remove(const KeyType& Key)
	{
		const auto It = Index.find(Key);
		if (It == Index.end())
		{
			return 0;
		}
		const int32 Slot = It->second;
		Index.erase(It);
		const int32 LastSlot = Pairs.Num() - 1;
		if (Slot != LastSlot)
		{
			Pairs[Slot] = std::move(Pairs[LastSlot]);
			Index[Pairs[Slot].Key] = Slot;
		}
		Pairs.Pop();
		return 1;
	}

	void Empty()
	{
		Pairs.Empty();
		Index = {};
	}
	void Reset()
	{
		Pairs.Reset();
		Index.clear();
	}
	void Reserve(int32 Count)
	{
		Pairs.Reserve(Count);
		Index.reserve(static_cast<size_t>(Count));
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

	SIZE_T GetAllocatedSize() const
	{
		return Pairs.GetAllocatedSize() + Index.bucket_count() * sizeof(void*) +
			   Index.size() * (sizeof(KeyType) + sizeof(int32) + 2 * sizeof(void*));
	}

private:
	TArray<ElementType> Pairs;
	std::unordered_map<KeyType, int32, FEngineHasher> Index;
};
