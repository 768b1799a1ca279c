#include "Misc/Timespan.h"
#include "Headless/Utf8String.h"

#include <gtest/gtest.h>

#include <limits>

TEST(Timespan, ComponentsSplitDaysOff)
{
	const FTimespan Span(1, 2, 3, 4, 5000000);
	EXPECT_EQ(Span.GetDays(), 1);
	EXPECT_EQ(Span.GetHours(), 2);
	EXPECT_EQ(Span.GetMinutes(), 3);
	EXPECT_EQ(Span.GetSeconds(), 4);
	EXPECT_EQ(Span.GetFractionMilli(), 5);
	EXPECT_EQ(Span.GetFractionNano(), 5000000);
	EXPECT_EQ(FTimespan(25, 0, 0).GetHours(), 1);
	EXPECT_EQ(FTimespan(25, 0, 0).GetDays(), 1);
	EXPECT_EQ(FTimespan(0, 1, 5).GetTicks(), 65 * ETimespan::TicksPerSecond);
	EXPECT_DOUBLE_EQ(FTimespan(0, 1, 30).GetTotalMinutes(), 1.5);
}

TEST(Timespan, NegativeComponentsAreZeroOrNegative)
{
	const FTimespan Span = -FTimespan(0, 0, 1, 5, 250000000);
	EXPECT_EQ(Span.GetHours(), 0);
	EXPECT_EQ(Span.GetMinutes(), -1);
	EXPECT_EQ(Span.GetSeconds(), -5);
	EXPECT_EQ(Span.GetFractionMilli(), -250);
	EXPECT_DOUBLE_EQ(Span.GetTotalSeconds(), -65.25);
	EXPECT_EQ(Span.GetDuration(), FTimespan(0, 0, 1, 5, 250000000));
}

TEST(Timespan, FromUnitsRoundsToNearestTickAndClamps)
{
	EXPECT_EQ(FTimespan::FromSeconds(1.5).GetTicks(), 15000000);
	EXPECT_EQ(FTimespan::FromSeconds(0.00000015).GetTicks(), 2);
	EXPECT_EQ(FTimespan::FromSeconds(-0.00000015).GetTicks(), -2);
	EXPECT_EQ(FTimespan::FromMilliseconds(2.5).GetTicks(), 25000);
	EXPECT_EQ(FTimespan::FromMinutes(1.0), FTimespan(0, 1, 0));
	EXPECT_EQ(FTimespan::FromHours(-2.0), FTimespan(-2, 0, 0));
	EXPECT_EQ(FTimespan::FromDays(1.0), FTimespan(1, 0, 0, 0));
	EXPECT_EQ(FTimespan::FromDays(1e300), FTimespan::MaxValue());
	EXPECT_EQ(FTimespan::FromSeconds(-1e300), FTimespan::MinValue());
	EXPECT_EQ(FTimespan::FromSeconds(std::numeric_limits<double>::quiet_NaN()), FTimespan::Zero());
}

TEST(Timespan, ArithmeticSaturates)
{
	EXPECT_EQ(FTimespan(0, 0, 30) + FTimespan(0, 0, 45), FTimespan(0, 1, 15));
	EXPECT_EQ(FTimespan(0, 0, 30) - FTimespan(0, 0, 45), FTimespan::FromSeconds(-15.0));
	EXPECT_EQ(FTimespan(0, 0, 10) * 1.5, FTimespan(0, 0, 15));
	EXPECT_EQ(FTimespan(0, 0, 10) / 4.0, FTimespan::FromSeconds(2.5));
	EXPECT_EQ(FTimespan(0, 0, 10) % FTimespan(0, 0, 3), FTimespan(0, 0, 1));
	EXPECT_EQ(FTimespan::MaxValue() + FTimespan(1), FTimespan::MaxValue());
	EXPECT_EQ(FTimespan::MinValue() - FTimespan(1), FTimespan::MinValue());
	EXPECT_EQ(-FTimespan::MinValue(), FTimespan::MaxValue());
	EXPECT_TRUE(FTimespan(0, 0, 1) < FTimespan(0, 0, 2));
	EXPECT_EQ(GetTypeHash(FTimespan(0, 0, 1)), GetTypeHash(FTimespan(ETimespan::TicksPerSecond)));
}

TEST(Timespan, FormatAlwaysStartsWithSign)
{
	EXPECT_EQ(FTimespan(0, 1, 5).ToString(TEXT("%h:%m:%s")), TEXT("+00:01:05"));
	EXPECT_EQ((-FTimespan(0, 1, 5)).ToString(TEXT("%h:%m:%s")), TEXT("-00:01:05"));
	EXPECT_EQ(FTimespan(26, 0, 0).ToString(TEXT("%h")), TEXT("+02"));
	const FTimespan Precise(3, 4, 5, 6, 123456789);
	EXPECT_EQ(Precise.ToString(TEXT("%d|%D|%f|%u|%n|%%|%x")), TEXT("+3|00000003|123|123456|123456700|%|x"));
}

TEST(Timespan, DefaultStringShowsDaysOnlyWhenPresent)
{
	EXPECT_EQ(FTimespan(0, 1, 5).ToString(), TEXT("+00:01:05.000"));
	EXPECT_EQ(FTimespan(2, 3, 4, 5, 6000000).ToString(), TEXT("+2.03:04:05.006"));
	EXPECT_EQ((-FTimespan::FromSeconds(1.25)).ToString(), TEXT("-00:00:01.250"));
}

TEST(Timespan, ParseAcceptsSignDaysAndFraction)
{
	FTimespan Span;
	ASSERT_TRUE(FTimespan::Parse(TEXT("00:01:05"), Span));
	EXPECT_EQ(Span, FTimespan(0, 1, 5));
	ASSERT_TRUE(FTimespan::Parse(TEXT("-1.02:03:04.5"), Span));
	EXPECT_EQ(Span, -FTimespan(1, 2, 3, 4, 500000000));
	ASSERT_TRUE(FTimespan::Parse(TEXT("+23:59:59.1234567"), Span));
	EXPECT_EQ(Span.GetFractionTicks(), 1234567);

	for (const FTimespan& Original : {FTimespan(0, 1, 5), FTimespan(3, 23, 0, 1, 999000000), -FTimespan(0, 0, 0, 7)})
	{
		FTimespan Parsed;
		ASSERT_TRUE(FTimespan::Parse(Original.ToString(), Parsed)) << ToUtf8(Original.ToString());
		EXPECT_EQ(Parsed, Original);
	}
}

TEST(Timespan, ParseRejectsMalformedTextAndKeepsOutput)
{
	const FTimespan Kept(0, 0, 42);
	for (const TCHAR* Text : {TEXT(""), TEXT("garbage"), TEXT("01:05"), TEXT("24:00:00"), TEXT("00:60:00"),
	                          TEXT("00:00:60"), TEXT("0a:00:00"), TEXT("00:00:00."), TEXT("00:00:00.1234567890"),
	                          TEXT("1.2.00:00:00"), TEXT(" 00:00:01"), TEXT("--00:00:01"), TEXT("00:00:00:00")})
	{
		FTimespan Span = Kept;
		EXPECT_FALSE(FTimespan::Parse(Text, Span)) << ToUtf8(FString(Text));
		EXPECT_EQ(Span, Kept);
	}
}
