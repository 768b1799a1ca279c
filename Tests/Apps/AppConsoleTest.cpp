#include "AppConsole.h"

#include <gtest/gtest.h>

#include <string>

TEST(AppConsole, ProgressPrintsALinePerTenthAndMakesItsDetailOnlyThen)
{
	FProgressReport Report;
	int32 DetailsMade = 0;
	const auto Detail = [&DetailsMade]
	{
		++DetailsMade;
		return FString::Printf(TEXT("line %d"), DetailsMade);
	};

	testing::internal::CaptureStderr();
	// A frame every tenth of a second over a minute, then past the end, as a run that overshoots does.
	for (int32 Frame = 0; Frame <= 700; ++Frame)
	{
		Report.Update(Frame * 0.1, 60.0, Detail);
	}
	const std::string Printed = testing::internal::GetCapturedStderr();

	EXPECT_EQ(DetailsMade, 11);
	EXPECT_EQ(Printed.rfind("[  0%] line 1\n[ 10%] line 2\n", 0), 0u) << Printed;
	EXPECT_NE(Printed.find("[ 90%] line 10\n[100%] line 11\n"), std::string::npos) << Printed;

	// A run of no length is done at once, and says so once.
	FProgressReport Empty;
	testing::internal::CaptureStderr();
	Empty.Update(0.0, 0.0, Detail);
	Empty.Update(5.0, 0.0, Detail);
	EXPECT_EQ(testing::internal::GetCapturedStderr(), "[100%] line 12\n");
}

TEST(AppConsole, ClockShowsHoursMinutesSecondsAndTruncatedTenths)
{
	EXPECT_EQ(FAppConsole::FormatClock(65.59), TEXT("00:01:05.5"));
	EXPECT_EQ(FAppConsole::FormatClock(7200.0), TEXT("02:00:00.0"));
	EXPECT_EQ(FAppConsole::FormatClock(360000.0), TEXT("100:00:00.0"));
	EXPECT_EQ(FAppConsole::FormatClock(-3.0), TEXT("00:00:00.0"));
}
