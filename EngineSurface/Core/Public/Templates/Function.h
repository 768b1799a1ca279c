#pragma once

#include "HAL/Platform.h"

#include <cstddef>
#include <functional>
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
