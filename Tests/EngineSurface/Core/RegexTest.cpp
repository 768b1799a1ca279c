#include "Internationalization/Regex.h"
#include "Logging/LogMacros.h"

#include "LogCapture.h"

#include <gtest/gtest.h>


TEST(Regex, FindsEveryMatchInOrderWithItsCaptureGroupsInCodeUnits)
{
	const FRegexPattern Pattern(TEXT("(\\d+)([a-z]*)"));
	FRegexMatcher Matcher(Pattern, FString(TEXT("弹幕 12ab, 345 and 6")));

	ASSERT_TRUE(Matcher.FindNext());
	EXPECT_EQ(Matcher.GetMatchBeginning(), 3);
	EXPECT_EQ(Matcher.GetMatchEnding(), 7);
	EXPECT_EQ(Matcher.GetCaptureGroup(1), TEXT("12"));
	EXPECT_EQ(Matcher.GetCaptureGroup(2), TEXT("ab"));
	ASSERT_TRUE(Matcher.FindNext());
	EXPECT_EQ(Matcher.GetCaptureGroup(0), TEXT("345"));
	EXPECT_EQ(Matcher.GetCaptureGroup(2), TEXT(""));
	ASSERT_TRUE(Matcher.FindNext());
	EXPECT_EQ(Matcher.GetCaptureGroup(1), TEXT("6"));
	EXPECT_FALSE(Matcher.FindNext());
	EXPECT_EQ(Matcher.GetMatchBeginning(), INDEX_NONE);
	EXPECT_EQ(Matcher.GetCaptureGroup(7), TEXT("")) << "a group the pattern does not have";
}

TEST(Regex, CaseInsensitiveFlagFoldsLettersBeyondAscii)
{
	const FRegexPattern Plain(TEXT("ÄRGER"));
	const FRegexPattern Folded(TEXT("ÄRGER"), ERegexPatternFlags::CaseInsensitive);
	EXPECT_FALSE(FRegexMatcher(Plain, FString(TEXT("so ein ärger"))).FindNext());
	EXPECT_TRUE(FRegexMatcher(Folded, FString(TEXT("so ein ärger"))).FindNext());
}

TEST(Regex, PatternIcuCannotCompileLogsAndNeverMatches)
{
	FLogCapture Log;
	const FRegexPattern Broken(TEXT("spam(("));
	ASSERT_EQ(Log.Messages().Num(), 1);
	EXPECT_TRUE(Log.Messages()[0].Contains(TEXT("spam((")));

	FRegexMatcher Matcher(Broken, FString(TEXT("spam((")));
	EXPECT_FALSE(Matcher.FindNext());
	EXPECT_EQ(Matcher.GetMatchBeginning(), INDEX_NONE);
	EXPECT_EQ(Matcher.GetCaptureGroup(0), TEXT(""));
	// An empty alternative matches any input, the empty one too, once the rest compiles: callers use it to ask
	// whether a pattern is usable.
	EXPECT_TRUE(FRegexMatcher(FRegexPattern(TEXT("|a+")), FString()).FindNext());
	EXPECT_FALSE(FRegexMatcher(FRegexPattern(TEXT("|a+(")), FString()).FindNext());
}
