#pragma once

#include "UObject/Class.h"

// A class reference restricted to T and its subclasses: Get yields null for a class that is not one.
template <typename T>
class TSubclassOf
{
public:
	TSubclassOf() = default;
	TSubclassOf(std::nullptr_t) {}
	TSubclassOf(UClass* InClass) : Class(InClass) {}
	template <typename U>
	requires std::is_base_of_v<T, U> TSubclassOf(const TSubclassOf<U>& Other) : Class(Other.Get()) {}

	UClass* Get() const { return Class && Class->IsChildOf(T::StaticClass()) ? Class : nullptr; }
	operator UClass*() const { return Get(); }
	UClass* operator*() const { return Get(); }
	UClass* operator->() const { return Get(); }
	T* GetDefaultObject() const
	{
		UClass* Valid = Get();
		return Valid ? static_cast<T*>(Valid->GetDefaultObject()) : nullptr;
	}
	bool operator==(const TSubclassOf& Other) const { return Class == Other.Class; }

	// The stored class, whatever it is; the collector reports it.
	UClass*& GetRawRef() { return Class; }

private:
	UClass* Class = nullptr;
};
