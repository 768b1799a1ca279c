#pragma once

#include "Logging/LogVerbosity.h"
#include "UObject/NameTypes.h"

// Receives every log line that passes its category's verbosity.
class CORE_API FOutputDevice
{
public:
	virtual ~FOutputDevice() = default;
	virtual void Serialize(const TCHAR* Message, ELogVerbosity::Type Verbosity, const FName& Category) = 0;
};

// The engine's log: fans lines out to its output devices. Standard error is one of them unless suppressed.
class CORE_API FOutputDeviceRedirector
{
public:
	static FOutputDeviceRedirector* Get();
	void AddOutputDevice(FOutputDevice* Device);
	void RemoveOutputDevice(FOutputDevice* Device);
	void Log(const FName& Category, ELogVerbosity::Type Verbosity, const FString& Message);
	// Standard error output is on by default; tests that capture lines may switch it off.
	void SetStandardErrorEnabled(bool bEnabled) { bStandardError = bEnabled; }

private:
	TArray<FOutputDevice*> Devices;
	bool bStandardError = true;
};

#define GLog (FOutputDeviceRedirector::Get())
