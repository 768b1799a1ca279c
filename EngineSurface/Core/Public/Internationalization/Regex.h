#pragma once

#include "CoreMinimal.h"
#include "Misc/EnumClassFlags.h"
#include "Templates/SharedPointer.h"

class FRegexPatternImplementation;
class FRegexMatcherImplementation;

enum class ERegexPatternFlags
{
	None = 0,
	CaseInsensitive = (1 << 0),
};
ENUM_CLASS_FLAGS(ERegexPatternFlags)

// A compiled regular expression in ICU's syntax. As in the engine, a pattern that ICU cannot compile is kept as
// such: it logs ICU's error, and every matcher made from it finds nothing.
class CORE_API FRegexPattern
{
	friend class FRegexMatcher;

public:
	explicit FRegexPattern(const FString& SourceString, ERegexPatternFlags Flags = ERegexPatternFlags::None);

private:
	TSharedRef<FRegexPatternImplementation> Implementation;
};

// Searches one input for the matches of a pattern, in order. Indices are UTF-16 code units of the input; they are
// INDEX_NONE before the first match, after the last one and for a capture group that took part in no match.
class CORE_API FRegexMatcher
{
public:
	FRegexMatcher(const FRegexPattern& SourcePattern, const FString& Input);

	// Moves to the next match; false when there is none.
	bool FindNext();

	int32 GetMatchBeginning();
	int32 GetMatchEnding();

	int32 GetCaptureGroupBeginning(const int32 Index);
	int32 GetCaptureGroupEnding(const int32 Index);
	// Empty for a group that does not exist or did not take part in the match.
	FString GetCaptureGroup(const int32 Index);

private:
	TSharedRef<FRegexMatcherImplementation> Implementation;
};
