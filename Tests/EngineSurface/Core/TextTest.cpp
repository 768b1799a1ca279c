#include "Internationalization/Text.h"

#include <gtest/gtest.h>

#define LOCTEXT_NAMESPACE "UUI_DanmakuBar"

TEST(Text, AsNumberGroupsFromFourDigits)
{
	EXPECT_EQ(FText::AsNumber(0).ToString(), TEXT("0"));
	EXPECT_EQ(FText::AsNumber(999).ToString(), TEXT("999"));
	EXPECT_EQ(FText::AsNumber(1234).ToString(), TEXT("1,234"));
	EXPECT_EQ(FText::AsNumber(-1234).ToString(), TEXT("-1,234"));
	EXPECT_EQ(FText::AsNumber(100000).ToString(), TEXT("100,000"));
	EXPECT_EQ(FText::AsNumber(int64(-9223372036854775807LL - 1)).ToString(), TEXT("-9,223,372,036,854,775,808"));
	EXPECT_EQ(FText::AsNumber(uint64(18446744073709551615ULL)).ToString(), TEXT("18,446,744,073,709,551,615"));
}

TEST(Text, AsNumberKeepsAtMostThreeFractionDigits)
{
	EXPECT_EQ(FText::AsNumber(1.5f).ToString(), TEXT("1.5"));
	EXPECT_EQ(FText::AsNumber(2.0).ToString(), TEXT("2"));
	EXPECT_EQ(FText::AsNumber(1.0 / 3.0).ToString(), TEXT("0.333"));
	EXPECT_EQ(FText::AsNumber(0.9996).ToString(), TEXT("1"));
	EXPECT_EQ(FText::AsNumber(-1234.5678).ToString(), TEXT("-1,234.568"));
	EXPECT_EQ(FText::AsNumber(-0.0001).ToString(), TEXT("0"));
}

TEST(Text, FormatSubstitutesOrderedArguments)
{
	const FText Pattern = FText::FromString(TEXT("{0}/{1}"));
	EXPECT_EQ(FText::Format(Pattern, FText::AsNumber(0), FText::AsNumber(100)).ToString(), TEXT("0/100"));
	EXPECT_EQ(FText::Format(Pattern, 1234, 100).ToString(), TEXT("1,234/100"));
	EXPECT_EQ(FText::Format(FText::FromString(TEXT("{1}-{0}-{1}")), FString(TEXT("a")), 2.5).ToString(),
	          TEXT("2.5-a-2.5"));

	FFormatOrderedArguments Arguments;
	Arguments.Add(FText::FromString(TEXT("x")));
	EXPECT_EQ(FText::Format(Pattern, Arguments).ToString(), TEXT("x/{1}"));
}

TEST(Text, FormatLeavesMalformedPlaceholdersAndHonoursEscapes)
{
	EXPECT_EQ(FText::Format(FText::FromString(TEXT("{a} {} {0")), 7).ToString(), TEXT("{a} {} {0"));
	EXPECT_EQ(FText::Format(FText::FromString(TEXT("`{0`} {0} ``")), 7).ToString(), TEXT("{0} 7 `"));
	EXPECT_EQ(FText::Format(FText::FromString(TEXT("{99999999999}")), 7).ToString(), TEXT("{99999999999}"));
}

TEST(Text, LocalisedTextsKeepNamespaceKeyAndSource)
{
	const FText Count = LOCTEXT("TextNum", "{0}/{1}");
	EXPECT_TRUE(Count.IsLocalized());
	EXPECT_EQ(Count.GetNamespace(), TEXT("UUI_DanmakuBar"));
	EXPECT_EQ(Count.GetKey(), TEXT("TextNum"));
	EXPECT_EQ(Count.GetSourceString(), TEXT("{0}/{1}"));
	EXPECT_EQ(Count.ToString(), TEXT("{0}/{1}"));

	const FText Other = NSLOCTEXT("Space", "Key", "Hello");
	EXPECT_EQ(Other.GetNamespace(), TEXT("Space"));
	EXPECT_EQ(Other.ToString(), TEXT("Hello"));
	EXPECT_FALSE(FText::FromString(TEXT("x")).IsLocalized());
}

TEST(Text, EmptinessAndComparison)
{
	EXPECT_TRUE(FText().IsEmpty());
	EXPECT_TRUE(FText::GetEmpty().IsEmpty());
	EXPECT_TRUE(FText::FromString(TEXT(" \t\u3000")).IsEmptyOrWhitespace());
	EXPECT_FALSE(FText::FromString(TEXT(" \t\u3000")).IsEmpty());
	EXPECT_FALSE(FText::FromString(TEXT(" a ")).IsEmptyOrWhitespace());

	const FText Lower = FText::FromString(TEXT("abc"));
	EXPECT_TRUE(Lower.EqualTo(FText::FromString(TEXT("abc"))));
	EXPECT_FALSE(Lower.EqualTo(FText::FromString(TEXT("ABC"))));
	EXPECT_TRUE(Lower.EqualToCaseIgnored(FText::FromString(TEXT("ABC"))));
	EXPECT_EQ(FText::FromName(FName(TEXT("Lane"))).ToString(), TEXT("Lane"));
}

#undef LOCTEXT_NAMESPACE
