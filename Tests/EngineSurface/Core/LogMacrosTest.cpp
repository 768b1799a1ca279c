#include "Logging/LogMacros.h"

#include <gtest/gtest.h>

namespace
{
struct FCapturedLine
{
	FString Message;
	ELogVerbosity::Type Verbosity;
	FName Category;
};

// Collects log lines while it lives, with standard error quiet so test output stays readable.
struct FLogCapture : FOutputDevice
{
	TArray<FCapturedLine> Lines;
	FLogCapture()
	{
		GLog->AddOutputDevice(this);
		GLog->SetStandardErrorEnabled(false);
	}
	~FLogCapture() override
	{
		GLog->RemoveOutputDevice(this);
		GLog->SetStandardErrorEnabled(true);
	}
	void Serialize(const TCHAR* Message, ELogVerbosity::Type Verbosity, const FName& Category) override
	{
		Lines.Add({Message, Verbosity, Category});
	}
};
} // namespace

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
