#pragma once

#include "HAL/Platform.h"
#include "Misc/AssertionMacros.h"
#include "Containers/ContainerAllocationPolicies.h"

#include <algorithm>
#include <initializer_list>
#include <type_traits>
#include <utility>
#include <vector>

// A dynamic array with the engine's interface. Indices are int32; out-of-range access is a checked error.
template <typename T>
class TArray
{
	static_assert(!std::is_same_v<T, bool>, "TArray<bool> is not supported by this surface");

public:
	using ElementType = T;
	using SizeType = int32;

	TArray() = default;
	TArray(std::initializer_list<T> Init) : Items(Init) {}
	TArray(const T* Data, int32 Count) : Items(Data, Data + Count) {}

	int32 Num() const { return static_cast<int32>(Items.size()); }
	bool IsEmpty() const { return Items.empty(); }
	bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Num(); }
	int32 Max() const { return static_cast<int32>(Items.capacity()); }

	T* GetData() { return Items.data(); }
	const T* GetData() const { return Items.data(); }

	T& operator[](int32 Index)
	{
		check(IsValidIndex(Index));
		return Items[static_cast<size_t>(Index)];
	}
	const T& operator[](int32 Index) const
	{
		check(IsValidIndex(Index));
		return Items[static_cast<size_t>(Index)];
	}

	T& Last(int32 IndexFromEnd = 0) { return (*this)[Num() - 1 - IndexFromEnd]; }
	const T& Last(int32 IndexFromEnd = 0) const { return (*this)[Num() - 1 - IndexFromEnd]; }
	T& Top() { return Last(); }

	int32 Add(const T& Item)
	{
		Items.push_back(Item);
		return Num() - 1;
	}
	int32 Add(T&& Item)
	{
		Items.push_back(std::move(Item));
		return Num() - 1;
	}
	template <typename... ArgTypes>
	int32 Emplace(ArgTypes&&... Args)
	{
		Items.emplace_back(std::forward<ArgTypes>(Args)...);
		return Num() - 1;
	}
	template <typename... ArgTypes>
	T& Emplace_GetRef(ArgTypes&&... Args)
	{
		return Items.emplace_back(std::forward<ArgTypes>(Args)...);
	}
	int32 AddDefaulted(int32 Count = 1)
	{
		const int32 First = Num();
		Items.resize(Items.size() + static_cast<size_t>(Count));
		return First;
	}
	int32 AddZeroed(int32 Count = 1) { return AddDefaulted(Count); }
	int32 AddUnique(const T& Item)
	{
		const int32 Existing = Find(Item);
		return Existing != INDEX_NONE ? Existing : Add(Item);
	}
	void Append(const TArray& Other) { Items.insert(Items.end(), Other.Items.begin(), Other.Items.end()); }
	void Append(const T* Data, int32 Count) { Items.insert(Items.end(), Data, Data + Count); }
	int32 Insert(const T& Item, int32 Index)
	{
		check(Index >= 0 && Index <= Num());
		Items.insert(Items.begin() + Index, Item);
		return Index;
	}

	T Pop()
	{
		check(!IsEmpty());
		T Result = std::move(Items.back());
		Items.pop_back();
		return Result;
	}
	void Push(const T& Item) { Add(Item); }

	// Removes every element equal to Item, keeping the order of the rest; returns how many went.
	int32 Remove(const T& Item)
	{
		const size_t Before = Items.size();
		Items.erase(std::remove(Items.begin(), Items.end(), Item), Items.end());
		return static_cast<int32>(Before - Items.size());
	}
	int32 RemoveSingle(const T& Item)
	{
		const int32 Index = Find(Item);
		if (Index == INDEX_NONE)
		{
			return 0;
		}
		RemoveAt(Index);
		return 1;
	}
	template <typename PredicateType>
	int32 RemoveAll(PredicateType Predicate)
	{
		const size_t Before = Items.size();
		Items.erase(std::remove_if(Items.begin(), Items.end(), Predicate), Items.end());
		return static_cast<int32>(Before - Items.size());
	}
	void RemoveAt(int32 Index, int32 Count = 1)
	{
		check(Index >= 0 && Count >= 0 && Index + Count <= Num());
		Items.erase(Items.begin() + Index, Items.begin() + Index + Count);
	}
	void RemoveAtSwap(int32 Index)
	{
		check(IsValidIndex(Index));
		std::swap(Items[static_cast<size_t>(Index)], Items.back());
		Items.pop_back();
	}

	// Removes all elements; storage is released unless Slack asks to keep room.
	void Empty(int32 Slack = 0)
	{
		std::vector<T>().swap(Items);
		if (Slack > 0)
		{
			Items.reserve(static_cast<size_t>(Slack));
		}
	}
	// Removes all elements and keeps the storage.
	void Reset() { Items.clear(); }
	void Reserve(int32 Count) { Items.reserve(static_cast<size_t>(Count)); }
	void SetNum(int32 Count, EAllowShrinking = EAllowShrinking::Yes) { Items.resize(static_cast<size_t>(Count)); }
	void SetNumZeroed(int32 Count) { Items.resize(static_cast<size_t>(Count)); }
	void Shrink() { Items.shrink_to_fit(); }

	int32 Find(const T& Item) const
	{
		const auto It = std::find(Items.begin(), Items.end(), Item);
		return It == Items.end() ? INDEX_NONE : static_cast<int32>(It - Items.begin());
	}
	bool Find(const T& Item, int32& OutIndex) const
	{
		OutIndex = Find(Item);
		return OutIndex != INDEX_NONE;
	}
	int32 FindLast(const T& Item) const
	{
		for (int32 Index = Num() - 1; Index >= 0; --Index)
		{
			if (Items[static_cast<size_t>(Index)] == Item)
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}
	bool Contains(const T& Item) const { return Find(Item) != INDEX_NONE; }

	template <typename PredicateType>
	T* FindByPredicate(PredicateType Predicate)
	{
		const auto It = std::find_if(Items.begin(), Items.end(), Predicate);
		return It == Items.end() ? nullptr : &*It;
	}
	template <typename PredicateType>
	const T* FindByPredicate(PredicateType Predicate) const
	{
		const auto It = std::find_if(Items.begin(), Items.end(), Predicate);
		return It == Items.end() ? nullptr : &*It;
	}
	template <typename PredicateType>
	int32 IndexOfByPredicate(PredicateType Predicate) const
	{
		const auto It = std::find_if(Items.begin(), Items.end(), Predicate);
		return It == Items.end() ? INDEX_NONE : static_cast<int32>(It - Items.begin());
	}
	template <typename PredicateType>
	bool ContainsByPredicate(PredicateType Predicate) const
	{
		return IndexOfByPredicate(Predicate) != INDEX_NONE;
	}
	template <typename PredicateType>
	TArray FilterByPredicate(PredicateType Predicate) const
	{
		TArray Result;
		for (const T& Item : Items)
		{
			if (Predicate(Item))
			{
				Result.Add(Item);
			}
		}
		return Result;
	}

	void Sort() { std::sort(Items.begin(), Items.end()); }
	template <typename PredicateType>
	void Sort(PredicateType Predicate)
	{
		std::sort(Items.begin(), Items.end(), Predicate);
	}
	template <typename PredicateType>
	void StableSort(PredicateType Predicate)
	{
		std::stable_sort(Items.begin(), Items.end(), Predicate);
	}

	bool operator==(const TArray& Other) const { return Items == Other.Items; }
	bool operator!=(const TArray& Other) const { return Items != Other.Items; }

	auto begin() { return Items.begin(); }
	auto end() { return Items.end(); }
	auto begin() const { return Items.begin(); }
	auto end() const { return Items.end(); }

	// Bytes held by the array's storage, for memory accounting.
	SIZE_T GetAllocatedSize() const { return Items.capacity() * sizeof(T); }

private:
	std::vector<T> Items;
};
