#include "Logging/LogMacros.h"

#include <cstdio>
#include <cstdlib>

DEFINE_LOG_CATEGORY(LogTemp)
DEFINE_LOG_CATEGORY(LogCore)

const TCHAR* ToString(ELogVerbosity::Type Verbosity)
{
	switch (Verbosity)
	{
		case ELogVerbosity::Fatal:
			return TEXT("Fatal");
		case ELogVerbosity::Error:
			return TEXT("Error");
		case ELogVerbosity::Warning:
			return TEXT("Warning");
		case ELogVerbosity::Display:
			return TEXT("Display");
		case ELogVerbosity::Log:
			return TEXT("Log");
		case ELogVerbosity::Verbose:
			return TEXT("Verbose");
		case ELogVerbosity::VeryVerbose:
			return TEXT("VeryVerbose");
		default:
			return TEXT("NoLogging");
	}
}

FOutputDeviceRedirector* FOutputDeviceRedirector::Get()
{
	static FOutputDeviceRedirector* Instance = new FOutputDeviceRedirector();
	return Instance;
}

void FOutputDeviceRedirector::AddOutputDevice(FOutputDevice* Device)
{
	Devices.AddUnique(Device);
}

void FOutputDeviceRedirector::RemoveOutputDevice(FOutputDevice* Device)
{
	Devices.Remove(Device);
}

void FOutputDeviceRedirector::Log(const FName& Category, ELogVerbosity::Type Verbosity, const FString& Message)
{
	if (bStandardError)
	{
		// The engine writes "Category: Verbosity: Message", leaving the verbosity out at plain Log level.
		FString Line = Category.ToString() + TEXT(": ");
		if (Verbosity != ELogVerbosity::Log)
		{
			Line += FString(ToString(Verbosity)) + TEXT(": ");
		}
		Line += Message;
		std::fprintf(stderr, "%s\n", TCHAR_TO_UTF8(*Line));
	}
	const TArray<FOutputDevice*> Snapshot = Devices;
	for (FOutputDevice* Device : Snapshot)
	{
		Device->Serialize(*Message, Verbosity, Category);
	}
	if (Verbosity == ELogVerbosity::Fatal)
	{
		std::abort();
	}
}
