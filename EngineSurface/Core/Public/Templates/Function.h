#pragma once

#include "HAL/Platform.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

template <typename FuncType>
class TFunction;

// A copyable callable of the given signature; empty when default-made or set to nullptr.
template <typename RetType, typename... ArgTypes>
class TFunction<RetType(ArgTypes...)>
{
public:
	TFunction() = default;
	TFunction(std::nullptr_t) {}
	template <typename FunctorType>
	requires(!std::is_same_v<std::decay_t<FunctorType>, TFunction> &&
	         std::is_invocable_r_v<RetType, FunctorType&, ArgTypes...>) TFunction(FunctorType&& Functor)
	    : Callable(std::forward<FunctorType>(Functor))
	{
	}

	RetType operator()(ArgTypes... Args) const { return Callable(std::forward<ArgTypes>(Args)...); }
	explicit operator bool() const { return static_cast<bool>(Callable); }
	bool IsSet() const { return static_cast<bool>(Callable); }
	void Reset() { Callable = nullptr; }

private:
	std::function<RetType(ArgTypes...)> Callable;
};

template <typename FuncType>
class TFunctionRef;

// Refers to a callable for the length of a call, without copying it or allocating; the callable must outlive the
// reference.
template <typename RetType, typename... ArgTypes>
class TFunctionRef<RetType(ArgTypes...)>
{
public:
	template <typename FunctorType>
	requires(!std::is_same_v<std::decay_t<FunctorType>, TFunctionRef> &&
	         std::is_invocable_r_v<RetType, FunctorType&, ArgTypes...>) TFunctionRef(FunctorType&& Functor)
	    : Object(const_cast<void*>(static_cast<const void*>(std::addressof(Functor)))),
	      Call(
	          [](void* Target, ArgTypes... Args) -> RetType {
		          return (*static_cast<std::remove_reference_t<FunctorType>*>(Target))(std::forward<ArgTypes>(Args)...);
	          })
	{
	}

	RetType operator()(ArgTypes... Args) const { return Call(Object, std::forward<ArgTypes>(Args)...); }

private:
	void* Object = nullptr;
	RetType (*Call)(void*, ArgTypes...) = nullptr;
};
