#include "Misc/Timespan.h"

#include <cmath>

namespace
{
int64 SaturateTicks(__int128 Value)
{
	if (Value > __int128(ETimespan::MaxTicks))
	{
		return ETimespan::MaxTicks;
	}
	if (Value < __int128(ETimespan::MinTicks))
	{
		return ETimespan::MinTicks;
	}
	return int64(Value);
}

// Reads a non-empty run of ASCII digits filling the whole of Text; false for anything else or for overflow.
bool ReadDigits(const FString& Text, int64 Limit, int64& OutValue)
{
	if (Text.IsEmpty())
	{
		return false;
	}
	int64 Value = 0;
	for (TCHAR C : Text)
	{
		if (!TChar::IsDigit(C))
		{
			return false;
		}
		Value = Value * 10 + (C - u'0');
		if (Value > Limit)
		{
			return false;
		}
	}
	OutValue = Value;
	return true;
}

void AppendPadded(FString& Out, int64 Value, int32 Digits)
{
	Out += FString::Printf(TEXT("%0*lld"), Digits, Value < 0 ? -Value : Value);
}
} // namespace

int64 FTimespan::ClampTicks(double Value)
{
	if (std::isnan(Value))
	{
		return 0;
	}
	if (Value >= 9223372036854775808.0)
	{
		return ETimespan::MaxTicks;
	}
	if (Value <= -9223372036854775808.0)
	{
		return ETimespan::MinTicks;
	}
	return int64(std::round(Value));
}

FTimespan FTimespan::FromDays(double Days)
{
	return FTimespan(ClampTicks(Days * double(ETimespan::TicksPerDay)));
}

FTimespan FTimespan::FromHours(double Hours)
{
	return FTimespan(ClampTicks(Hours * double(ETimespan::TicksPerHour)));
}

FTimespan FTimespan::FromMinutes(double Minutes)
{
	return FTimespan(ClampTicks(Minutes * double(ETimespan::TicksPerMinute)));
}

FTimespan FTimespan::FromSeconds(double Seconds)
{
	return FTimespan(ClampTicks(Seconds * double(ETimespan::TicksPerSecond)));
}

FTimespan FTimespan::FromMilliseconds(double Milliseconds)
{
	return FTimespan(ClampTicks(Milliseconds * double(ETimespan::TicksPerMillisecond)));
}

FTimespan FTimespan::FromMicroseconds(double Microseconds)
{
	return FTimespan(ClampTicks(Microseconds * double(ETimespan::TicksPerMicrosecond)));
}

void FTimespan::Assign(int32 Days, int32 Hours, int32 Minutes, int32 Seconds, int32 FractionNano)
{
	const __int128 TotalSeconds = ((__int128(Days) * 24 + Hours) * 60 + Minutes) * 60 + Seconds;
	const __int128 TotalNano = TotalSeconds * 1000000000 + FractionNano;
	Ticks = SaturateTicks(TotalNano / ETimespan::NanosecondsPerTick);
}

FTimespan FTimespan::GetDuration() const
{
	return FTimespan(SaturateTicks(Ticks < 0 ? -__int128(Ticks) : __int128(Ticks)));
}

FString FTimespan::ToString() const
{
	return ToString(GetDays() == 0 ? TEXT("%h:%m:%s.%f") : TEXT("%d.%h:%m:%s.%f"));
}

FString FTimespan::ToString(const TCHAR* Format) const
{
	FString Result(Ticks < 0 ? TEXT("-") : TEXT("+"));
	for (const TCHAR* Cursor = Format ? Format : TEXT(""); *Cursor; ++Cursor)
	{
		if (*Cursor != u'%')
		{
			Result.AppendChar(*Cursor);
			continue;
		}
		++Cursor;
		switch (*Cursor)
		{
			case u'd':
				AppendPadded(Result, GetDays(), 1);
				break;
			case u'D':
				AppendPadded(Result, GetDays(), 8);
				break;
			case u'h':
				AppendPadded(Result, GetHours(), 2);
				break;
			case u'm':
				AppendPadded(Result, GetMinutes(), 2);
				break;
			case u's':
				AppendPadded(Result, GetSeconds(), 2);
				break;
			case u'f':
				AppendPadded(Result, GetFractionMilli(), 3);
				break;
			case u'u':
				AppendPadded(Result, GetFractionMicro(), 6);
				break;
			case u'n':
				AppendPadded(Result, GetFractionNano(), 9);
				break;
			case 0:
				return Result;
			default:
				Result.AppendChar(*Cursor);
				break;
		}
	}
	return Result;
}

bool FTimespan::Parse(const FString& TimespanString, FTimespan& OutTimespan)
{
	FString Rest = TimespanString;
	bool bNegative = false;
	if (!Rest.IsEmpty() && (Rest[0] == u'-' || Rest[0] == u'+'))
	{
		bNegative = Rest[0] == u'-';
		Rest = Rest.Mid(1);
	}
	TArray<FString> Parts;
	Rest.ParseIntoArray(Parts, TEXT(":"), false);
	if (Parts.Num() != 3)
	{
		return false;
	}

	int64 Days = 0;
	FString HourText = Parts[0];
	FString DayText;
	if (HourText.Split(TEXT("."), &DayText, &HourText) && !ReadDigits(DayText, 10675198, Days))
	{
		return false;
	}
	FString SecondText = Parts[2];
	FString FractionText;
	const bool bFraction = SecondText.Split(TEXT("."), &SecondText, &FractionText);
	int64 Hours = 0;
	int64 Minutes = 0;
	int64 Seconds = 0;
	int64 Fraction = 0;
	if (!ReadDigits(HourText, 23, Hours) || !ReadDigits(Parts[1], 59, Minutes) || !ReadDigits(SecondText, 59, Seconds))
	{
		return false;
	}
	if (bFraction && (FractionText.Len() > 9 || !ReadDigits(FractionText, 999999999, Fraction)))
	{
		return false;
	}
	for (int32 Digit = FractionText.Len(); Digit < 9; ++Digit)
	{
		Fraction *= 10;
	}
	const FTimespan Parsed(static_cast<int32>(Days), static_cast<int32>(Hours), static_cast<int32>(Minutes),
	                       static_cast<int32>(Seconds), static_cast<int32>(Fraction));
	OutTimespan = bNegative ? -Parsed : Parsed;
	return true;
}

FTimespan FTimespan::operator+(const FTimespan& Other) const
{
	return FTimespan(SaturateTicks(__int128(Ticks) + Other.Ticks));
}

FTimespan FTimespan::operator-(const FTimespan& Other) const
{
	return FTimespan(SaturateTicks(__int128(Ticks) - Other.Ticks));
}

FTimespan FTimespan::operator-() const
{
	return FTimespan(SaturateTicks(-__int128(Ticks)));
}

FTimespan FTimespan::operator*(double Scalar) const
{
	return FTimespan(ClampTicks(double(Ticks) * Scalar));
}

FTimespan FTimespan::operator%(const FTimespan& Other) const
{
	if (Other.Ticks == 0)
	{
		return Zero();
	}
	return FTimespan(int64(__int128(Ticks) % Other.Ticks));
}
