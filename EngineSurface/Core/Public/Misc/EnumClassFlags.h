#pragma once

// Bitwise operators for a scoped enumeration used as a set of flags, as the engine's macro declares them.
#define ENUM_CLASS_FLAGS(Enum)                                                                                         \
	inline Enum& operator|=(Enum& Lhs, Enum Rhs)                                                                       \
	{                                                                                                                  \
		return Lhs = (Enum)((__underlying_type(Enum))Lhs | (__underlying_type(Enum))Rhs);                              \
	}                                                                                                                  \
	inline Enum& operator&=(Enum& Lhs, Enum Rhs)                                                                       \
	{                                                                                                                  \
		return Lhs = (Enum)((__underlying_type(Enum))Lhs & (__underlying_type(Enum))Rhs);                              \
	}                                                                                                                  \
	inline Enum& operator^=(Enum& Lhs, Enum Rhs)                                                                       \
	{                                                                                                                  \
		return Lhs = (Enum)((__underlying_type(Enum))Lhs ^ (__underlying_type(Enum))Rhs);                              \
	}                                                                                                                  \
	constexpr Enum operator|(Enum Lhs, Enum Rhs)                                                                       \
	{                                                                                                                  \
		return (Enum)((__underlying_type(Enum))Lhs | (__underlying_type(Enum))Rhs);                                    \
	}                                                                                                                  \
	constexpr Enum operator&(Enum Lhs, Enum Rhs)                                                                       \
	{                                                                                                                  \
		return (Enum)((__underlying_type(Enum))Lhs & (__underlying_type(Enum))Rhs);                                    \
	}                                                                                                                  \
	constexpr Enum operator^(Enum Lhs, Enum Rhs)                                                                       \
	{                                                                                                                  \
		return (Enum)((__underlying_type(Enum))Lhs ^ (__underlying_type(Enum))Rhs);                                    \
	}                                                                                                                  \
	constexpr bool operator!(Enum E)                                                                                   \
	{                                                                                                                  \
		return !(__underlying_type(Enum))E;                                                                            \
	}                                                                                                                  \
	constexpr Enum operator~(Enum E)                                                                                   \
	{                                                                                                                  \
		return (Enum) ~(__underlying_type(Enum))E;                                                                     \
	}

template <typename Enum>
constexpr bool EnumHasAnyFlags(Enum Flags, Enum Contains)
{
	return (((__underlying_type(Enum))Flags) & (__underlying_type(Enum))Contains) != 0;
}

template <typename Enum>
constexpr bool EnumHasAllFlags(Enum Flags, Enum Contains)
{
	return (((__underlying_type(Enum))Flags) & (__underlying_type(Enum))Contains) ==
	       ((__underlying_type(Enum))Contains);
}
