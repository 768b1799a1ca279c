#include "Fonts/FontMeasure.h"
#include "LogCapture.h"
#include "UMGTestFixture.h"

namespace
{
FVector2D DesiredSizeOf(UTextBlock* Text, const TCHAR* Content, float FontSize)
{
	Text->SetText(FText::FromString(Content));
	FSlateFontInfo Font = Text->GetFont();
	Font.Size = FontSize;
	Text->SetFont(Font);
	Text->ForceLayoutPrepass();
	return Text->GetDesiredSize();
}

} // namespace

using TextBlock = FUMGTest;

TEST_F(TextBlock, DesiredSizeGrowsWithFontSizeAndTextInLatinAndCJK)
{
	UTextBlock* Text = NewObject<UTextBlock>();
	for (const TCHAR* Short : {TEXT("Hello"), TEXT("弹幕")})
	{
		const FVector2D Small = DesiredSizeOf(Text, Short, 12.0f);
		const FVector2D Large = DesiredSizeOf(Text, Short, 24.0f);
		EXPECT_GT(Small.X, 0.0) << TCHAR_TO_UTF8(Short);
		EXPECT_GT(Large.X, Small.X * 1.7) << TCHAR_TO_UTF8(Short);
		EXPECT_GT(Large.Y, Small.Y * 1.7) << TCHAR_TO_UTF8(Short);
		const FVector2D Longer = DesiredSizeOf(Text, *(FString(Short) + Short), 12.0f);
		EXPECT_NEAR(Longer.X, Small.X * 2.0, 2.0) << TCHAR_TO_UTF8(Short);
		EXPECT_EQ(Longer.Y, Small.Y) << TCHAR_TO_UTF8(Short);
	}
	// The size is kept between layout passes, but never across a change of text, however small.
	const double Capitals = DesiredSizeOf(Text, TEXT("WIDE"), 12.0f).X;
	EXPECT_GT(Capitals, DesiredSizeOf(Text, TEXT("wide"), 12.0f).X);
	Text->Text = FText::FromString(TEXT("WIDE WIDE"));
	Text->ForceLayoutPrepass();
	EXPECT_GT(Text->GetDesiredSize().X, Capitals);
}

TEST_F(TextBlock, CJKCharactersAreMeasuredWithTheFallbackFontAtFullWidth)
{
	UTextBlock* Text = NewObject<UTextBlock>();
	// 24 points at 96 dots per inch are 32 units: a CJK character is about one em wide.
	const double Em = 24.0 * 96.0 / 72.0;
	EXPECT_NEAR(DesiredSizeOf(Text, TEXT("弹"), 24.0f).X, Em, Em * 0.15);
	EXPECT_NEAR(DesiredSizeOf(Text, TEXT("コメント"), 24.0f).X, 4.0 * Em, 4.0 * Em * 0.15);
	EXPECT_LT(DesiredSizeOf(Text, TEXT("i"), 24.0f).X, Em * 0.5);
}

TEST_F(TextBlock, CodePointsNoFontHasAndLoneSurrogatesStillMeasure)
{
	UTextBlock* Text = NewObject<UTextBlock>();
	FString LoneHigh(TEXT("a"));
	LoneHigh.AppendChar(TCHAR(0xD83D)).AppendChar(TEXT('b'));
	FString LoneLow(TEXT("a"));
	LoneLow.AppendChar(TCHAR(0xDE00));
	const FString Emoji = TEXT("ok 😀🦄");
	for (const FString& Content : {LoneHigh, LoneLow, Emoji})
	{
		const FVector2D Size = DesiredSizeOf(Text, *Content, 18.0f);
		EXPECT_GT(Size.X, DesiredSizeOf(Text, TEXT("a"), 18.0f).X);
		EXPECT_GT(Size.Y, 0.0);
	}
	EXPECT_EQ(DesiredSizeOf(Text, TEXT(""), 18.0f).X, 0.0);
	EXPECT_GT(DesiredSizeOf(Text, TEXT(""), 18.0f).Y, 0.0) << "an empty text block is one line tall";
}

TEST_F(TextBlock, MissingFontFileIsReportedOnceAndTextStillMeasures)
{
	FLogCapture Warnings;
	FSlateFontMeasure::SetFontFiles(TEXT("/nonexistent/font.ttf"),
	                                TEXT("/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf"));
	const FSlateFontInfo Font(FName(TEXT("Regular")), 20.0f);
	const FVector2D First = FSlateFontMeasure::Get().Measure(TEXT("Hello 弹幕"), Font);
	const FVector2D Second = FSlateFontMeasure::Get().Measure(TEXT("Hello again"), Font);
	FSlateFontMeasure::SetFontFiles(TEXT("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"),
	                                TEXT("/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf"));
	EXPECT_EQ(Warnings.Messages(ELogVerbosity::Warning).Num(), 1);
	EXPECT_GT(First.X, 0.0);
	EXPECT_GT(Second.X, 0.0);
}
