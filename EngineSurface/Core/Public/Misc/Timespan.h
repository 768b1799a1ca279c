#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"
#include "Templates/TypeHash.h"

namespace ETimespan
{
inline constexpr int64 MaxTicks = 9223372036854775807LL;
inline constexpr int64 MinTicks = -9223372036854775807LL - 1;
inline constexpr int64 NanosecondsPerTick = 100;
inline constexpr int64 TicksPerMicrosecond = 10;
inline constexpr int64 TicksPerMillisecond = 10000;
inline constexpr int64 TicksPerSecond = 10000000;
inline constexpr int64 TicksPerMinute = 600000000;
inline constexpr int64 TicksPerHour = 36000000000;
inline constexpr int64 TicksPerDay = 864000000000;
inline constexpr int64 TicksPerWeek = 6048000000000;
inline constexpr int64 TicksPerYear = 365 * TicksPerDay;
} // namespace ETimespan

// A signed duration in ticks of 100 ns. Arithmetic saturates at the tick range instead of overflowing.
class CORE_API FTimespan
{
public:
	constexpr FTimespan() = default;
	constexpr explicit FTimespan(int64 InTicks) : Ticks(InTicks) {}
	FTimespan(int32 Hours, int32 Minutes, int32 Seconds) { Assign(0, Hours, Minutes, Seconds, 0); }
	FTimespan(int32 Days, int32 Hours, int32 Minutes, int32 Seconds) { Assign(Days, Hours, Minutes, Seconds, 0); }
	FTimespan(int32 Days, int32 Hours, int32 Minutes, int32 Seconds, int32 FractionNano)
	{
		Assign(Days, Hours, Minutes, Seconds, FractionNano);
	}

	// The From* functions round to the nearest tick (halves away from zero); NaN gives zero.
	static FTimespan FromDays(double Days);
	static FTimespan FromHours(double Hours);
	static FTimespan FromMinutes(double Minutes);
	static FTimespan FromSeconds(double Seconds);
	static FTimespan FromMilliseconds(double Milliseconds);
	static FTimespan FromMicroseconds(double Microseconds);
	static constexpr FTimespan Zero() { return FTimespan(0); }
	static constexpr FTimespan MaxValue() { return FTimespan(ETimespan::MaxTicks); }
	static constexpr FTimespan MinValue() { return FTimespan(ETimespan::MinTicks); }

	constexpr int64 GetTicks() const { return Ticks; }
	constexpr bool IsZero() const { return Ticks == 0; }
	// Components truncate towards zero, so a negative span has zero or negative components.
	int32 GetDays() const { return int32(Ticks / ETimespan::TicksPerDay); }
	int32 GetHours() const { return int32((Ticks / ETimespan::TicksPerHour) % 24); }
	int32 GetMinutes() const { return int32((Ticks / ETimespan::TicksPerMinute) % 60); }
	int32 GetSeconds() const { return int32((Ticks / ETimespan::TicksPerSecond) % 60); }
	int32 GetFractionMilli() const
	{
		return int32((Ticks % ETimespan::TicksPerSecond) / ETimespan::TicksPerMillisecond);
	}
	int32 GetFractionMicro() const
	{
		return int32((Ticks % ETimespan::TicksPerSecond) / ETimespan::TicksPerMicrosecond);
	}
	int32 GetFractionNano() const { return int32((Ticks % ETimespan::TicksPerSecond) * ETimespan::NanosecondsPerTick); }
	int32 GetFractionTicks() const { return int32(Ticks % ETimespan::TicksPerSecond); }
	double GetTotalDays() const { return double(Ticks) / double(ETimespan::TicksPerDay); }
	double GetTotalHours() const { return double(Ticks) / double(ETimespan::TicksPerHour); }
	double GetTotalMinutes() const { return double(Ticks) / double(ETimespan::TicksPerMinute); }
	double GetTotalSeconds() const { return double(Ticks) / double(ETimespan::TicksPerSecond); }
	double GetTotalMilliseconds() const { return double(Ticks) / double(ETimespan::TicksPerMillisecond); }
	double GetTotalMicroseconds() const { return double(Ticks) / double(ETimespan::TicksPerMicrosecond); }
	FTimespan GetDuration() const;

	// "[+|-][d.]hh:mm:ss.fff": the day part only when there are whole days.
	FString ToString() const;
	// Codes: %d days, %D days in eight digits, %h %m %s two-digit hours, minutes, seconds, %f milliseconds,
	// %u microseconds, %n nanoseconds; %% and any other character after '%' is copied. The sign comes first.
	FString ToString(const TCHAR* Format) const;
	// Reads "[+|-][d.]hh:mm:ss[.fraction]" with hours 0-23, minutes and seconds 0-59, the fraction a decimal
	// part of the second; leaves Out unchanged and returns false for any other text.
	static bool Parse(const FString& TimespanString, FTimespan& OutTimespan);

	FTimespan operator+(const FTimespan& Other) const;
	FTimespan operator-(const FTimespan& Other) const;
	FTimespan operator-() const;
	FTimespan operator*(double Scalar) const;
	FTimespan operator/(double Scalar) const { return *this * (1.0 / Scalar); }
	// The remainder of whole divisions by Other; a zero span gives zero.
	FTimespan operator%(const FTimespan& Other) const;
	friend FTimespan operator*(double Scalar, const FTimespan& Span) { return Span * Scalar; }
	FTimespan& operator+=(const FTimespan& Other) { return *this = *this + Other; }
	FTimespan& operator-=(const FTimespan& Other) { return *this = *this - Other; }
	FTimespan& operator*=(double Scalar) { return *this = *this * Scalar; }
	FTimespan& operator/=(double Scalar) { return *this = *this / Scalar; }

	constexpr bool operator==(const FTimespan& Other) const { return Ticks == Other.Ticks; }
	constexpr bool operator!=(const FTimespan& Other) const { return Ticks != Other.Ticks; }
	constexpr bool operator<(const FTimespan& Other) const { return Ticks < Other.Ticks; }
	constexpr bool operator<=(const FTimespan& Other) const { return Ticks <= Other.Ticks; }
	constexpr bool operator>(const FTimespan& Other) const { return Ticks > Other.Ticks; }
	constexpr bool operator>=(const FTimespan& Other) const { return Ticks >= Other.Ticks; }

	// Ticks of a tick count given as a double, rounded and clamped to the tick range; NaN gives 0.
	static int64 ClampTicks(double Value);

private:
	void Assign(int32 Days, int32 Hours, int32 Minutes, int32 Seconds, int32 FractionNano);

	int64 Ticks = 0;
};

inline uint32 GetTypeHash(const FTimespan& Span)
{
	return GetTypeHash(Span.GetTicks());
}
