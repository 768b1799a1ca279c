#include "Math/Color.h"

#include <gtest/gtest.h>

TEST(Color, FromHexReadsEveryAcceptedForm)
{
	EXPECT_EQ(FColor::FromHex(TEXT("#FE0302")), FColor(254, 3, 2, 255));
	EXPECT_EQ(FColor::FromHex(TEXT("00cd00")), FColor(0, 205, 0, 255));
	EXPECT_EQ(FColor::FromHex(TEXT("FFF")), FColor(255, 255, 255, 255));
	EXPECT_EQ(FColor::FromHex(TEXT("#4266BE80")), FColor(0x42, 0x66, 0xBE, 0x80));
}

TEST(Color, FromHexGivesAllZeroForUnreadableText)
{
	const FColor Zero(0, 0, 0, 0);
	EXPECT_EQ(FColor::FromHex(TEXT("zz")), Zero);
	EXPECT_EQ(FColor::FromHex(TEXT("")), Zero);
	EXPECT_EQ(FColor::FromHex(TEXT("#")), Zero);
	EXPECT_EQ(FColor::FromHex(TEXT("#FE030")), Zero);
	EXPECT_EQ(FColor::FromHex(TEXT("#GE0302")), Zero);
	EXPECT_EQ(FColor::FromHex(TEXT("##FE0302")), Zero);
}

TEST(Color, ToHexWritesUpperCaseRedGreenBlueAlpha)
{
	EXPECT_TRUE(FColor(254, 3, 2).ToHex().Equals(TEXT("FE0302FF")));
	EXPECT_TRUE(FColor(0xab, 0xcd, 0xef, 0x01).ToHex().Equals(TEXT("ABCDEF01")));
	EXPECT_EQ(FColor::FromHex(FColor(1, 2, 3, 4).ToHex()), FColor(1, 2, 3, 4));
}

TEST(Color, SRGBRoundTripKeepsEveryByte)
{
	for (int32 Value = 0; Value < 256; ++Value)
	{
		const FColor Original(uint8(Value), uint8(255 - Value), uint8(Value), uint8(Value));
		EXPECT_EQ(FLinearColor(Original).ToFColorSRGB(), Original) << Value;
		EXPECT_EQ(FLinearColor(Original).ToFColor(true), Original) << Value;
	}
}

TEST(Color, LinearConversionFollowsTheSRGBCurve)
{
	const FLinearColor Linear(FColor(128, 0, 255, 51));
	EXPECT_NEAR(Linear.R, 0.2158605f, 1e-6f);
	EXPECT_EQ(Linear.G, 0.0f);
	EXPECT_EQ(Linear.B, 1.0f);
	EXPECT_NEAR(Linear.A, 0.2f, 1e-6f);
	EXPECT_TRUE(FLinearColor::FromSRGBColor(FColor(128, 0, 255, 51)).Equals(Linear, 0.0f));
}

TEST(Color, PlainConversionQuantisesWithoutCurve)
{
	EXPECT_EQ(FColor(FLinearColor(0.5f, 2.0f, -1.0f, 1.0f)), FColor(128, 255, 0, 255));
	EXPECT_EQ(FLinearColor(0.5f, 0.5f, 0.5f).ToFColor(false), FColor(128, 128, 128));
	EXPECT_EQ(FLinearColor(0.5f, 0.5f, 0.5f).ToFColorSRGB(), FColor(188, 188, 188));
	EXPECT_EQ(FLinearColor(2.0f, -1.0f, 0.0f, 1.0f).ToFColorSRGB(), FColor(255, 0, 0));
}
