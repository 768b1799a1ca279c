#include "DanmakuBlockList.h"

#include <gtest/gtest.h>

TEST(DanmakuBlockList, WordsAreFoundAnywhereInACommentWhateverTheirCase)
{
	FDanmakuBlockList List;
	EXPECT_FALSE(List.IsBlocked(TEXT("anything"))) << "an empty list blocks nothing";
	EXPECT_TRUE(List.AddWord(TEXT("Spoiler")));
	EXPECT_TRUE(List.AddWord(TEXT("剧透")));
	EXPECT_FALSE(List.AddWord(TEXT("SPOILER"))) << "already listed";
	EXPECT_FALSE(List.AddWord(TEXT("")));

	EXPECT_TRUE(List.IsBlocked(TEXT("big SPOILERS ahead")));
	EXPECT_TRUE(List.IsBlocked(TEXT("前方高能剧透！")));
	EXPECT_FALSE(List.IsBlocked(TEXT("spoi ler")));
	EXPECT_FALSE(List.IsBlocked(TEXT("剧")));

	EXPECT_TRUE(List.RemoveWord(TEXT("SPOILER")));
	EXPECT_FALSE(List.IsBlocked(TEXT("big spoilers ahead")));
	EXPECT_TRUE(List.IsBlocked(TEXT("剧透")));

	// Case is ignored in every script, not only for A to Z: Cyrillic, accented and full-width letters.
	for (const TCHAR* Word : {TEXT("СПОЙЛЕР"), TEXT("ÄRGER"), TEXT("ＷＷＷ")})
	{
		EXPECT_TRUE(List.AddWord(Word)) << TCHAR_TO_UTF8(Word);
	}
	EXPECT_TRUE(List.IsBlocked(TEXT("это спойлер")));
	EXPECT_TRUE(List.IsBlocked(TEXT("so ein ärger")));
	EXPECT_TRUE(List.IsBlocked(TEXT("ｗｗｗ笑")));
	EXPECT_FALSE(List.AddWord(TEXT("ärger"))) << "listed already, in the other case";
}

TEST(DanmakuBlockList, OverlappingWordsAreAllFoundInOnePass)
{
	FDanmakuBlockList List;
	for (const TCHAR* Word : {TEXT("hers"), TEXT("she"), TEXT("his"), TEXT("abcd"), TEXT("bc")})
	{
		ASSERT_TRUE(List.AddWord(Word));
	}
	// Each is found only by falling back from a longer partial match.
	EXPECT_TRUE(List.IsBlocked(TEXT("ushe")));
	EXPECT_TRUE(List.IsBlocked(TEXT("abce")));
	EXPECT_TRUE(List.IsBlocked(TEXT("ahishers")));
	EXPECT_FALSE(List.IsBlocked(TEXT("hes ab cd b c")));

	// A list of many words still finds each one, and nothing else.
	FDanmakuBlockList Many;
	for (int32 Index = 0; Index < 1000; ++Index)
	{
		ASSERT_TRUE(Many.AddWord(FString::Printf(TEXT("w%dx"), Index)));
	}
	EXPECT_TRUE(Many.IsBlocked(TEXT("say W999X loud")));
	EXPECT_TRUE(Many.IsBlocked(TEXT("w0x")));
	EXPECT_FALSE(Many.IsBlocked(TEXT("w1000x w99 w")));
}

TEST(DanmakuBlockList, PatternsMatchIgnoringCaseAndBadOnesAreRefusedWithTheReason)
{
	FDanmakuBlockList List;
	FString Error;
	EXPECT_TRUE(List.AddPattern(TEXT("^6{3,}$"), Error));
	EXPECT_TRUE(List.AddPattern(TEXT("buy\\s+cheap"), Error));
	EXPECT_TRUE(List.IsBlocked(TEXT("666666")));
	EXPECT_FALSE(List.IsBlocked(TEXT("666 nice")));
	EXPECT_TRUE(List.IsBlocked(TEXT("BUY   Cheap coins")));

	EXPECT_FALSE(List.AddPattern(TEXT("spam(("), Error));
	EXPECT_TRUE(Error.Contains(TEXT("spam((")));
	EXPECT_TRUE(Error.Contains(TEXT("not a valid regular expression")));
	EXPECT_FALSE(List.AddPattern(TEXT("a)|(?:b"), Error)) << "would only compile when wrapped in a group";
	EXPECT_FALSE(List.AddPattern(TEXT(""), Error));
	// Like the empty pattern, one that matches the empty text would block every comment.
	for (const TCHAR* MatchesAll : {TEXT("spam|"), TEXT("a*"), TEXT("(x)?"), TEXT("^")})
	{
		EXPECT_FALSE(List.AddPattern(MatchesAll, Error)) << TCHAR_TO_UTF8(MatchesAll);
		EXPECT_TRUE(Error.Contains(TEXT("matches the empty text"))) << TCHAR_TO_UTF8(*Error);
	}
	// Patterns whose backtracking can grow exponentially with the comment are refused with the reason.
	for (const TCHAR* Risky : {TEXT("^(a+)+$"), TEXT("(a*)*b"), TEXT("(a|a)*b"), TEXT("(?:x|X)+y"), TEXT("((ab|ac))+"),
	                           TEXT("(x\\d?){2,}z"), TEXT("(?<w>\\w|a)+z"), TEXT("(a|b|)+c")})
	{
		EXPECT_FALSE(List.AddPattern(Risky, Error)) << TCHAR_TO_UTF8(Risky);
		EXPECT_TRUE(Error.Contains(TEXT("repeated group"))) << TCHAR_TO_UTF8(*Error);
	}
	// Repetition that splits a text only one way stays allowed.
	for (const TCHAR* Safe :
	     {TEXT("(foo|bar)+!"), TEXT("(ab){1}c"), TEXT("\\(a+\\)+"), TEXT("[(a+)]+x"), TEXT("(?i)(ha)+")})
	{
		EXPECT_TRUE(List.AddPattern(Safe, Error)) << TCHAR_TO_UTF8(Safe) << ": " << TCHAR_TO_UTF8(*Error);
		EXPECT_TRUE(List.RemovePattern(Safe));
	}
	EXPECT_FALSE(List.AddPattern(TEXT("buy\\s+cheap"), Error));
	EXPECT_EQ(List.GetPatterns().Num(), 2);
	// Only a comment's first characters are searched.
	EXPECT_TRUE(List.IsBlocked(FString::ChrN(FDanmakuBlockList::MaxMatchedLength - 10, TEXT('.')) + TEXT("buy cheap")));
	EXPECT_FALSE(List.IsBlocked(FString::ChrN(FDanmakuBlockList::MaxMatchedLength, TEXT('.')) + TEXT("buy cheap")));
	EXPECT_FALSE(List.IsBlocked(TEXT("spam((")));

	EXPECT_TRUE(List.RemovePattern(TEXT("^6{3,}$")));
	EXPECT_FALSE(List.IsBlocked(TEXT("666666")));
}

TEST(DanmakuBlockList, PatternsThatCannotShareOneSearchKeepTheirOwnMeaning)
{
	FDanmakuBlockList List;
	FString Error;
	ASSERT_TRUE(List.AddPattern(TEXT("(x)y"), Error));
	ASSERT_TRUE(List.AddPattern(TEXT("(ha)\\1"), Error));
	ASSERT_TRUE(List.AddPattern(TEXT("lit\\Q)(\\E"), Error));
	EXPECT_TRUE(List.IsBlocked(TEXT("hahaha")));
	EXPECT_FALSE(List.IsBlocked(TEXT("haxa")));
	EXPECT_TRUE(List.IsBlocked(TEXT("xy")));
	EXPECT_TRUE(List.IsBlocked(TEXT("lit)(")));
	EXPECT_FALSE(List.IsBlocked(TEXT("lit")));

	// The same group name twice compiles alone but not joined; both still work.
	FDanmakuBlockList Named;
	ASSERT_TRUE(Named.AddPattern(TEXT("(?<n>ab)c"), Error));
	ASSERT_TRUE(Named.AddPattern(TEXT("(?<n>de)f"), Error));
	EXPECT_TRUE(Named.IsBlocked(TEXT("xdef")));
	EXPECT_TRUE(Named.IsBlocked(TEXT("abc")));
	EXPECT_FALSE(Named.IsBlocked(TEXT("abdf")));
}
