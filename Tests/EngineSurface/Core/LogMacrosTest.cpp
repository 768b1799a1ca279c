#include "Logging/LogMacros.h"

#include "LogCapture.h"

#include <gtest/gtest.h>


TEST(LogMacros, DisplayLinesOfLogTempReachEveryOutputDeviceFormatted)
{
	FLogCapture Capture;
	UE_LOG(LogTemp, Display, TEXT("Media player %s at %d"), TEXT("Pause"), 42);
	ASSERT_EQ(Capture.Lines.Num(), 1);
	EXPECT_EQ(Capture.Lines[0].Message, TEXT("Media player Pause at 42"));
	EXPECT_EQ(Capture.Lines[0].Verbosity, ELogVerbosity::Display);
	EXPECT_EQ(Capture.Lines[0].Category, FName(TEXT("LogTemp")));
}

TEST(LogMacros, LinesAboveTheCategorysVerbosityAreDropped)
{
	FLogCapture Capture;
	UE_LOG(LogTemp, Verbose, TEXT("too chatty"));
	LogTemp.SetVerbosity(ELogVerbosity::Warning);
	UE_LOG(LogTemp, Display, TEXT("now suppressed"));
	UE_LOG(LogTemp, Warning, TEXT("still shown"));
	LogTemp.SetVerbosity(ELogVerbosity::Log);
	ASSERT_EQ(Capture.Lines.Num(), 1);
	EXPECT_EQ(Capture.Lines[0].Message, TEXT("still shown"));
}
