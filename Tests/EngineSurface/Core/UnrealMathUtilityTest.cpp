#include "Math/UnrealMathUtility.h"
#include "Math/Vector2D.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

TEST(Math, RandomFormulasFollowTheMaskedRuntimeGenerator)
{
	constexpr int32 Steps = 200;
	std::srand(1234);
	std::vector<int32> Raw;
	for (int32 Step = 0; Step < Steps; ++Step)
	{
		Raw.push_back(std::rand() & 0x7fff);
	}

	FMath::RandInit(1234);
	for (int32 Step = 0; Step < Steps; ++Step)
	{
		const float Unit = float(Raw[size_t(Step)]) * (1.0f / 32767.0f);
		switch (Step % 4)
		{
			case 0:
				EXPECT_EQ(FMath::Rand(), Raw[size_t(Step)]);
				break;
			case 1:
				EXPECT_EQ(FMath::FRand(), Unit);
				break;
			case 2:
				EXPECT_EQ(FMath::RandRange(3, 9), 3 + std::min(int32(Unit * 7.0f), 6));
				break;
			case 3:
				EXPECT_EQ(FMath::FRandRange(-2.0f, 6.0f), -2.0f + 8.0f * Unit);
				break;
		}
	}
	FMath::RandInit(1234);
	EXPECT_EQ(FMath::Rand(), Raw[0]);
}

TEST(Math, RandHelperStaysInRange)
{
	FMath::SRandInit(7);
	for (int32 Step = 0; Step < 2000; ++Step)
	{
		const int32 Value = FMath::RandRange(0, 4);
		EXPECT_GE(Value, 0);
		EXPECT_LE(Value, 4);
	}
	EXPECT_EQ(FMath::RandHelper(0), 0);
	EXPECT_EQ(FMath::RandHelper(-5), 0);
	EXPECT_EQ(FMath::RandRange(5, 5), 5);
}

TEST(Math, IntegerConversionsSaturateInsteadOfOverflowing)
{
	EXPECT_EQ(FMath::TruncToInt(2.9f), 2);
	EXPECT_EQ(FMath::TruncToInt(-2.9f), -2);
	EXPECT_EQ(FMath::TruncToInt32(1e20), MAX_int32);
	EXPECT_EQ(FMath::TruncToInt32(-1e20), MIN_int32);
	EXPECT_EQ(FMath::TruncToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
	EXPECT_EQ(FMath::TruncToInt(1e30), MAX_int64);
	EXPECT_EQ(FMath::TruncToInt(std::numeric_limits<double>::infinity()), MAX_int64);
	EXPECT_EQ(FMath::FloorToInt(-2.5f), -3);
	EXPECT_EQ(FMath::CeilToInt(-2.5f), -2);
	EXPECT_EQ(FMath::RoundToInt(2.5f), 3);
	EXPECT_EQ(FMath::RoundToInt(-2.5f), -2);
	EXPECT_EQ(FMath::RoundToFloat(-0.4f), 0.0f);
}

TEST(Math, ClampMinMaxAndSign)
{
	EXPECT_EQ(FMath::Clamp(5, 0, 3), 3);
	EXPECT_EQ(FMath::Clamp(-5, 0, 3), 0);
	EXPECT_EQ(FMath::Clamp(0.5f, 0.0, 1.0), 0.5);
	EXPECT_EQ(FMath::Min(2, 3), 2);
	EXPECT_EQ(FMath::Max(2.0f, 3.0), 3.0);
	// An explicit first type with a second argument of another type, as in FMath::Max<int64>(Size, 0).
	EXPECT_EQ(FMath::Max<int64>(int64(-5), 0), 0);
	EXPECT_EQ(FMath::Min<int64>(int64(1) << 40, 7), 7);
	EXPECT_EQ(FMath::Sign(-4.0), -1.0);
	EXPECT_EQ(FMath::Sign(0), 0);
	EXPECT_EQ(FMath::Abs(-7), 7);
	EXPECT_EQ(FMath::Fmod(7.5f, 2.0f), 1.5f);
	EXPECT_EQ(FMath::Fmod(-7.5, 2.0), -1.5);
	EXPECT_EQ(FMath::Fmod(1.0, 0.0), 0.0);
	EXPECT_TRUE(FMath::IsNearlyEqual(0.1 + 0.2, 0.3));
	EXPECT_FALSE(FMath::IsNearlyEqual(1.0f, 1.001f));
}

TEST(Math, MappedRangeClampsToTheOutputRange)
{
	const FVector2D In(0.0, 10.0);
	const FVector2D Out(100.0, 200.0);
	EXPECT_DOUBLE_EQ(FMath::GetMappedRangeValueClamped(In, Out, 2.5), 125.0);
	EXPECT_DOUBLE_EQ(FMath::GetMappedRangeValueClamped(In, Out, -3.0), 100.0);
	EXPECT_DOUBLE_EQ(FMath::GetMappedRangeValueClamped(In, Out, 30.0), 200.0);
	EXPECT_DOUBLE_EQ(FMath::GetMappedRangeValueUnclamped(In, Out, 20.0), 300.0);
	EXPECT_DOUBLE_EQ(FMath::GetMappedRangeValueClamped(FVector2D(5.0, 5.0), Out, 5.0), 200.0);
	EXPECT_DOUBLE_EQ(FMath::GetMappedRangeValueClamped(FVector2D(5.0, 5.0), Out, 4.0), 100.0);
}
