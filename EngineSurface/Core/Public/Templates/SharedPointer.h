#pragma once

#include "HAL/Platform.h"
#include "Misc/AssertionMacros.h"

#include <memory>
#include <utility>

enum class ESPMode : uint8
{
	NotThreadSafe,
	ThreadSafe
};

template <typename ObjectType, ESPMode Mode = ESPMode::ThreadSafe>
class TSharedRef;

// Reference-counted pointer with the engine's interface; may be null.
template <typename ObjectType, ESPMode Mode = ESPMode::ThreadSafe>
class TSharedPtr
{
public:
	TSharedPtr() = default;
	TSharedPtr(std::nullptr_t) {}
	explicit TSharedPtr(std::shared_ptr<ObjectType> InPointer) : Pointer(std::move(InPointer)) {}
	template <typename OtherType>
	TSharedPtr(const TSharedPtr<OtherType, Mode>& Other) : Pointer(Other.Pointer)
	{
	}
	template <typename OtherType>
	TSharedPtr(const TSharedRef<OtherType, Mode>& Other) : Pointer(Other.Pointer)
	{
	}

	bool IsValid() const { return Pointer != nullptr; }
	explicit operator bool() const { return IsValid(); }
	ObjectType* Get() const { return Pointer.get(); }
	ObjectType* operator->() const
	{
		check(IsValid());
		return Pointer.get();
	}
	ObjectType& operator*() const
	{
		check(IsValid());
		return *Pointer;
	}
	void Reset() { Pointer.reset(); }
	TSharedRef<ObjectType, Mode> ToSharedRef() const
	{
		check(IsValid());
		return TSharedRef<ObjectType, Mode>(Pointer);
	}
	int32 GetSharedReferenceCount() const { return static_cast<int32>(Pointer.use_count()); }

	template <typename OtherType>
	bool operator==(const TSharedPtr<OtherType, Mode>& Other) const
	{
		return Pointer == Other.Pointer;
	}
	bool operator==(std::nullptr_t) const { return Pointer == nullptr; }

	std::shared_ptr<ObjectType> Pointer;
};

// Reference-counted pointer that is never null.
template <typename ObjectType, ESPMode Mode>
class TSharedRef
{
public:
	explicit TSharedRef(std::shared_ptr<ObjectType> InPointer) : Pointer(std::move(InPointer)) { check(Pointer); }
	template <typename OtherType>
	TSharedRef(const TSharedRef<OtherType, Mode>& Other) : Pointer(Other.Pointer)
	{
	}

	ObjectType* operator->() const { return Pointer.get(); }
	ObjectType& operator*() const { return *Pointer; }
	ObjectType& Get() const { return *Pointer; }
	TSharedPtr<ObjectType, Mode> ToSharedPtr() const { return TSharedPtr<ObjectType, Mode>(Pointer); }

	std::shared_ptr<ObjectType> Pointer;
};

template <typename ObjectType, ESPMode Mode = ESPMode::ThreadSafe>
class TWeakPtr
{
public:
	TWeakPtr() = default;
	TWeakPtr(const TSharedPtr<ObjectType, Mode>& Shared) : Pointer(Shared.Pointer) {}
	TWeakPtr(const TSharedRef<ObjectType, Mode>& Shared) : Pointer(Shared.Pointer) {}
	TSharedPtr<ObjectType, Mode> Pin() const { return TSharedPtr<ObjectType, Mode>(Pointer.lock()); }
	bool IsValid() const { return !Pointer.expired(); }
	void Reset() { Pointer.reset(); }

private:
	std::weak_ptr<ObjectType> Pointer;
};

template <typename ObjectType, ESPMode Mode = ESPMode::ThreadSafe, typename... ArgTypes>
TSharedRef<ObjectType, Mode> MakeShared(ArgTypes&&... Args)
{
	return TSharedRef<ObjectType, Mode>(std::make_shared<ObjectType>(std::forward<ArgTypes>(Args)...));
}

template <typename ObjectType>
TSharedPtr<ObjectType> MakeShareable(ObjectType* Object)
{
	return TSharedPtr<ObjectType>(std::shared_ptr<ObjectType>(Object));
}

template <typename ToType, typename FromType, ESPMode Mode>
TSharedPtr<ToType, Mode> StaticCastSharedPtr(const TSharedPtr<FromType, Mode>& From)
{
	return TSharedPtr<ToType, Mode>(std::static_pointer_cast<ToType>(From.Pointer));
}

template <typename ToType, typename FromType, ESPMode Mode>
TSharedRef<ToType, Mode> StaticCastSharedRef(const TSharedRef<FromType, Mode>& From)
{
	return TSharedRef<ToType, Mode>(std::static_pointer_cast<ToType>(From.Pointer));
}

template <typename ObjectType>
using TSharedFromThis = std::enable_shared_from_this<ObjectType>;
