#pragma once

#include <utility>

// A key and a value; made with braces or with parentheses, as the engine's pair is.
template <typename KeyType, typename ValueType>
struct TPair
{
	KeyType Key{};
	ValueType Value{};

	TPair() = default;
	template <typename InKeyType, typename InValueType>
	TPair(InKeyType&& InKey, InValueType&& InValue)
	    : Key(std::forward<InKeyType>(InKey)), Value(std::forward<InValueType>(InValue))
	{
	}

	bool operator==(const TPair& Other) const { return Key == Other.Key && Value == Other.Value; }
};

template <typename KeyType, typename ValueType>
using TTuple = TPair<KeyType, ValueType>;
