#pragma once

#include "UObject/UObjectArray.h"
#include "UObject/WeakObjectPtrTemplatesFwd.h"
#include "Templates/TypeHash.h"

#include <type_traits>

// A reference that does not keep its object alive and reads null once the object is freed or marked as garbage.
class COREUOBJECT_API FWeakObjectPtr
{
public:
	FWeakObjectPtr() = default;
	FWeakObjectPtr(const UObject* Object) { *this = Object; }
	FWeakObjectPtr& operator=(const UObject* Object);

	UObject* Get() const;
	bool IsValid() const { return Get() != nullptr; }
	bool IsStale() const { return ObjectIndex != INDEX_NONE && Get() == nullptr; }
	void Reset()
	{
		ObjectIndex = INDEX_NONE;
		SerialNumber = 0;
	}
	bool operator==(const FWeakObjectPtr& Other) const
	{
		return ObjectIndex == Other.ObjectIndex && SerialNumber == Other.SerialNumber;
	}
	uint32 GetHash() const { return uint32(ObjectIndex) ^ uint32(SerialNumber); }

private:
	int32 ObjectIndex = INDEX_NONE;
	uint64 SerialNumber = 0;
};

template <typename T>
class TWeakObjectPtr
{
public:
	TWeakObjectPtr() = default;
	TWeakObjectPtr(std::nullptr_t) {}
	TWeakObjectPtr(const T* Object) : Weak(static_cast<const UObject*>(Object)) {}
	template <typename U>
	requires std::is_convertible_v<U*, T*> TWeakObjectPtr(const TWeakObjectPtr<U>& Other) : Weak(Other.Get()) {}
	template <typename PtrType>
	requires requires(PtrType P) { P.Get(); }
	TWeakObjectPtr(const PtrType& Other) : TWeakObjectPtr(static_cast<T*>(Other.Get())) {}

	T* Get() const { return static_cast<T*>(Weak.Get()); }
	bool IsValid() const { return Weak.IsValid(); }
	bool IsStale() const { return Weak.IsStale(); }
	void Reset() { Weak.Reset(); }
	T* operator->() const { return Get(); }
	T& operator*() const { return *Get(); }
	explicit operator bool() const { return IsValid(); }
	bool operator==(const TWeakObjectPtr& Other) const { return Weak == Other.Weak; }
	bool operator==(const T* Other) const { return Get() == Other; }

private:
	FWeakObjectPtr Weak;
};

template <typename T>
uint32 GetTypeHash(const TWeakObjectPtr<T>& Ptr)
{
	return GetTypeHash(static_cast<const void*>(Ptr.Get()));
}
