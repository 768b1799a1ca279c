#include "UObject/NameTypes.h"

#include "Headless/Utf8String.h"

#include <gtest/gtest.h>

TEST(Name, KeepsATrailingNumberApartSoNumberedNamesShareOneEntry)
{
	const FName First(TEXT("UI_DanmakuNode_12"));
	const FName Second(TEXT("ui_danmakunode_13"));
	EXPECT_EQ(First.GetComparisonIndex(), Second.GetComparisonIndex());
	EXPECT_NE(First, Second);
	EXPECT_EQ(First, FName(TEXT("ui_DANMAKUnode_12"))) << "case is ignored";
	EXPECT_EQ(ToUtf8(Second.ToString()), "UI_DanmakuNode_13") << "the first spelling is kept";
	EXPECT_NE(GetTypeHash(First), GetTypeHash(Second));

	// Only what reads back the same is a number.
	for (const TCHAR* Whole :
	     {TEXT("Node_012"), TEXT("Node_"), TEXT("_5"), TEXT("Node_1234567890"), TEXT("Node_1a"), TEXT("Node_0")})
	{
		EXPECT_EQ(ToUtf8(FName(Whole).ToString()), ToUtf8(Whole));
	}
	EXPECT_EQ(FName(TEXT("Node_0")).GetNumber(), 1);
	EXPECT_EQ(FName(TEXT("Node")).GetNumber(), 0);
	EXPECT_NE(FName(TEXT("Node_0")), FName(TEXT("Node")));
	EXPECT_TRUE(FName(TEXT("None")).IsNone());
	EXPECT_FALSE(FName(TEXT("None_1")).IsNone());
}
