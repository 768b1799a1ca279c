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

	// The values the programs' options share, read alike; false with "--option takes ..., not 'text'".
	static bool ReadSeconds(const FString& Text, double& Out, FString& OutError);
	static bool ReadFrameRate(const FString& Text, double& OutFrameSeconds, FString& OutError);
	static bool ReadSeed(const FString& Text, int32& Out, FString& OutError);
};
