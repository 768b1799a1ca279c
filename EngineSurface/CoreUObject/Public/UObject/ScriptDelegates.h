#pragma once

#include "UObject/UObjectBase.h"
#include "UObject/WeakObjectPtrTemplates.h"

#include <functional>
#include <memory>

namespace UE::Delegates
{
// "&UUI_Danmaku::OnDanmakuSend" -> "OnDanmakuSend", as the engine's binding macros name the function.
COREUOBJECT_API FName TrimFunctionName(const TCHAR* QualifiedName);
// True when Object is valid and its class has a reflected function of that name; warns otherwise.
COREUOBJECT_API bool CanBindToFunction(const UObject* Object, const FName& FunctionName);
COREUOBJECT_API void WarnAlreadyBound(const UObject* Object, const FName& FunctionName);
} // namespace UE::Delegates

// A dynamic multicast delegate: handlers are reflected functions bound by object and function name. The same
// object and function are never bound twice: AddDynamic of a bound handler trips an ensure, as in the engine,
// and is refused with a warning; AddUniqueDynamic adds only when absent. Handlers of destroyed
// objects are skipped, and handlers added or removed during a broadcast do not disturb it.
template <typename... ArgTypes>
class TDynamicMulticastDelegate
{
public:
	template <typename UserClass, typename MethodOwner>
	void __Internal_AddDynamic(UserClass* Object, void (MethodOwner::*Method)(ArgTypes...), FName FunctionName)
	{
		if (!UE::Delegates::CanBindToFunction(Object, FunctionName))
		{
			return;
		}
		if (!ensure(!__Internal_IsAlreadyBound(Object, Method, FunctionName)))
		{
			UE::Delegates::WarnAlreadyBound(Object, FunctionName);
			return;
		}
		AddEntry(Object, Method, FunctionName);
	}
	template <typename UserClass, typename MethodOwner>
	void __Internal_AddUniqueDynamic(UserClass* Object, void (MethodOwner::*Method)(ArgTypes...), FName FunctionName)
	{
		if (UE::Delegates::CanBindToFunction(Object, FunctionName) &&
		    !__Internal_IsAlreadyBound(Object, Method, FunctionName))
		{
			AddEntry(Object, Method, FunctionName);
		}
	}
	template <typename UserClass, typename MethodOwner>
	void __Internal_RemoveDynamic(UserClass* Object, void (MethodOwner::*Method)(ArgTypes...), FName FunctionName)
	{
		const UObject* Target = Object;
		Entries.RemoveAll(
		    [Target, FunctionName](const std::shared_ptr<FEntry>& Entry)
		    {
			    if (Entry->Object.Get() == Target && Entry->FunctionName == FunctionName)
			    {
				    Entry->bRemoved = true;
				    return true;
			    }
			    return false;
		    });
	}
	template <typename UserClass, typename MethodOwner>
	bool __Internal_IsAlreadyBound(UserClass* Object, void (MethodOwner::*Method)(ArgTypes...),
	                               FName FunctionName) const
	{
		const UObject* Target = Object;
		return Entries.ContainsByPredicate(
		    [Target, FunctionName](const std::shared_ptr<FEntry>& Entry)
		    { return Entry->Object.Get() == Target && Entry->FunctionName == FunctionName; });
	}

	void RemoveAll(const UObject* Object)
	{
		Entries.RemoveAll(
		    [Object](const std::shared_ptr<FEntry>& Entry)
		    {
			    if (Entry->Object.Get() == Object)
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
		return Entries.ContainsByPredicate([](const std::shared_ptr<FEntry>& Entry)
		                                   { return Entry->Object.IsValid(); });
	}
	int32 NumBindings() const { return Entries.Num(); }

	void Broadcast(ArgTypes... Args) const
	{
		const TArray<std::shared_ptr<FEntry>> Snapshot = Entries;
		for (const std::shared_ptr<FEntry>& Entry : Snapshot)
		{
			if (!Entry->bRemoved && Entry->Object.IsValid())
			{
				Entry->Call(Entry->Object.Get(), Args...);
			}
		}
	}

private:
	struct FEntry
	{
		FWeakObjectPtr Object;
		FName FunctionName;
		std::function<void(UObject*, ArgTypes...)> Call;
		bool bRemoved = false;
	};

	template <typename UserClass, typename MethodOwner>
	void AddEntry(UserClass* Object, void (MethodOwner::*Method)(ArgTypes...), FName FunctionName)
	{
		auto Entry = std::make_shared<FEntry>();
		Entry->Object = Object;
		Entry->FunctionName = FunctionName;
		Entry->Call = [Method](UObject* Target, ArgTypes... Args)
		{ (static_cast<UserClass*>(Target)->*Method)(Args...); };
		Entries.Add(Entry);
	}

	TArray<std::shared_ptr<FEntry>> Entries;
};

// A dynamic single-cast delegate, bound to one reflected function by name.
template <typename RetType, typename... ArgTypes>
class TDynamicDelegate
{
public:
	template <typename UserClass, typename MethodOwner>
	void __Internal_BindDynamic(UserClass* Object, RetType (MethodOwner::*Method)(ArgTypes...), FName FunctionName)
	{
		Unbind();
		if (!UE::Delegates::CanBindToFunction(Object, FunctionName))
		{
			return;
		}
		BoundObject = Object;
		BoundName = FunctionName;
		Call = [Method](UObject* Target, ArgTypes... Args) -> RetType
		{ return (static_cast<UserClass*>(Target)->*Method)(Args...); };
	}
	bool IsBound() const { return Call && BoundObject.IsValid(); }
	void Unbind()
	{
		BoundObject.Reset();
		BoundName = NAME_None;
		Call = nullptr;
	}
	FName GetFunctionName() const { return BoundName; }
	UObject* GetUObject() const { return BoundObject.Get(); }
	RetType Execute(ArgTypes... Args) const
	{
		check(IsBound());
		return Call(BoundObject.Get(), Args...);
	}
	void ExecuteIfBound(ArgTypes... Args) const
	{
		if (IsBound())
		{
			Call(BoundObject.Get(), Args...);
		}
	}

private:
	FWeakObjectPtr BoundObject;
	FName BoundName;
	std::function<RetType(UObject*, ArgTypes...)> Call;
};

#define AddDynamic(UserObject, FuncName)                                                                               \
	__Internal_AddDynamic(UserObject, FuncName, UE::Delegates::TrimFunctionName(TEXT(#FuncName)))
#define AddUniqueDynamic(UserObject, FuncName)                                                                         \
	__Internal_AddUniqueDynamic(UserObject, FuncName, UE::Delegates::TrimFunctionName(TEXT(#FuncName)))
#define RemoveDynamic(UserObject, FuncName)                                                                            \
	__Internal_RemoveDynamic(UserObject, FuncName, UE::Delegates::TrimFunctionName(TEXT(#FuncName)))
#define IsAlreadyBound(UserObject, FuncName)                                                                           \
	__Internal_IsAlreadyBound(UserObject, FuncName, UE::Delegates::TrimFunctionName(TEXT(#FuncName)))
#define BindDynamic(UserObject, FuncName)                                                                              \
	__Internal_BindDynamic(UserObject, FuncName, UE::Delegates::TrimFunctionName(TEXT(#FuncName)))

#define DECLARE_DYNAMIC_MULTICAST_DELEGATE(Name)                                                                       \
	class Name : public TDynamicMulticastDelegate<>                                                                    \
	{                                                                                                                  \
	};
#define DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(Name, T1, N1)                                                      \
	class Name : public TDynamicMulticastDelegate<T1>                                                                  \
	{                                                                                                                  \
	};
#define DECLARE_DYNAMIC_MULTICAST_DELEGATE_TwoParams(Name, T1, N1, T2, N2)                                             \
	class Name : public TDynamicMulticastDelegate<T1, T2>                                                              \
	{                                                                                                                  \
	};
#define DECLARE_DYNAMIC_MULTICAST_DELEGATE_ThreeParams(Name, T1, N1, T2, N2, T3, N3)                                   \
	class Name : public TDynamicMulticastDelegate<T1, T2, T3>                                                          \
	{                                                                                                                  \
	};
#define DECLARE_DYNAMIC_MULTICAST_DELEGATE_FourParams(Name, T1, N1, T2, N2, T3, N3, T4, N4)                            \
	class Name : public TDynamicMulticastDelegate<T1, T2, T3, T4>                                                      \
	{                                                                                                                  \
	};
#define DECLARE_DYNAMIC_MULTICAST_DELEGATE_FiveParams(Name, T1, N1, T2, N2, T3, N3, T4, N4, T5, N5)                    \
	class Name : public TDynamicMulticastDelegate<T1, T2, T3, T4, T5>                                                  \
	{                                                                                                                  \
	};
#define DECLARE_DYNAMIC_MULTICAST_DELEGATE_SixParams(Name, T1, N1, T2, N2, T3, N3, T4, N4, T5, N5, T6, N6)             \
	class Name : public TDynamicMulticastDelegate<T1, T2, T3, T4, T5, T6>                                              \
	{                                                                                                                  \
	};
#define DECLARE_DYNAMIC_DELEGATE(Name)                                                                                 \
	class Name : public TDynamicDelegate<void>                                                                         \
	{                                                                                                                  \
	};
#define DECLARE_DYNAMIC_DELEGATE_OneParam(Name, T1, N1)                                                                \
	class Name : public TDynamicDelegate<void, T1>                                                                     \
	{                                                                                                                  \
	};
#define DECLARE_DYNAMIC_DELEGATE_TwoParams(Name, T1, N1, T2, N2)                                                       \
	class Name : public TDynamicDelegate<void, T1, T2>                                                                 \
	{                                                                                                                  \
	};
#define DECLARE_DYNAMIC_DELEGATE_RetVal(Ret, Name)                                                                     \
	class Name : public TDynamicDelegate<Ret>                                                                          \
	{                                                                                                                  \
	};
