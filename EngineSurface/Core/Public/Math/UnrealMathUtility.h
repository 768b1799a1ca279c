#pragma once

#include "HAL/Platform.h"
#include "Math/NumericLimits.h"

#include <cmath>
#include <type_traits>

#define UE_PI (3.1415926535897932f)
#define UE_DOUBLE_PI (3.141592653589793238462643383279502884197169399)
#define UE_SMALL_NUMBER (1.e-8f)
#define UE_KINDA_SMALL_NUMBER (1.e-4f)
#define UE_BIG_NUMBER (3.4e+38f)
#define UE_DOUBLE_SMALL_NUMBER (1.e-8)
#define UE_DOUBLE_KINDA_SMALL_NUMBER (1.e-4)
#define UE_DELTA (0.00001f)

struct FVector2D;

struct CORE_API FMath
{
	template <typename T>
	static constexpr T Min(const T A, const T B)
	{
		return A <= B ? A : B;
	}
	// Mixed arithmetic arguments compare in their common type, as the engine's mixed overloads do.
	template <typename A, typename B>
	requires(!std::is_same_v<A, B> && std::is_arithmetic_v<A> &&
	         std::is_arithmetic_v<B>) static constexpr std::common_type_t<A, B> Min(const A X, const B Y)
	{
		// Both converted first, so that an explicit first type with a second of another type does not come back here.
		using C = std::common_type_t<A, B>;
		return Min<C>(static_cast<C>(X), static_cast<C>(Y));
	}
	template <typename T>
	static constexpr T Max(const T A, const T B)
	{
		return A >= B ? A : B;
	}
	template <typename A, typename B>
	requires(!std::is_same_v<A, B> && std::is_arithmetic_v<A> &&
	         std::is_arithmetic_v<B>) static constexpr std::common_type_t<A, B> Max(const A X, const B Y)
	{
		// Both converted first, so that an explicit first type with a second of another type does not come back here.
		using C = std::common_type_t<A, B>;
		return Max<C>(static_cast<C>(X), static_cast<C>(Y));
	}
	// Below MinValue gives MinValue, else above MaxValue gives MaxValue.
	template <typename T>
	static constexpr T Clamp(const T X, const T MinValue, const T MaxValue)
	{
		return X < MinValue ? MinValue : (X < MaxValue ? X : MaxValue);
	}
	template <typename T, typename U, typename V>
	requires(!(std::is_same_v<T, U> && std::is_same_v<T, V>)&&std::is_arithmetic_v<T> && std::is_arithmetic_v<U> &&
	         std::is_arithmetic_v<V>) static constexpr std::common_type_t<T, U, V> Clamp(const T X, const U MinValue,
	                                                                                     const V MaxValue)
	{
		using C = std::common_type_t<T, U, V>;
		return Clamp<C>(C(X), C(MinValue), C(MaxValue));
	}
	template <typename T>
	static constexpr T Abs(const T A)
	{
		return A < T(0) ? -A : A;
	}
	// -1, 0 or 1.
	template <typename T>
	static constexpr T Sign(const T A)
	{
		return A > T(0) ? T(1) : (A < T(0) ? T(-1) : T(0));
	}
	template <typename T>
	static constexpr T Square(const T A)
	{
		return A * A;
	}
	template <typename T, typename U>
	static constexpr auto Lerp(const T& A, const T& B, const U& Alpha) -> decltype(A + Alpha * (B - A))
	{
		return A + Alpha * (B - A);
	}

	static float Sqrt(float Value) { return std::sqrt(Value); }
	static double Sqrt(double Value) { return std::sqrt(Value); }
	static float Pow(float A, float B) { return std::pow(A, B); }
	static double Pow(double A, double B) { return std::pow(A, B); }
	static float Loge(float Value) { return std::log(Value); }
	static double Loge(double Value) { return std::log(Value); }
	static float Exp(float Value) { return std::exp(Value); }
	static double Exp(double Value) { return std::exp(Value); }
	static float Sin(float Value) { return std::sin(Value); }
	static double Sin(double Value) { return std::sin(Value); }
	static float Cos(float Value) { return std::cos(Value); }
	static double Cos(double Value) { return std::cos(Value); }
	static constexpr float DegreesToRadians(float Degrees) { return Degrees * (UE_PI / 180.0f); }
	static constexpr double DegreesToRadians(double Degrees) { return Degrees * (UE_DOUBLE_PI / 180.0); }
	// Remainder with the sign of X; a divisor near zero gives 0 instead of NaN, as in the engine.
	static float Fmod(float X, float Y);
	static double Fmod(double X, double Y);

	static bool IsNaN(float Value) { return std::isnan(Value); }
	static bool IsNaN(double Value) { return std::isnan(Value); }
	static bool IsFinite(float Value) { return std::isfinite(Value); }
	static bool IsFinite(double Value) { return std::isfinite(Value); }

	// Conversions to integers saturate at the type's range and map NaN to 0 instead of being undefined.
	static int32 TruncToInt32(double Value);
	static int64 TruncToInt64(double Value);
	// As in the engine, the float forms give int32 and the double forms int64.
	static int32 TruncToInt(float Value) { return TruncToInt32(Value); }
	static int64 TruncToInt(double Value) { return TruncToInt64(Value); }
	static float TruncToFloat(float Value) { return std::trunc(Value); }
	static double TruncToDouble(double Value) { return std::trunc(Value); }
	static double TruncToFloat(double Value) { return std::trunc(Value); }
	static int32 FloorToInt32(double Value) { return TruncToInt32(std::floor(Value)); }
	static int64 FloorToInt64(double Value) { return TruncToInt64(std::floor(Value)); }
	static int32 FloorToInt(float Value) { return FloorToInt32(Value); }
	static int64 FloorToInt(double Value) { return FloorToInt64(Value); }
	static float FloorToFloat(float Value) { return std::floor(Value); }
	static double FloorToFloat(double Value) { return std::floor(Value); }
	static double FloorToDouble(double Value) { return std::floor(Value); }
	static int32 CeilToInt32(double Value) { return TruncToInt32(std::ceil(Value)); }
	static int64 CeilToInt64(double Value) { return TruncToInt64(std::ceil(Value)); }
	static int32 CeilToInt(float Value) { return CeilToInt32(Value); }
	static int64 CeilToInt(double Value) { return CeilToInt64(Value); }
	static float CeilToFloat(float Value) { return std::ceil(Value); }
	static double CeilToDouble(double Value) { return std::ceil(Value); }
	// Halves round up (towards positive infinity), as the engine's floor(x + 0.5) does.
	static int32 RoundToInt32(double Value) { return FloorToInt32(Value + 0.5); }
	static int64 RoundToInt64(double Value) { return FloorToInt64(Value + 0.5); }
	static int32 RoundToInt(float Value) { return FloorToInt32(double(Value) + 0.5); }
	static int64 RoundToInt(double Value) { return RoundToInt64(Value); }
	static float RoundToFloat(float Value) { return std::floor(Value + 0.5f); }
	static double RoundToFloat(double Value) { return std::floor(Value + 0.5); }
	static double RoundToDouble(double Value) { return std::floor(Value + 0.5); }
	static float Frac(float Value) { return Value - std::floor(Value); }
	static double Frac(double Value) { return Value - std::floor(Value); }

	static bool IsNearlyEqual(float A, float B, float Tolerance = UE_SMALL_NUMBER)
	{
		return std::fabs(A - B) <= Tolerance;
	}
	static bool IsNearlyEqual(double A, double B, double Tolerance = UE_DOUBLE_SMALL_NUMBER)
	{
		return std::fabs(A - B) <= Tolerance;
	}
	static bool IsNearlyZero(float Value, float Tolerance = UE_SMALL_NUMBER) { return std::fabs(Value) <= Tolerance; }
	static bool IsNearlyZero(double Value, double Tolerance = UE_DOUBLE_SMALL_NUMBER)
	{
		return std::fabs(Value) <= Tolerance;
	}

	// Where Value lies between MinValue (0) and MaxValue (1); an empty range gives 1 at or above it, else 0.
	static double GetRangePct(double MinValue, double MaxValue, double Value);
	static double GetMappedRangeValueClamped(const FVector2D& InputRange, const FVector2D& OutputRange, double Value);
	static double GetMappedRangeValueUnclamped(const FVector2D& InputRange, const FVector2D& OutputRange, double Value);

	// The C runtime's generator, masked to 15 bits so that every platform gives the same sequence for a seed.
	static void RandInit(int32 Seed);
	static void SRandInit(int32 Seed) { RandInit(Seed); }
	static int32 Rand();
	// Rand() scaled by 1/32767 in float: 0 to 1 inclusive.
	static float FRand() { return float(Rand()) * (1.0f / 32767.0f); }
	static float SRand() { return FRand(); }
	// 0 to A - 1 for A > 0, else 0.
	static int32 RandHelper(int32 A) { return A > 0 ? Min(TruncToInt(FRand() * float(A)), A - 1) : 0; }
	// Min to Max inclusive.
	static int32 RandRange(int32 MinValue, int32 MaxValue)
	{
		return MinValue + RandHelper(int32(int64(MaxValue) - int64(MinValue) + 1));
	}
	static float FRandRange(float MinValue, float MaxValue) { return MinValue + (MaxValue - MinValue) * FRand(); }
	static double FRandRange(double MinValue, double MaxValue)
	{
		return MinValue + (MaxValue - MinValue) * double(FRand());
	}
	static float RandRange(float MinValue, float MaxValue) { return FRandRange(MinValue, MaxValue); }
	static double RandRange(double MinValue, double MaxValue) { return FRandRange(MinValue, MaxValue); }
	static bool RandBool() { return Rand() & 1; }
};
