#include "OptionValues.h"
#include "Headless/Utf8String.h"

#include <cmath>
#include <cstdlib>
#include <string>

bool FOptionValues::ParseNumber(const FString& Text, double& Out)
{
	const std::string Narrow = ToUtf8(Text);
	if (Narrow.empty())
	{
		return false;
	}
	// Decimal only: strtod would also take "0x2", "inf" and "nan", which no one writes for a time or a count.
	for (const char C : Narrow)
	{
		if (!((C >= '0' && C <= '9') || C == '+' || C == '-' || C == '.' || C == 'e' || C == 'E'))
		{
			return false;
		}
	}
	char* End = nullptr;
	const double Value = std::strtod(Narrow.c_str(), &End);
	if (*End != '\0' || !std::isfinite(Value))
	{
		return false;
	}
	Out = Value;
	return true;
}

bool FOptionValues::ParseSize(const FString& Text, FVector2D& Out)
{
	FString Width;
	FString Height;
	double W = 0.0;
	double H = 0.0;
	if (!Text.Split(TEXT("x"), &Width, &Height) || !ParseNumber(Width, W) || !ParseNumber(Height, H) || W < 1.0 ||
	    H < 1.0 || W > 8192.0 || H > 8192.0)
	{
		return false;
	}
	Out = FVector2D(FMath::FloorToDouble(W), FMath::FloorToDouble(H));
	return true;
}

bool FOptionValues::ParseTimes(const FString& Text, TArray<double>& Out, FString& OutBadItem)
{
	TArray<FString> Items;
	Text.ParseIntoArray(Items, TEXT(","), true);
	Out.Reset();
	for (const FString& Item : Items)
	{
		double Seconds = 0.0;
		if (!ParseNumber(Item.TrimStartAndEnd(), Seconds) || Seconds < 0.0)
		{
			OutBadItem = Item;
			return false;
		}
		Out.Add(Seconds);
	}
	Out.Sort();
	return true;
}

bool FOptionValues::ParseWhole(const FString& Text, int64 Min, int64 Max, int64& Out)
{
	double Value = 0.0;
	if (!ParseNumber(Text, Value) || Value < double(Min) || Value > double(Max) || Value != FMath::FloorToDouble(Value))
	{
		return false;
	}
	Out = int64(Value);
	return true;
}

bool FOptionValues::ReadSeconds(const FString& Text, double& Out, FString& OutError)
{
	if (!ParseNumber(Text, Out) || Out <= 0.0)
	{
		OutError = FString::Printf(TEXT("--seconds takes a positive number, not '%s'"), *Text);
		return false;
	}
	return true;
}

bool FOptionValues::ReadFrameRate(const FString& Text, double& OutFrameSeconds, FString& OutError)
{
	double Rate = 0.0;
	if (!ParseNumber(Text, Rate) || Rate < 1.0 || Rate > 1000.0)
	{
		OutError = FString::Printf(TEXT("--frame-rate takes a number from 1 to 1000, not '%s'"), *Text);
		return false;
	}
	OutFrameSeconds = 1.0 / Rate;
	return true;
}

bool FOptionValues::ReadSeed(const FString& Text, int32& Out, FString& OutError)
{
	int64 Whole = 0;
	if (!ParseWhole(Text, 0, MAX_int32, Whole))
	{
		OutError = FString::Printf(TEXT("--seed takes a whole number from 0 to 2147483647, not '%s'"), *Text);
		return false;
	}
	Out = int32(Whole);
	return true;
}
