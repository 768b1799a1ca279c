#pragma once

#include "UObject/UObjectBase.h"
#include "UObject/ObjectPtr.h"

#include <type_traits>

// Null when Object is null or not of class To.
template <typename To, typename From>
To* Cast(From* Object)
{
	if constexpr (std::is_base_of_v<To, From>)
	{
		return Object;
	}
	else
	{
		return Object && Object->IsA(To::StaticClass()) ? static_cast<To*>(static_cast<UObject*>(Object)) : nullptr;
	}
}
template <typename To, typename From>
const To* Cast(const From* Object)
{
	return Cast<To>(const_cast<From*>(Object));
}
template <typename To, typename From>
To* Cast(const TObjectPtr<From>& Object)
{
	return Cast<To>(Object.Get());
}

template <typename To, typename From>
To* CastChecked(From* Object)
{
	To* Result = Cast<To>(Object);
	check(Result);
	return Result;
}
template <typename To, typename From>
To* CastChecked(const TObjectPtr<From>& Object)
{
	return CastChecked<To>(Object.Get());
}
