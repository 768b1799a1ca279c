#pragma once

#include "CoreMinimal.h"

// Reads the values of command-line options and script arguments; each is false for text it cannot read.
struct FOptionValues
{
	// A finite number, the whole text.
	static bool ParseNumber(const FString& Text, double& Out);
	// WIDTHxHEIGHT, each from 1 to 8192.
	static bool ParseSize(const FString& Text, FVector2D& Out);
	// Non-negative seconds separated by commas, sorted.
	static bool ParseTimes(const FString& Text, TArray<double>& Out, FString& OutBadItem);
	// A whole number from Min to Max.
	static bool ParseWhole(const FString& Text, int64 Min, int64 Max, int64& Out);

	template <int32 N>
	static bool IsOneOf(const FString& Name, const TCHAR* const (&Names)[N])
	{
		for (const TCHAR* Each : Names)
		{
			if (Name == Each)
			{
				return true;
			}
		}
		return false;
	}

	// The shape of the programs' command lines. Each argument is either one the program takes itself (a flag, or
	// an option it reads along with its value), for which TakeOwn returns true, setting OutError when it is bad;
	// or one of ValueOptions followed by its value, which ReadValue reads. False with the message for anything else.
	template <int32 N>
	static bool ParseCommandLine(
	    const TArray<FString>& Arguments, const TCHAR* const (&ValueOptions)[N],
	    TFunctionRef<bool(int32& Index, FString& OutError)> TakeOwn,
	    TFunctionRef<bool(const FString& Name, const FString& Value, FString& OutError)> ReadValue, FString& OutError)
	{
		for (int32 Index = 0; Index < Arguments.Num(); ++Index)
		{
			const FString& Argument = Arguments[Index];
			if (TakeOwn(Index, OutError))
			{
				if (!OutError.IsEmpty())
				{
					return false;
				}
				continue;
			}
			if (!IsOneOf(Argument, ValueOptions))
			{
				OutError = FString::Printf(TEXT("unknown option '%s' (see --help)"), *Argument);
				return false;
			}
			if (Index + 1 >= Arguments.Num())
			{
				OutError = FString::Printf(TEXT("option %s needs a value"), *Argument);
				return false;
			}
			if (!ReadValue(Argument, Arguments[++Index], OutError))
			{
				return false;
			}
		}
		return true;
	}

	// The values the programs' options share, read alike; false with "--option takes ..., not 'text'".
	static bool ReadSeconds(const FString& Text, double& Out, FString& OutError);
	static bool ReadFrameRate(const FString& Text, double& OutFrameSeconds, FString& OutError);
	static bool ReadSeed(const FString& Text, int32& Out, FString& OutError);
};
