#include "Misc/DateTime.h"

#include <chrono>
#include <ctime>

namespace
{
// Days from 1970-01-01 to the given civil date, valid for any year (H. Hinnant's algorithm).
int64 DaysFromCivil(int64 Year, int64 Month, int64 Day)
{
	Year -= Month <= 2 ? 1 : 0;
	const int64 Era = (Year >= 0 ? Year : Year - 399) / 400;
	const int64 YearOfEra = Year - Era * 400;
	const int64 DayOfYear = (153 * (Month + (Month > 2 ? -3 : 9)) + 2) / 5 + Day - 1;
	const int64 DayOfEra = YearOfEra * 365 + YearOfEra / 4 - YearOfEra / 100 + DayOfYear;
	return Era * 146097 + DayOfEra - 719468;
}

void CivilFromDays(int64 Days, int32& OutYear, int32& OutMonth, int32& OutDay)
{
	Days += 719468;
	const int64 Era = (Days >= 0 ? Days : Days - 146096) / 146097;
	const int64 DayOfEra = Days - Era * 146097;
	const int64 YearOfEra = (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
	const int64 DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
	const int64 MonthIndex = (5 * DayOfYear + 2) / 153;
	OutDay = int32(DayOfYear - (153 * MonthIndex + 2) / 5 + 1);
	OutMonth = int32(MonthIndex < 10 ? MonthIndex + 3 : MonthIndex - 9);
	OutYear = int32(YearOfEra + Era * 400 + (OutMonth <= 2 ? 1 : 0));
}

// Days between 0001-01-01 and 1970-01-01.
constexpr int64 UnixEpochDays = 719162;

// Ticks of a date and time already validated.
int64 TicksFromParts(int32 Year, int32 Month, int32 Day, int32 Hour, int32 Minute, int32 Second, int32 Millisecond)
{
	const int64 Days = DaysFromCivil(Year, Month, Day) + UnixEpochDays;
	return Days * ETimespan::TicksPerDay + Hour * ETimespan::TicksPerHour + Minute * ETimespan::TicksPerMinute +
	       Second * ETimespan::TicksPerSecond + Millisecond * ETimespan::TicksPerMillisecond;
}

int64 FloorDiv(int64 Value, int64 Divisor)
{
	const int64 Quotient = Value / Divisor;
	return (Value % Divisor != 0 && Value < 0) ? Quotient - 1 : Quotient;
}

const TCHAR* const ShortMonthNames[] = {TEXT("Jan"), TEXT("Feb"), TEXT("Mar"), TEXT("Apr"), TEXT("May"), TEXT("Jun"),
                                        TEXT("Jul"), TEXT("Aug"), TEXT("Sep"), TEXT("Oct"), TEXT("Nov"), TEXT("Dec")};
const TCHAR* const LongMonthNames[] = {TEXT("January"),   TEXT("February"), TEXT("March"),    TEXT("April"),
                                       TEXT("May"),       TEXT("June"),     TEXT("July"),     TEXT("August"),
                                       TEXT("September"), TEXT("October"),  TEXT("November"), TEXT("December")};
const TCHAR* const ShortDayNames[] = {TEXT("Mon"), TEXT("Tue"), TEXT("Wed"), TEXT("Thu"),
                                      TEXT("Fri"), TEXT("Sat"), TEXT("Sun")};
const TCHAR* const LongDayNames[] = {TEXT("Monday"), TEXT("Tuesday"),  TEXT("Wednesday"), TEXT("Thursday"),
                                     TEXT("Friday"), TEXT("Saturday"), TEXT("Sunday")};
} // namespace

FDateTime::FDateTime(int32 Year, int32 Month, int32 Day, int32 Hour, int32 Minute, int32 Second, int32 Millisecond)
{
	check(Validate(Year, Month, Day, Hour, Minute, Second, Millisecond));
	Ticks = TicksFromParts(Year, Month, Day, Hour, Minute, Second, Millisecond);
}

FDateTime FDateTime::UtcNow()
{
	using FTickDuration = std::chrono::duration<int64, std::ratio<1, 10000000>>;
	const int64 SinceEpoch =
	    std::chrono::duration_cast<FTickDuration>(std::chrono::system_clock::now().time_since_epoch()).count();
	return FDateTime(UnixEpochDays * ETimespan::TicksPerDay + SinceEpoch);
}

FDateTime FDateTime::Now()
{
	const FDateTime Utc = UtcNow();
	const std::time_t Seconds = std::time_t(Utc.ToUnixTimestamp());
	std::tm Local{};
	localtime_r(&Seconds, &Local);
	return Utc + FTimespan(int64(Local.tm_gmtoff) * ETimespan::TicksPerSecond);
}

FDateTime FDateTime::MaxValue()
{
	return FDateTime((DaysFromCivil(10000, 1, 1) + UnixEpochDays) * ETimespan::TicksPerDay - 1);
}

FDateTime FDateTime::FromUnixTimestamp(int64 UnixTime)
{
	return FDateTime(
	    (FTimespan(UnixEpochDays * ETimespan::TicksPerDay) + FTimespan::FromSeconds(double(UnixTime))).GetTicks());
}

bool FDateTime::IsLeapYear(int32 Year)
{
	return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0;
}

int32 FDateTime::DaysInMonth(int32 Year, int32 Month)
{
	static const int32 Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
	check(Month >= 1 && Month <= 12);
	return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

bool FDateTime::Validate(int32 Year, int32 Month, int32 Day, int32 Hour, int32 Minute, int32 Second, int32 Millisecond)
{
	return Year >= 1 && Year <= 9999 && Month >= 1 && Month <= 12 && Day >= 1 && Day <= DaysInMonth(Year, Month) &&
	       Hour >= 0 && Hour <= 23 && Minute >= 0 && Minute <= 59 && Second >= 0 && Second <= 59 && Millisecond >= 0 &&
	       Millisecond <= 999;
}

void FDateTime::GetDate(int32& OutYear, int32& OutMonth, int32& OutDay) const
{
	CivilFromDays(FloorDiv(Ticks, ETimespan::TicksPerDay) - UnixEpochDays, OutYear, OutMonth, OutDay);
}

int32 FDateTime::GetYear() const
{
	int32 Year, Month, Day;
	GetDate(Year, Month, Day);
	return Year;
}

int32 FDateTime::GetMonth() const
{
	int32 Year, Month, Day;
	GetDate(Year, Month, Day);
	return Month;
}

int32 FDateTime::GetDay() const
{
	int32 Year, Month, Day;
	GetDate(Year, Month, Day);
	return Day;
}

int32 FDateTime::GetDayOfYear() const
{
	int32 Year, Month, Day;
	GetDate(Year, Month, Day);
	return int32(DaysFromCivil(Year, Month, Day) - DaysFromCivil(Year, 1, 1)) + 1;
}

EDayOfWeek FDateTime::GetDayOfWeek() const
{
	// 0001-01-01 was a Monday.
	const int64 Days = FloorDiv(Ticks, ETimespan::TicksPerDay);
	return EDayOfWeek(((Days % 7) + 7) % 7);
}

int32 FDateTime::GetHour12() const
{
	const int32 Hour = GetHour() % 12;
	return Hour == 0 ? 12 : Hour;
}

int64 FDateTime::ToUnixTimestamp() const
{
	return FloorDiv(Ticks - UnixEpochDays * ETimespan::TicksPerDay, ETimespan::TicksPerSecond);
}

FString FDateTime::ToString() const
{
	return ToString(TEXT("%Y.%m.%d-%H.%M.%S"));
}

FString FDateTime::ToString(const TCHAR* Format) const
{
	int32 Year, Month, Day;
	GetDate(Year, Month, Day);
	const int32 WeekDay = int32(GetDayOfWeek());
	FString Result;
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
			case u'a':
				Result += ShortDayNames[WeekDay];
				break;
			case u'A':
				Result += LongDayNames[WeekDay];
				break;
			case u'b':
				Result += ShortMonthNames[Month - 1];
				break;
			case u'B':
				Result += LongMonthNames[Month - 1];
				break;
			case u'd':
				Result += FString::Printf(TEXT("%02d"), Day);
				break;
			case u'e':
				Result += FString::Printf(TEXT("%d"), Day);
				break;
			case u'D':
				Result += FString::Printf(TEXT("%03d"), GetDayOfYear());
				break;
			case u'm':
				Result += FString::Printf(TEXT("%02d"), Month);
				break;
			case u'y':
				Result += FString::Printf(TEXT("%02d"), Year % 100);
				break;
			case u'Y':
				Result += FString::Printf(TEXT("%04d"), Year);
				break;
			case u'H':
				Result += FString::Printf(TEXT("%02d"), GetHour());
				break;
			case u'h':
				Result += FString::Printf(TEXT("%02d"), GetHour12());
				break;
			case u'M':
				Result += FString::Printf(TEXT("%02d"), GetMinute());
				break;
			case u'S':
				Result += FString::Printf(TEXT("%02d"), GetSecond());
				break;
			case u's':
				Result += FString::Printf(TEXT("%03d"), GetMillisecond());
				break;
			case u'p':
				Result += IsMorning() ? TEXT("AM") : TEXT("PM");
				break;
			case u'P':
				Result += IsMorning() ? TEXT("am") : TEXT("pm");
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

FString FDateTime::ToIso8601() const
{
	return ToString(TEXT("%Y-%m-%dT%H:%M:%S.%sZ"));
}

bool FDateTime::Parse(const FString& DateTimeString, FDateTime& OutDateTime)
{
	// Six or seven runs of at most nine digits, between any runs of '-', ':', '.' and ' '. Read in one pass without
	// building strings, because loaders parse a date per record.
	int32 Fields[7] = {};
	int32 FieldCount = 0;
	const TCHAR* Cursor = *DateTimeString;
	const TCHAR* const End = Cursor + DateTimeString.Len();
	while (Cursor != End)
	{
		uint32 Digit = uint32(*Cursor) - u'0';
		if (Digit > 9)
		{
			if (*Cursor != u'-' && *Cursor != u':' && *Cursor != u'.' && *Cursor != u' ')
			{
				return false;
			}
			++Cursor;
			continue;
		}
		if (FieldCount == 7)
		{
			return false;
		}
		const TCHAR* const RunStart = Cursor;
		int32 Value = 0;
		do
		{
			if (Cursor - RunStart == 9)
			{
				return false;
			}
			Value = Value * 10 + int32(Digit);
			++Cursor;
		} while (Cursor != End && (Digit = uint32(*Cursor) - u'0') <= 9);
		Fields[FieldCount++] = Value;
	}
	if (FieldCount < 6)
	{
		return false;
	}
	if (!Validate(Fields[0], Fields[1], Fields[2], Fields[3], Fields[4], Fields[5], Fields[6]))
	{
		return false;
	}
	OutDateTime =
	    FDateTime(TicksFromParts(Fields[0], Fields[1], Fields[2], Fields[3], Fields[4], Fields[5], Fields[6]));
	return true;
}
