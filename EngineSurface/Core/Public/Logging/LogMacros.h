#pragma once

#include "Logging/LogVerbosity.h"
#include "Misc/OutputDevice.h"

struct FLogCategoryBase
{
	FLogCategoryBase(const TCHAR* InName, ELogVerbosity::Type InDefaultVerbosity)
	    : Name(InName), Verbosity(InDefaultVerbosity)
	{
	}
	bool IsSuppressed(ELogVerbosity::Type Level) const { return Level > Verbosity; }
	const FName& GetCategoryName() const { return Name; }
	void SetVerbosity(ELogVerbosity::Type NewVerbosity) { Verbosity = NewVerbosity; }

	FName Name;
	ELogVerbosity::Type Verbosity;
};

#define DECLARE_LOG_CATEGORY_EXTERN(CategoryName, DefaultVerbosity, CompileTimeVerbosity)                              \
	extern struct FLogCategory##CategoryName : public FLogCategoryBase                                                 \
	{                                                                                                                  \
		FLogCategory##CategoryName() : FLogCategoryBase(TEXT(#CategoryName), ELogVerbosity::DefaultVerbosity) {}       \
	} CategoryName;

#define DEFINE_LOG_CATEGORY(CategoryName) FLogCategory##CategoryName CategoryName;

#define DEFINE_LOG_CATEGORY_STATIC(CategoryName, DefaultVerbosity, CompileTimeVerbosity)                               \
	static struct FLogCategory##CategoryName : public FLogCategoryBase                                                 \
	{                                                                                                                  \
		FLogCategory##CategoryName() : FLogCategoryBase(TEXT(#CategoryName), ELogVerbosity::DefaultVerbosity) {}       \
	} CategoryName;

#define UE_LOG(CategoryName, Verbosity, Format, ...)                                                                   \
	do                                                                                                                 \
	{                                                                                                                  \
		if (!(CategoryName).IsSuppressed(ELogVerbosity::Verbosity))                                                    \
		{                                                                                                              \
			GLog->Log((CategoryName).GetCategoryName(), ELogVerbosity::Verbosity,                                      \
			          FString::Printf(Format __VA_OPT__(, ) __VA_ARGS__));                                             \
		}                                                                                                              \
	} while (false)

CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogTemp, Log, All)
CORE_API DECLARE_LOG_CATEGORY_EXTERN(LogCore, Log, All)
