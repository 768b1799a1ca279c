#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"
#include "Math/IntPoint.h"
#include "Math/UnrealMathUtility.h"

// Two doubles: canvas positions and sizes. Zero-initialised, unlike the engine's, so no value is ever indeterminate.
struct CORE_API FVector2D
{
	double X = 0.0;
	double Y = 0.0;

	static const FVector2D ZeroVector;
	static const FVector2D UnitVector;

	constexpr FVector2D() = default;
	constexpr FVector2D(double InX, double InY) : X(InX), Y(InY) {}
	constexpr explicit FVector2D(double InXY) : X(InXY), Y(InXY) {}
	constexpr FVector2D(FIntPoint Point) : X(Point.X), Y(Point.Y) {}

	constexpr FVector2D operator+(const FVector2D& V) const { return FVector2D(X + V.X, Y + V.Y); }
	constexpr FVector2D operator-(const FVector2D& V) const { return FVector2D(X - V.X, Y - V.Y); }
	constexpr FVector2D operator*(const FVector2D& V) const { return FVector2D(X * V.X, Y * V.Y); }
	constexpr FVector2D operator/(const FVector2D& V) const { return FVector2D(X / V.X, Y / V.Y); }
	constexpr FVector2D operator*(double Scale) const { return FVector2D(X * Scale, Y * Scale); }
	constexpr FVector2D operator/(double Scale) const { return FVector2D(X / Scale, Y / Scale); }
	constexpr FVector2D operator+(double A) const { return FVector2D(X + A, Y + A); }
	constexpr FVector2D operator-(double A) const { return FVector2D(X - A, Y - A); }
	constexpr FVector2D operator-() const { return FVector2D(-X, -Y); }
	friend constexpr FVector2D operator*(double Scale, const FVector2D& V) { return V * Scale; }

	FVector2D& operator+=(const FVector2D& V) { return *this = *this + V; }
	FVector2D& operator-=(const FVector2D& V) { return *this = *this - V; }
	FVector2D& operator*=(const FVector2D& V) { return *this = *this * V; }
	FVector2D& operator/=(const FVector2D& V) { return *this = *this / V; }
	FVector2D& operator*=(double Scale) { return *this = *this * Scale; }
	FVector2D& operator/=(double Scale) { return *this = *this / Scale; }

	// Exact comparison of both components.
	constexpr bool operator==(const FVector2D& V) const { return X == V.X && Y == V.Y; }
	constexpr bool operator!=(const FVector2D& V) const { return !(*this == V); }
	// Each component within Tolerance.
	bool Equals(const FVector2D& V, double Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(X - V.X) <= Tolerance && FMath::Abs(Y - V.Y) <= Tolerance;
	}
	bool IsZero() const { return X == 0.0 && Y == 0.0; }
	bool IsNearlyZero(double Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(X) <= Tolerance && FMath::Abs(Y) <= Tolerance;
	}

	double Size() const { return FMath::Sqrt(X * X + Y * Y); }
	double SizeSquared() const { return X * X + Y * Y; }
	double GetMax() const { return FMath::Max(X, Y); }
	double GetMin() const { return FMath::Min(X, Y); }
	static double DotProduct(const FVector2D& A, const FVector2D& B) { return A.X * B.X + A.Y * B.Y; }
	static double Distance(const FVector2D& A, const FVector2D& B) { return (A - B).Size(); }
	// The unit vector in this direction, or zero when the vector is too short to have one.
	FVector2D GetSafeNormal(double Tolerance = UE_SMALL_NUMBER) const;
	FVector2D ClampAxes(double MinValue, double MaxValue) const
	{
		return FVector2D(FMath::Clamp(X, MinValue, MaxValue), FMath::Clamp(Y, MinValue, MaxValue));
	}
	FIntPoint IntPoint() const { return FIntPoint(FMath::RoundToInt32(X), FMath::RoundToInt32(Y)); }

	// "X=1.000 Y=2.000".
	FString ToString() const { return FString::Printf(TEXT("X=%3.3f Y=%3.3f"), X, Y); }
};
