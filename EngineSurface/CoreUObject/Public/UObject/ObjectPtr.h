#pragma once

#include "HAL/Platform.h"

#include <type_traits>

// A reflected object reference. It behaves as a raw pointer; the collector sees it through the property tables.
template <typename T>
class TObjectPtr
{
public:
	using ElementType = T;

	TObjectPtr() = default;
	TObjectPtr(std::nullptr_t) {}
	TObjectPtr(T* InPointer) : Pointer(InPointer) {}
	template <typename U>
	requires std::is_convertible_v<U*, T*> TObjectPtr(const TObjectPtr<U>& Other) : Pointer(Other.Get()) {}
	template <typename U>
	requires std::is_convertible_v<U*, T*> TObjectPtr(U* InPointer) : Pointer(InPointer) {}

	T* Get() const { return Pointer; }
	operator T*() const { return Pointer; }
	T* operator->() const { return Pointer; }
	T& operator*() const { return *Pointer; }
	explicit operator bool() const { return Pointer != nullptr; }

	template <typename U>
	bool operator==(const TObjectPtr<U>& Other) const
	{
		return Pointer == Other.Get();
	}
	template <typename U>
	bool operator==(U* Other) const
	{
		return Pointer == Other;
	}
	bool operator==(std::nullptr_t) const { return Pointer == nullptr; }

	// The collector clears references to garbage through this.
	T*& GetRawRef() { return Pointer; }

private:
	T* Pointer = nullptr;
};

template <typename T>
uint32 GetTypeHash(const TObjectPtr<T>& Ptr)
{
	return GetTypeHash(Ptr.Get());
}

template <typename T>
T* ToRawPtr(const TObjectPtr<T>& Ptr)
{
	return Ptr.Get();
}
template <typename T>
T* ToRawPtr(T* Ptr)
{
	return Ptr;
}
