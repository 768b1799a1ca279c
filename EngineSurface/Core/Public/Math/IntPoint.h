#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"
#include "Templates/TypeHash.h"

// A pair of integers: pixel positions and sizes.
struct CORE_API FIntPoint
{
	int32 X = 0;
	int32 Y = 0;

	static const FIntPoint ZeroValue;
	static const FIntPoint NoneValue;

	constexpr FIntPoint() = default;
	constexpr FIntPoint(int32 InX, int32 InY) : X(InX), Y(InY) {}
	constexpr explicit FIntPoint(int32 InXY) : X(InXY), Y(InXY) {}

	constexpr bool operator==(const FIntPoint& Other) const { return X == Other.X && Y == Other.Y; }
	constexpr bool operator!=(const FIntPoint& Other) const { return !(*this == Other); }
	constexpr FIntPoint operator+(const FIntPoint& Other) const { return FIntPoint(X + Other.X, Y + Other.Y); }
	constexpr FIntPoint operator-(const FIntPoint& Other) const { return FIntPoint(X - Other.X, Y - Other.Y); }
	constexpr FIntPoint operator*(int32 Scale) const { return FIntPoint(X * Scale, Y * Scale); }
	// Division by zero is a checked error, as for any integer division.
	FIntPoint operator/(int32 Divisor) const
	{
		check(Divisor != 0);
		return FIntPoint(X / Divisor, Y / Divisor);
	}
	FIntPoint& operator+=(const FIntPoint& Other) { return *this = *this + Other; }
	FIntPoint& operator-=(const FIntPoint& Other) { return *this = *this - Other; }
	FIntPoint& operator*=(int32 Scale) { return *this = *this * Scale; }

	int32 Size() const;
	int32 SizeSquared() const { return X * X + Y * Y; }
	int32 GetMax() const { return X > Y ? X : Y; }
	int32 GetMin() const { return X < Y ? X : Y; }
	// "X=1 Y=2".
	FString ToString() const { return FString::Printf(TEXT("X=%d Y=%d"), X, Y); }
};

inline uint32 GetTypeHash(const FIntPoint& Point)
{
	return HashCombine(GetTypeHash(Point.X), GetTypeHash(Point.Y));
}
