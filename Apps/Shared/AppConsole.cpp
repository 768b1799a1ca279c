#include "AppConsole.h"

#include <cstdio>

namespace
{
FString& ProgramName()
{
	static FString Name = TEXT("Pravella");
	return Name;
}
} // namespace

void FAppConsole::SetProgramName(const FString& Name)
{
	ProgramName() = Name;
}

void FAppConsole::Error(const FString& Message)
{
	std::fprintf(stderr, "%s: %s\n", TCHAR_TO_UTF8(*ProgramName()), TCHAR_TO_UTF8(*Message));
}

void FAppConsole::Warning(const FString& Message)
{
	std::fprintf(stderr, "%s: warning: %s\n", TCHAR_TO_UTF8(*ProgramName()), TCHAR_TO_UTF8(*Message));
}

void FAppConsole::Line(const FString& Message)
{
	std::printf("%s\n", TCHAR_TO_UTF8(*Message));
}

FString FAppConsole::FormatClock(double Seconds)
{
	const int64 Tenths = int64(FMath::Max(Seconds, 0.0) * 10.0);
	return FString::Printf(TEXT("%02lld:%02lld:%02lld.%lld"), Tenths / 36000, (Tenths / 600) % 60, (Tenths / 10) % 60,
	                       Tenths % 10);
}

void FProgressReport::Update(double Done, double Total, TFunctionRef<FString()> Detail)
{
	const int32 Decile = Total > 0.0 ? FMath::Clamp(int32(10.0 * Done / Total), 0, 10) : 10;
	if (Decile != LastDecile)
	{
		LastDecile = Decile;
		std::fprintf(stderr, "[%3d%%] %s\n", Decile * 10, TCHAR_TO_UTF8(*Detail()));
		std::fflush(stderr);
	}
}
