#pragma once

template <typename KeyType, typename ValueType>
struct TPair
{
	KeyType Key;
	ValueType Value;

	bool operator==(const TPair& Other) const { return Key == Other.Key && Value == Other.Value; }
};

template <typename KeyType, typename ValueType>
using TTuple = TPair<KeyType, ValueType>;
