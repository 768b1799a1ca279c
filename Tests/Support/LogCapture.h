#pragma once

#include "CoreMinimal.h"
#include "Misc/OutputDevice.h"

struct FCapturedLine
{
	FString Message;
	ELogVerbosity::Type Verbosity;
	FName Category;
};

// Keeps every log line while it lives, with standard error quiet so that test output stays readable.
class FLogCapture : public FOutputDevice
{
public:
	FLogCapture()
	{
		GLog->AddOutputDevice(this);
		GLog->SetStandardErrorEnabled(false);
	}
	~FLogCapture() override
	{
		GLog->RemoveOutputDevice(this);
		GLog->SetStandardErrorEnabled(true);
	}
	void Serialize(const TCHAR* Message, ELogVerbosity::Type Verbosity, const FName& Category) override
	{
		Lines.Add({Message, Verbosity, Category});
	}

	// The messages of this verbosity or a more severe one, in order.
	TArray<FString> Messages(ELogVerbosity::Type Verbosity = ELogVerbosity::All) const
	{
		TArray<FString> Messages;
		for (const FCapturedLine& Line : Lines)
		{
			if (Line.Verbosity <= Verbosity)
			{
				Messages.Add(Line.Message);
			}
		}
		return Messages;
	}
	TArray<FString> MessagesOf(FName Category) const
	{
		TArray<FString> Messages;
		for (const FCapturedLine& Line : Lines)
		{
			if (Line.Category == Category)
			{
				Messages.Add(Line.Message);
			}
		}
		return Messages;
	}

	TArray<FCapturedLine> Lines;
};
