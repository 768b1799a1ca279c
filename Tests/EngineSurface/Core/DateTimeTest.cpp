#include "Misc/DateTime.h"
#include "Headless/Utf8String.h"

#include <gtest/gtest.h>

TEST(DateTime, ComponentsOfConstructedDate)
{
	const FDateTime Date(2024, 2, 29, 13, 14, 15, 16);
	EXPECT_EQ(Date.GetYear(), 2024);
	EXPECT_EQ(Date.GetMonth(), 2);
	EXPECT_EQ(Date.GetDay(), 29);
	EXPECT_EQ(Date.GetHour(), 13);
	EXPECT_EQ(Date.GetHour12(), 1);
	EXPECT_EQ(Date.GetMinute(), 14);
	EXPECT_EQ(Date.GetSecond(), 15);
	EXPECT_EQ(Date.GetMillisecond(), 16);
	EXPECT_EQ(Date.GetDayOfYear(), 60);
	EXPECT_EQ(Date.GetDayOfWeek(), EDayOfWeek::Thursday);
	EXPECT_EQ(FDateTime(1, 1, 1).GetTicks(), 0);
	EXPECT_EQ(FDateTime(1970, 1, 1).GetTicks(), 621355968000000000LL);
	EXPECT_EQ(FDateTime(1970, 1, 2).ToUnixTimestamp(), 86400);
	EXPECT_EQ(FDateTime::MaxValue().GetYear(), 9999);
	EXPECT_EQ(FDateTime::MaxValue().GetMonth(), 12);
	EXPECT_EQ(FDateTime::MaxValue().GetDay(), 31);
}

TEST(DateTime, CalendarRules)
{
	EXPECT_TRUE(FDateTime::IsLeapYear(2000));
	EXPECT_FALSE(FDateTime::IsLeapYear(1900));
	EXPECT_TRUE(FDateTime::IsLeapYear(2024));
	EXPECT_EQ(FDateTime::DaysInMonth(2023, 2), 28);
	EXPECT_EQ(FDateTime::DaysInMonth(2024, 2), 29);
	EXPECT_FALSE(FDateTime::Validate(2023, 2, 29, 0, 0, 0, 0));
	EXPECT_FALSE(FDateTime::Validate(0, 1, 1, 0, 0, 0, 0));
	EXPECT_FALSE(FDateTime::Validate(2023, 1, 1, 24, 0, 0, 0));
	EXPECT_FALSE(FDateTime::Validate(2023, 1, 1, 0, 0, 0, 1000));
}

TEST(DateTime, StringsInEngineFormats)
{
	const FDateTime Date(2021, 3, 4, 5, 6, 7, 89);
	EXPECT_EQ(Date.ToString(), TEXT("2021.03.04-05.06.07"));
	EXPECT_EQ(Date.ToIso8601(), TEXT("2021-03-04T05:06:07.089Z"));
	EXPECT_EQ(Date.ToString(TEXT("%a %B %e %h%p %D")), TEXT("Thu March 4 05AM 063"));
}

TEST(DateTime, ParseReadsWhatToStringWrites)
{
	FDateTime Date;
	ASSERT_TRUE(FDateTime::Parse(TEXT("2021.03.04-05.06.07"), Date));
	EXPECT_EQ(Date, FDateTime(2021, 3, 4, 5, 6, 7));
	ASSERT_TRUE(FDateTime::Parse(TEXT("2021.03.04-05.06.07:123"), Date));
	EXPECT_EQ(Date, FDateTime(2021, 3, 4, 5, 6, 7, 123));
	const FDateTime Original(1999, 12, 31, 23, 59, 59);
	ASSERT_TRUE(FDateTime::Parse(Original.ToString(), Date));
	EXPECT_EQ(Date, Original);
}

TEST(DateTime, ParseRejectsInvalidTextAndKeepsOutput)
{
	const FDateTime Kept(2000, 1, 1);
	for (const TCHAR* Text :
	     {TEXT("garbage"), TEXT(""), TEXT("2021.13.40-00.00.00"), TEXT("2023.02.29-00.00.00"), TEXT("2021.03.04"),
	      TEXT("2021.03.04-05.06.07:123:4"), TEXT("2021.03.04-05.06.xx"), TEXT("2021.03.04-24.00.00"),
	      TEXT("99999999999.01.01-00.00.00"), TEXT("2021.03.04T05.06.07")})
	{
		FDateTime Date = Kept;
		EXPECT_FALSE(FDateTime::Parse(Text, Date)) << ToUtf8(FString(Text));
		EXPECT_EQ(Date, Kept);
	}
}

TEST(DateTime, DifferencesAreTimespans)
{
	const FDateTime Start(2021, 12, 31, 23, 0, 0);
	const FDateTime End(2022, 1, 1, 1, 30, 0);
	EXPECT_EQ(End - Start, FTimespan(2, 30, 0));
	EXPECT_EQ(Start + FTimespan(2, 30, 0), End);
	EXPECT_TRUE(Start < End);
	EXPECT_EQ(End.GetTimeOfDay(), FTimespan(1, 30, 0));
	EXPECT_GT(FDateTime::UtcNow(), FDateTime(2020, 1, 1));
	EXPECT_LT((FDateTime::Now() - FDateTime::UtcNow()).GetDuration(), FTimespan(15, 0, 0));
}
