#pragma once

#include "HAL/Platform.h"

#include <type_traits>
#include <utility>

// Casts to an rvalue so the argument can be moved from; refuses a const argument, whose move would copy.
template <typename T>
constexpr std::remove_reference_t<T>&& MoveTemp(T&& Object)
{
	static_assert(std::is_lvalue_reference_v<T>, "MoveTemp called on an rvalue");
	static_assert(!std::is_const_v<std::remove_reference_t<T>>, "MoveTemp called on a const object");
	return static_cast<std::remove_reference_t<T>&&>(Object);
}

// Exchanges two values by moving.
template <typename T>
constexpr void Swap(T& A, T& B)
{
	T Temp = MoveTemp(A);
	A = MoveTemp(B);
	B = MoveTemp(Temp);
}

template <typename T>
constexpr T&& Forward(std::remove_reference_t<T>& Object)
{
	return static_cast<T&&>(Object);
}
