#pragma once

#include "HAL/Platform.h"

#include <type_traits>

inline uint32 HashCombine(uint32 A, uint32 C)
{
	uint32 B = 0x9e3779b9;
	A += B;
	A -= B;
	A -= C;
	A ^= (C >> 13);
	B -= C;
	B -= A;
	B ^= (A << 8);
	C -= A;
	C -= B;
	C ^= (B >> 13);
	A -= B;
	A -= C;
	A ^= (C >> 12);
	B -= C;
	B -= A;
	B ^= (A << 16);
	C -= A;
	C -= B;
	C ^= (B >> 5);
	A -= B;
	A -= C;
	A ^= (C >> 3);
	B -= C;
	B -= A;
	B ^= (A << 10);
	C -= A;
	C -= B;
	C ^= (B >> 15);
	return C;
}

template <typename T>
requires(std::is_integral_v<T> || std::is_enum_v<T>) inline uint32 GetTypeHash(T Value)
{
	const uint64 Bits = static_cast<uint64>(Value);
	return static_cast<uint32>(Bits) ^ static_cast<uint32>(Bits >> 32) * 23;
}

template <typename T>
inline uint32 GetTypeHash(T* Pointer)
{
	const UPTRINT Bits = reinterpret_cast<UPTRINT>(Pointer) >> 4;
	return static_cast<uint32>(Bits) ^ static_cast<uint32>(static_cast<uint64>(Bits) >> 32);
}

// Adapts GetTypeHash, found by argument-dependent lookup, to the standard containers underneath ours.
struct FEngineHasher
{
	template <typename T>
	size_t operator()(const T& Value) const
	{
		return GetTypeHash(Value);
	}
};
