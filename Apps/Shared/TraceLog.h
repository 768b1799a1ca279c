#pragma once

#include "CoreMinimal.h"
#include "Misc/OutputDevice.h"

class FCommentTrace;

// While it lives, the modules' log lines go to the trace as "log" lines instead of the console, so that progress
// and the summary stay readable; warnings and errors are still printed, named after the program.
class FTraceLog : public FOutputDevice
{
public:
	explicit FTraceLog(FCommentTrace& InTrace);
	~FTraceLog() override;

	void Serialize(const TCHAR* Message, ELogVerbosity::Type Verbosity, const FName& Category) override;

private:
	FCommentTrace& Trace;
};
