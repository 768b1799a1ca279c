#include "Math/UnrealMathUtility.h"

#include "Math/Vector2D.h"

#include <cstdlib>

float FMath::Fmod(float X, float Y)
{
	return std::fabs(Y) <= 1.e-8f ? 0.0f : std::fmod(X, Y);
}

double FMath::Fmod(double X, double Y)
{
	return std::fabs(Y) <= 1.e-8 ? 0.0 : std::fmod(X, Y);
}

int32 FMath::TruncToInt32(double Value)
{
	if (std::isnan(Value))
	{
		return 0;
	}
	if (Value <= double(MIN_int32))
	{
		return MIN_int32;
	}
	if (Value >= double(MAX_int32))
	{
		return MAX_int32;
	}
	return int32(Value);
}

int64 FMath::TruncToInt64(double Value)
{
	if (std::isnan(Value))
	{
		return 0;
	}
	// 2^63 is exactly representable; anything at or beyond it does not fit.
	if (Value >= 9223372036854775808.0)
	{
		return MAX_int64;
	}
	if (Value <= -9223372036854775808.0)
	{
		return MIN_int64;
	}
	return int64(Value);
}

double FMath::GetRangePct(double MinValue, double MaxValue, double Value)
{
	const double Divisor = MaxValue - MinValue;
	if (IsNearlyZero(Divisor))
	{
		return Value >= MaxValue ? 1.0 : 0.0;
	}
	return (Value - MinValue) / Divisor;
}

double FMath::GetMappedRangeValueClamped(const FVector2D& InputRange, const FVector2D& OutputRange, double Value)
{
	const double Pct = Clamp(GetRangePct(InputRange.X, InputRange.Y, Value), 0.0, 1.0);
	return Lerp(OutputRange.X, OutputRange.Y, Pct);
}

double FMath::GetMappedRangeValueUnclamped(const FVector2D& InputRange, const FVector2D& OutputRange, double Value)
{
	return Lerp(OutputRange.X, OutputRange.Y, GetRangePct(InputRange.X, InputRange.Y, Value));
}

void FMath::RandInit(int32 Seed)
{
	std::srand(static_cast<unsigned>(Seed));
}

int32 FMath::Rand()
{
	return std::rand() & 0x7fff;
}
