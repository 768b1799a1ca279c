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
};
