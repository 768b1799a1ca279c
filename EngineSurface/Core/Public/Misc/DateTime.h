#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"
#include "Misc/Timespan.h"
#include "Templates/TypeHash.h"

enum class EDayOfWeek
{
	Monday = 0,
	Tuesday,
	Wednesday,
	Thursday,
	Friday,
	Saturday,
	Sunday
};

// A moment in the proleptic Gregorian calendar: ticks of 100 ns since 0001-01-01 00:00:00, up to year 9999.
class CORE_API FDateTime
{
public:
	constexpr FDateTime() = default;
	constexpr explicit FDateTime(int64 InTicks) : Ticks(InTicks) {}
	// The components must form a valid date and time (see Validate); anything else is a checked error.
	FDateTime(int32 Year, int32 Month, int32 Day, int32 Hour = 0, int32 Minute = 0, int32 Second = 0,
	          int32 Millisecond = 0);

	static FDateTime UtcNow();
	// The local time of the machine.
	static FDateTime Now();
	static FDateTime MinValue() { return FDateTime(0); }
	static FDateTime MaxValue();
	static FDateTime FromUnixTimestamp(int64 UnixTime);

	static bool IsLeapYear(int32 Year);
	static int32 DaysInMonth(int32 Year, int32 Month);
	static int32 DaysInYear(int32 Year) { return IsLeapYear(Year) ? 366 : 365; }
	static bool Validate(int32 Year, int32 Month, int32 Day, int32 Hour, int32 Minute, int32 Second, int32 Millisecond);

	constexpr int64 GetTicks() const { return Ticks; }
	int32 GetYear() const;
	int32 GetMonth() const;
	int32 GetDay() const;
	void GetDate(int32& OutYear, int32& OutMonth, int32& OutDay) const;
	int32 GetDayOfYear() const;
	EDayOfWeek GetDayOfWeek() const;
	int32 GetHour() const { return int32((Ticks / ETimespan::TicksPerHour) % 24); }
	int32 GetHour12() const;
	bool IsMorning() const { return GetHour() < 12; }
	int32 GetMinute() const { return int32((Ticks / ETimespan::TicksPerMinute) % 60); }
	int32 GetSecond() const { return int32((Ticks / ETimespan::TicksPerSecond) % 60); }
	int32 GetMillisecond() const { return int32((Ticks / ETimespan::TicksPerMillisecond) % 1000); }
	FDateTime GetDate() const { return FDateTime(Ticks - Ticks % ETimespan::TicksPerDay); }
	FTimespan GetTimeOfDay() const { return FTimespan(Ticks % ETimespan::TicksPerDay); }
	int64 ToUnixTimestamp() const;

	// "yyyy.mm.dd-hh.mm.ss", the engine's default format "%Y.%m.%d-%H.%M.%S".
	FString ToString() const;
	// Codes: %a %A weekday, %b %B month name, %d %e day, %D day of year, %H %h 24/12-hour, %M minute, %S second,
	// %s millisecond, %m month, %y %Y year, %p %P AM/am; any other character after '%' is copied.
	FString ToString(const TCHAR* Format) const;
	// "yyyy-mm-ddThh:mm:ss.sssZ".
	FString ToIso8601() const;
	// Reads what ToString() writes, "yyyy.mm.dd-hh.mm.ss", optionally followed by ":mmm" milliseconds; the fields may
	// be separated by '.', '-', ':' or ' '. Leaves Out unchanged and returns false for text that is not a valid date.
	static bool Parse(const FString& DateTimeString, FDateTime& OutDateTime);

	FDateTime operator+(const FTimespan& Span) const { return FDateTime((FTimespan(Ticks) + Span).GetTicks()); }
	FDateTime operator-(const FTimespan& Span) const { return FDateTime((FTimespan(Ticks) - Span).GetTicks()); }
	FTimespan operator-(const FDateTime& Other) const { return FTimespan(Ticks) - FTimespan(Other.Ticks); }
	FDateTime& operator+=(const FTimespan& Span) { return *this = *this + Span; }
	FDateTime& operator-=(const FTimespan& Span) { return *this = *this - Span; }

	constexpr bool operator==(const FDateTime& Other) const { return Ticks == Other.Ticks; }
	constexpr bool operator!=(const FDateTime& Other) const { return Ticks != Other.Ticks; }
	constexpr bool operator<(const FDateTime& Other) const { return Ticks < Other.Ticks; }
	constexpr bool operator<=(const FDateTime& Other) const { return Ticks <= Other.Ticks; }
	constexpr bool operator>(const FDateTime& Other) const { return Ticks > Other.Ticks; }
	constexpr bool operator>=(const FDateTime& Other) const { return Ticks >= Other.Ticks; }

private:
	int64 Ticks = 0;
};

inline uint32 GetTypeHash(const FDateTime& DateTime)
{
	return GetTypeHash(DateTime.GetTicks());
}
