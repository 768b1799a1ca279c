#pragma once

#include "HAL/Platform.h"
#include "Misc/AssertionMacros.h"
#include "Containers/Array.h"
#include "UObject/WeakObjectPtrTemplatesFwd.h"

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

class FDelegateHandle
{
public:
	FDelegateHandle() = default;
	bool IsValid() const { return Id != 0; }
	void Reset() { Id = 0; }
	bool operator==(const FDelegateHandle& Other) const { return Id == Other.Id; }
	bool operator!=(const FDelegateHandle& Other) const { return Id != Other.Id; }

	static FDelegateHandle New()
	{
		static uint64 NextId = 0;
		FDelegateHandle Handle;
		Handle.Id = ++NextId;
		return Handle;
	}

private:
	uint64 Id = 0;
};

namespace UE::Delegates
{
template <typename RetType, typename... ArgTypes>
struct TBinding
{
	std::function<RetType(ArgTypes...)> Call;
	// Null for bindings that never expire (lambdas, raw pointers); otherwise tells whether the target still lives.
	std::function<bool()> IsAlive;
	const void* Object = nullptr;
};
} // namespace UE::Delegates

template <typename FuncType>
class TDelegate;

// A single-cast delegate. Object bindings hold the object weakly: once it is destroyed the delegate is unbound.
template <typename RetType, typename... ArgTypes>
class TDelegate<RetType(ArgTypes...)>
{
	using FBinding = UE::Delegates::TBinding<RetType, ArgTypes...>;

public:
	template <typename UserClass, typename MethodOwner>
	void BindUObject(UserClass* Object, RetType (MethodOwner::*Method)(ArgTypes...))
	{
		*this = CreateUObject(Object, Method);
	}
	template <typename UserClass, typename MethodOwner>
	void BindUObject(const UserClass* Object, RetType (MethodOwner::*Method)(ArgTypes...) const)
	{
		*this = CreateUObject(Object, Method);
	}
	template <typename FunctorType>
	void BindLambda(FunctorType&& Functor)
	{
		*this = CreateLambda(std::forward<FunctorType>(Functor));
	}
	template <typename UserClass, typename FunctorType>
	void BindWeakLambda(UserClass* Object, FunctorType&& Functor)
	{
		*this = CreateWeakLambda(Object, std::forward<FunctorType>(Functor));
	}
	template <typename UserClass, typename MethodOwner>
	void BindRaw(UserClass* Object, RetType (MethodOwner::*Method)(ArgTypes...))
	{
		*this = CreateRaw(Object, Method);
	}
	void BindStatic(RetType (*Function)(ArgTypes...)) { *this = CreateStatic(Function); }

	template <typename UserClass, typename MethodOwner>
	static TDelegate CreateUObject(UserClass* Object, RetType (MethodOwner::*Method)(ArgTypes...))
	{
		TWeakObjectPtr<UserClass> Weak(Object);
		return Make([Weak, Method](ArgTypes... Args) -> RetType
		            { return (Weak.Get()->*Method)(std::forward<ArgTypes>(Args)...); },
		            [Weak]() { return Weak.IsValid(); }, Object);
	}
	template <typename UserClass, typename MethodOwner>
	static TDelegate CreateUObject(const UserClass* Object, RetType (MethodOwner::*Method)(ArgTypes...) const)
	{
		TWeakObjectPtr<UserClass> Weak(const_cast<UserClass*>(Object));
		return Make([Weak, Method](ArgTypes... Args) -> RetType
		            { return (Weak.Get()->*Method)(std::forward<ArgTypes>(Args)...); },
		            [Weak]() { return Weak.IsValid(); }, Object);
	}
	template <typename FunctorType>
	static TDelegate CreateLambda(FunctorType&& Functor)
	{
		return Make(std::function<RetType(ArgTypes...)>(std::forward<FunctorType>(Functor)), nullptr, nullptr);
	}
	template <typename UserClass, typename FunctorType>
	static TDelegate CreateWeakLambda(UserClass* Object, FunctorType&& Functor)
	{
		TWeakObjectPtr<UserClass> Weak(Object);
		return Make(
		    std::function<RetType(ArgTypes...)>(std::forward<FunctorType>(Functor)),
		    [Weak]() { return Weak.IsValid(); }, Object);
	}
	template <typename UserClass, typename MethodOwner>
	static TDelegate CreateRaw(UserClass* Object, RetType (MethodOwner::*Method)(ArgTypes...))
	{
		return Make([Object, Method](ArgTypes... Args) -> RetType
		            { return (Object->*Method)(std::forward<ArgTypes>(Args)...); },
		            nullptr, Object);
	}
	static TDelegate CreateStatic(RetType (*Function)(ArgTypes...)) { return Make(Function, nullptr, nullptr); }

	bool IsBound() const { return Binding && (!Binding->IsAlive || Binding->IsAlive()); }
	bool IsBoundToObject(const void* Object) const { return Binding && Binding->Object == Object; }
	const void* GetObjectForRemoval() const { return Binding ? Binding->Object : nullptr; }
	void Unbind() { Binding.reset(); }

	RetType Execute(ArgTypes... Args) const
	{
		check(IsBound());
		const std::shared_ptr<FBinding> Keep = Binding;
		return Keep->Call(std::forward<ArgTypes>(Args)...);
	}
	bool ExecuteIfBound(ArgTypes... Args) const requires std::is_void_v<RetType>
	{
		if (!IsBound())
		{
			return false;
		}
		const std::shared_ptr<FBinding> Keep = Binding;
		Keep->Call(std::forward<ArgTypes>(Args)...);
		return true;
	}

private:
	static TDelegate Make(std::function<RetType(ArgTypes...)> Call, std::function<bool()> IsAlive, const void* Object)
	{
		TDelegate Delegate;
		Delegate.Binding = std::make_shared<FBinding>(FBinding{std::move(Call), std::move(IsAlive), Object});
		return Delegate;
	}

	std::shared_ptr<FBinding> Binding;
};

template <typename FuncType>
class TMulticastDelegate;

// A multicast delegate. Broadcasting works on a snapshot of the bindings: handlers may add or remove bindings,
// a binding removed during the broadcast is not called afterwards, and bindings of destroyed objects are skipped.
template <typename... ArgTypes>
class TMulticastDelegate<void(ArgTypes...)>
{
public:
	using FDelegate = TDelegate<void(ArgTypes...)>;

	FDelegateHandle Add(const FDelegate& Delegate)
	{
		auto Entry = std::make_shared<FEntry>(FEntry{FDelegateHandle::New(), Delegate, false});
		Entries.Add(Entry);
		return Entry->Handle;
	}
	template <typename UserClass, typename MethodOwner>
	FDelegateHandle AddUObject(UserClass* Object, void (MethodOwner::*Method)(ArgTypes...))
	{
		return Add(FDelegate::CreateUObject(Object, Method));
	}
	template <typename FunctorType>
	FDelegateHandle AddLambda(FunctorType&& Functor)
	{
		return Add(FDelegate::CreateLambda(std::forward<FunctorType>(Functor)));
	}
	template <typename UserClass, typename FunctorType>
	FDelegateHandle AddWeakLambda(UserClass* Object, FunctorType&& Functor)
	{
		return Add(FDelegate::CreateWeakLambda(Object, std::forward<FunctorType>(Functor)));
	}
	template <typename UserClass, typename MethodOwner>
	FDelegateHandle AddRaw(UserClass* Object, void (MethodOwner::*Method)(ArgTypes...))
	{
		return Add(FDelegate::CreateRaw(Object, Method));
	}

	bool Remove(FDelegateHandle Handle)
	{
		return Entries.RemoveAll(
		           [Handle](const std::shared_ptr<FEntry>& Entry)
		           {
			           if (Entry->Handle == Handle)
			           {
				           Entry->bRemoved = true;
				           return true;
			           }
			           return false;
		           }) > 0;
	}
	int32 RemoveAll(const void* Object)
	{
		return Entries.RemoveAll(
		    [Object](const std::shared_ptr<FEntry>& Entry)
		    {
			    if (Entry->Delegate.IsBoundToObject(Object))
			    {
				    Entry->bRemoved = true;
				    return true;
			    }
			    return false;
		    });
	}
	void Clear()
	{
		for (const std::shared_ptr<FEntry>& Entry : Entries)
		{
			Entry->bRemoved = true;
		}
		Entries.Empty();
	}

	bool IsBound() const
	{
		for (const std::shared_ptr<FEntry>& Entry : Entries)
		{
			if (Entry->Delegate.IsBound())
			{
				return true;
			}
		}
		return false;
	}
	bool IsBoundToObject(const void* Object) const
	{
		for (const std::shared_ptr<FEntry>& Entry : Entries)
		{
			if (Entry->Delegate.IsBoundToObject(Object))
			{
				return true;
			}
		}
		return false;
	}
	int32 NumBindings() const { return Entries.Num(); }

	void Broadcast(ArgTypes... Args) const
	{
		const TArray<std::shared_ptr<FEntry>> Snapshot = Entries;
		for (const std::shared_ptr<FEntry>& Entry : Snapshot)
		{
			if (!Entry->bRemoved && Entry->Delegate.IsBound())
			{
				Entry->Delegate.Execute(Args...);
			}
		}
	}

private:
	struct FEntry
	{
		FDelegateHandle Handle;
		FDelegate Delegate;
		bool bRemoved = false;
	};
	TArray<std::shared_ptr<FEntry>> Entries;
};

#define DECLARE_DELEGATE(Name) typedef TDelegate<void()> Name;
#define DECLARE_DELEGATE_OneParam(Name, T1) typedef TDelegate<void(T1)> Name;
#define DECLARE_DELEGATE_TwoParams(Name, T1, T2) typedef TDelegate<void(T1, T2)> Name;
#define DECLARE_DELEGATE_ThreeParams(Name, T1, T2, T3) typedef TDelegate<void(T1, T2, T3)> Name;
#define DECLARE_DELEGATE_RetVal(Ret, Name) typedef TDelegate<Ret()> Name;
#define DECLARE_DELEGATE_RetVal_OneParam(Ret, Name, T1) typedef TDelegate<Ret(T1)> Name;
#define DECLARE_MULTICAST_DELEGATE(Name) typedef TMulticastDelegate<void()> Name;
#define DECLARE_MULTICAST_DELEGATE_OneParam(Name, T1) typedef TMulticastDelegate<void(T1)> Name;
#define DECLARE_MULTICAST_DELEGATE_TwoParams(Name, T1, T2) typedef TMulticastDelegate<void(T1, T2)> Name;
#define DECLARE_MULTICAST_DELEGATE_ThreeParams(Name, T1, T2, T3) typedef TMulticastDelegate<void(T1, T2, T3)> Name;

using FSimpleDelegate = TDelegate<void()>;
using FSimpleMulticastDelegate = TMulticastDelegate<void()>;
