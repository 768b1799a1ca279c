#include "Internationalization/Regex.h"

#include "Logging/LogMacros.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>
#include <unicode/utypes.h>

#include <memory>

namespace
{
icu::UnicodeString ToIcu(const FString& Text)
{
	return icu::UnicodeString(reinterpret_cast<const UChar*>(*Text), Text.Len());
}
} // namespace

class FRegexPatternImplementation
{
public:
	// Null when ICU could not compile the source.
	std::unique_ptr<icu::RegexPattern> IcuPattern;
};

class FRegexMatcherImplementation
{
public:
	// Keeps the compiled pattern alive for as long as the matcher uses it.
	TSharedRef<FRegexPatternImplementation> Pattern;
	// ICU reads the input where it lies, so the matcher owns its copy.
	icu::UnicodeString Input;
	std::unique_ptr<icu::RegexMatcher> IcuMatcher;
	bool bHasMatch = false;

	FRegexMatcherImplementation(const TSharedRef<FRegexPatternImplementation>& InPattern, const FString& InInput)
	    : Pattern(InPattern), Input(ToIcu(InInput))
	{
		if (Pattern->IcuPattern)
		{
			UErrorCode Status = U_ZERO_ERROR;
			IcuMatcher.reset(Pattern->IcuPattern->matcher(Input, Status));
			if (U_FAILURE(Status))
			{
				IcuMatcher.reset();
			}
		}
	}
};

FRegexPattern::FRegexPattern(const FString& SourceString, ERegexPatternFlags Flags)
    : Implementation(MakeShared<FRegexPatternImplementation>())
{
	uint32_t IcuFlags = 0;
	if (EnumHasAnyFlags(Flags, ERegexPatternFlags::CaseInsensitive))
	{
		IcuFlags |= UREGEX_CASE_INSENSITIVE;
	}
	UParseError ParseError{};
	UErrorCode Status = U_ZERO_ERROR;
	Implementation->IcuPattern.reset(icu::RegexPattern::compile(ToIcu(SourceString), IcuFlags, ParseError, Status));
	if (U_FAILURE(Status))
	{
		Implementation->IcuPattern.reset();
		UE_LOG(LogCore, Warning, TEXT("Failed to compile regex pattern '%s' (%s at offset %d); it matches nothing"),
		       *SourceString, UTF8_TO_TCHAR(u_errorName(Status)), int32(ParseError.offset));
	}
}

FRegexMatcher::FRegexMatcher(const FRegexPattern& SourcePattern, const FString& Input)
    : Implementation(MakeShared<FRegexMatcherImplementation>(SourcePattern.Implementation, Input))
{
}

bool FRegexMatcher::FindNext()
{
	if (!Implementation->IcuMatcher)
	{
		return false;
	}
	Implementation->bHasMatch = Implementation->IcuMatcher->find() != 0;
	return Implementation->bHasMatch;
}

int32 FRegexMatcher::GetMatchBeginning()
{
	return GetCaptureGroupBeginning(0);
}

int32 FRegexMatcher::GetMatchEnding()
{
	return GetCaptureGroupEnding(0);
}

int32 FRegexMatcher::GetCaptureGroupBeginning(const int32 Index)
{
	if (!Implementation->bHasMatch)
	{
		return INDEX_NONE;
	}
	UErrorCode Status = U_ZERO_ERROR;
	const int32_t Result = Implementation->IcuMatcher->start(Index, Status);
	return U_FAILURE(Status) || Result < 0 ? INDEX_NONE : int32(Result);
}

int32 FRegexMatcher::GetCaptureGroupEnding(const int32 Index)
{
	if (!Implementation->bHasMatch)
	{
		return INDEX_NONE;
	}
	UErrorCode Status = U_ZERO_ERROR;
	const int32_t Result = Implementation->IcuMatcher->end(Index, Status);
	return U_FAILURE(Status) || Result < 0 ? INDEX_NONE : int32(Result);
}

FString FRegexMatcher::GetCaptureGroup(const int32 Index)
{
	const int32 Beginning = GetCaptureGroupBeginning(Index);
	const int32 Ending = GetCaptureGroupEnding(Index);
	if (Beginning == INDEX_NONE || Ending < Beginning)
	{
		return FString();
	}
	return FString::ConstructFromPtrSize(reinterpret_cast<const TCHAR*>(Implementation->Input.getBuffer()) + Beginning,
	                                     Ending - Beginning);
}
