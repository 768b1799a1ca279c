#include "Containers/UnrealString.h"
#include "Headless/Utf8String.h"

#include <cfloat>
#include <cstdio>
#include <limits>

#include <gtest/gtest.h>

TEST(String, LengthCountsUtf16CodeUnits)
{
	const FString Emoji(u"a\U0001F600");
	EXPECT_EQ(Emoji.Len(), 3);
}

TEST(String, FindHonoursCaseDirectionAndStart)
{
	const FString Text(TEXT("abcABCabc"));
	EXPECT_EQ(Text.Find(TEXT("ABC")), 0);
	EXPECT_EQ(Text.Find(TEXT("ABC"), ESearchCase::CaseSensitive), 3);
	EXPECT_EQ(Text.Find(TEXT("abc"), ESearchCase::IgnoreCase, ESearchDir::FromEnd), 6);
	EXPECT_EQ(Text.Find(TEXT("abc"), ESearchCase::CaseSensitive, ESearchDir::FromStart, 1), 6);
	EXPECT_EQ(Text.Find(TEXT("abc"), ESearchCase::IgnoreCase, ESearchDir::FromStart, 1), 3);
	// From the end, the start position is where the search stops looking: matches must end before it.
	EXPECT_EQ(Text.Find(TEXT("abc"), ESearchCase::CaseSensitive, ESearchDir::FromEnd, 8), 0);
	EXPECT_EQ(Text.Find(TEXT("abc"), ESearchCase::IgnoreCase, ESearchDir::FromEnd, 6), 3);
	EXPECT_EQ(Text.Find(TEXT("abc"), ESearchCase::IgnoreCase, ESearchDir::FromEnd, 2), INDEX_NONE);
	EXPECT_EQ(Text.Find(TEXT("xyz")), INDEX_NONE);
	EXPECT_EQ(Text.Find(TEXT("abcABCabcd")), INDEX_NONE);
	EXPECT_TRUE(FString(TEXT("https://HOST")).Contains(TEXT("host")));
}

TEST(String, SplitAndRemoveFromEnd)
{
	FString Left;
	FString Right;
	const FString Path(TEXT("/root/Content/Movies/Content/MP_Intro.uasset"));
	ASSERT_TRUE(Path.Split(TEXT("/content/"), &Left, &Right));
	EXPECT_TRUE(Left.Equals(TEXT("/root")));
	EXPECT_TRUE(Right.Equals(TEXT("Movies/Content/MP_Intro.uasset")));
	ASSERT_TRUE(Path.Split(TEXT("/Content/"), &Left, &Right, ESearchCase::CaseSensitive, ESearchDir::FromEnd));
	EXPECT_TRUE(Left.Equals(TEXT("/root/Content/Movies")));
	EXPECT_FALSE(Path.Split(TEXT("/content/"), &Left, &Right, ESearchCase::CaseSensitive));
	EXPECT_TRUE(Left.Equals(TEXT("/root/Content/Movies")));

	FString Name = Right;
	EXPECT_TRUE(Name.RemoveFromEnd(TEXT(".UASSET")));
	EXPECT_TRUE(Name.Equals(TEXT("MP_Intro")));
	EXPECT_FALSE(Name.RemoveFromEnd(TEXT(".uasset")));
	EXPECT_FALSE(Name.RemoveFromEnd(TEXT("intro"), ESearchCase::CaseSensitive));
	EXPECT_FALSE(Name.RemoveFromEnd(FString()));
	EXPECT_TRUE(Name.Equals(TEXT("MP_Intro")));
}

TEST(String, MidClampsOutOfRangeArguments)
{
	const FString Text(TEXT("abcdef"));
	EXPECT_TRUE(Text.Mid(2, 3).Equals(TEXT("cde")));
	EXPECT_TRUE(Text.Mid(4).Equals(TEXT("ef")));
	EXPECT_TRUE(Text.Mid(4, 100).Equals(TEXT("ef")));
	EXPECT_TRUE(Text.Mid(-2, 4).Equals(TEXT("ab")));
	EXPECT_TRUE(Text.Mid(10, 2).IsEmpty());
	EXPECT_TRUE(Text.Mid(2, -1).IsEmpty());
	EXPECT_TRUE(Text.Mid(0x7ffffff0, 0x7fffffff).IsEmpty());
	EXPECT_TRUE(Text.Left(10).Equals(Text));
	EXPECT_TRUE(Text.Right(2).Equals(TEXT("ef")));
	EXPECT_TRUE(Text.LeftChop(10).IsEmpty());
}

TEST(String, PrintfFormatsLikeTheRuntime)
{
	EXPECT_TRUE(FString::Printf(TEXT("%s=%d"), TEXT("Lane"), -3).Equals(TEXT("Lane=-3")));
	EXPECT_TRUE(FString::Printf(TEXT("%lld"), int64(-9000000000LL)).Equals(TEXT("-9000000000")));
	EXPECT_TRUE(
	    FString::Printf(TEXT("%.2f|%5s|%-5s|"), 3.14159, TEXT("ab"), TEXT("cd")).Equals(TEXT("3.14|   ab|cd   |")));
	EXPECT_TRUE(FString::Printf(TEXT("%02d:%02d 100%%"), 5, 7).Equals(TEXT("05:07 100%")));
	EXPECT_TRUE(FString::Printf(TEXT("%s"), u"\u5F39\u5E55").Equals(FString(u"\u5F39\u5E55")));
	EXPECT_TRUE(FString::Printf(TEXT("%d %d"), 1).Equals(TEXT("1 0")));
	// Negative integers in the unsigned conversions keep the width of their type, as with C varargs.
	EXPECT_TRUE(FString::Printf(TEXT("%x %X %u"), int32(-1), int16(-2), int32(-2))
	                .Equals(TEXT("ffffffff FFFFFFFE 4294967294")));
	EXPECT_TRUE(FString::Printf(TEXT("%llx %08X"), int64(-1), 0xBEEFu).Equals(TEXT("ffffffffffffffff 0000BEEF")));
	// Plain "%d" and "%.Nf" write what the C library writes, ties, signs, extremes and non-finite values included.
	for (const double Value : {0.0, -0.0, 0.125, 2.5, -3.5, 1.0 / 3.0, 123456.78905, -1e-9, 1e300, -DBL_MAX,
	                           std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()})
	{
		char Expected[4096];
		std::snprintf(Expected, sizeof(Expected), "%.2f|%.4f|%f|%.0f|%9.2f", Value, Value, Value, Value, Value);
		EXPECT_EQ(ToUtf8(FString::Printf(TEXT("%.2f|%.4f|%f|%.0f|%9.2f"), Value, Value, Value, Value, Value)),
		          Expected);
	}
	EXPECT_TRUE(FString::Printf(TEXT("%3d|%d|%i|%lld"), 7, std::numeric_limits<int32>::min(), 0,
	                            std::numeric_limits<int64>::min())
	                .Equals(TEXT("  7|-2147483648|0|-9223372036854775808")));
}

TEST(String, Utf8RoundTripReplacesLoneSurrogates)
{
	const FString Text(u"a\u00E9\u5F39\U0001F600");
	const std::string Utf8 = ToUtf8(Text);
	EXPECT_EQ(Utf8, "a\xC3\xA9\xE5\xBC\xB9\xF0\x9F\x98\x80");
	EXPECT_TRUE(FromUtf8(Utf8).Equals(Text));
	EXPECT_TRUE(FString("\xF0\x9F\x98\x80").Equals(FString(u"\U0001F600")));

	const TCHAR Lone[] = {u'x', 0xD800, u'y', 0};
	EXPECT_EQ(ToUtf8(FString(Lone)), "x\xEF\xBF\xBDy");
	EXPECT_TRUE(FromUtf8("a\xC3").Equals(FString(u"a\uFFFD")));
	EXPECT_TRUE(FromUtf8("\xC0\xAF").Equals(FString(u"\uFFFD")));
}

TEST(String, EqualityIgnoresCaseButEqualsDoesNot)
{
	const FString Upper(TEXT("HELLO"));
	EXPECT_TRUE(Upper == TEXT("hello"));
	EXPECT_TRUE(Upper == FString(TEXT("Hello")));
	EXPECT_FALSE(Upper.Equals(TEXT("hello")));
	EXPECT_TRUE(Upper.Equals(TEXT("hello"), ESearchCase::IgnoreCase));
	EXPECT_EQ(GetTypeHash(Upper), GetTypeHash(FString(TEXT("hello"))));
	EXPECT_TRUE(FString(TEXT("a")) < FString(TEXT("B")));
}

TEST(String, SanitizeFloatTrimsFixedPointText)
{
	EXPECT_TRUE(FString::SanitizeFloat(1.0).Equals(TEXT("1.0")));
	EXPECT_TRUE(FString::SanitizeFloat(0.1f).Equals(TEXT("0.1")));
	EXPECT_TRUE(FString::SanitizeFloat(2.5, 0).Equals(TEXT("2.5")));
	EXPECT_TRUE(FString::SanitizeFloat(3.0, 0).Equals(TEXT("3")));
	EXPECT_TRUE(FString::SanitizeFloat(1.5, 3).Equals(TEXT("1.500")));
	EXPECT_TRUE(FString::SanitizeFloat(-0.0).Equals(TEXT("0.0")));
	EXPECT_TRUE(FString::SanitizeFloat(1e-7).Equals(TEXT("0.0")));
}

TEST(String, ConvertersKeepEveryCharacterWhereverAWordOfAsciiEnds)
{
	// ASCII is copied a word at a time: a character beyond ASCII, and a malformed byte, at every place in and after
	// the first words must come out whole and in place, both ways.
	for (size_t Offset = 0; Offset < 20; ++Offset)
	{
		const std::string Ascii(Offset, 'a');
		const std::string Utf8 = Ascii + "é中😀" + Ascii + "z";
		const std::u16string Utf16 = std::u16string(Offset, u'a') + u"é中😀" + std::u16string(Offset, u'a') + u"z";
		EXPECT_EQ(UE::String::Utf8ToUtf16(Utf8.data(), Utf8.size()), Utf16) << Offset;
		EXPECT_EQ(UE::String::Utf16ToUtf8(Utf16.data(), Utf16.size()), Utf8) << Offset;
		const std::string Broken = Ascii + "\xFF" + Ascii;
		EXPECT_EQ(UE::String::Utf8ToUtf16(Broken.data(), Broken.size()),
		          std::u16string(Offset, u'a') + u"\uFFFD" + std::u16string(Offset, u'a'))
		    << Offset;
	}
	// Text that needs three bytes a unit, far beyond the room first given for one byte a unit.
	const std::u16string Wide(1000, u'中');
	std::string Expected;
	for (int32 Index = 0; Index < 1000; ++Index)
	{
		Expected += "中";
	}
	EXPECT_EQ(UE::String::Utf16ToUtf8(Wide.data(), Wide.size()), Expected);
}
