#include "TraceLog.h"

#include "AppConsole.h"
#include "CommentTrace.h"

FTraceLog::FTraceLog(FCommentTrace& InTrace) : Trace(InTrace)
{
	GLog->AddOutputDevice(this);
	GLog->SetStandardErrorEnabled(false);
}

FTraceLog::~FTraceLog()
{
	GLog->SetStandardErrorEnabled(true);
	GLog->RemoveOutputDevice(this);
}

void FTraceLog::Serialize(const TCHAR* Message, ELogVerbosity::Type Verbosity, const FName& Category)
{
	Trace.WriteEvent(TEXT("log"),
	                 FString::Printf(TEXT(",\"category\":%s,\"verbosity\":%s,\"message\":%s"),
	                                 *FCommentTrace::Quote(Category.ToString()),
	                                 *FCommentTrace::Quote(ToString(Verbosity)), *FCommentTrace::Quote(Message)));
	const FString Line = FString::Printf(TEXT("%s: %s"), *Category.ToString(), Message);
	if (Verbosity == ELogVerbosity::Warning)
	{
		FAppConsole::Warning(Line);
	}
	else if (Verbosity <= ELogVerbosity::Error)
	{
		FAppConsole::Error(Line);
	}
}
