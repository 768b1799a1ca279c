#include "Engine/Engine.h"
#include "HAL/FileManager.h"
#include "Headless/HeadlessPainter.h"
#include "Misc/FileHelper.h"
#include "UMGTestFixture.h"

namespace
{
// The brightest pixel inside the widget's box, by the sum of its channels.
FColor BrightestIn(const FHeadlessPainter& Painter, const UWidget* Widget)
{
	const FGeometry& Geometry = Widget->GetCachedGeometry();
	FColor Best(0, 0, 0, 0);
	for (int32 Y = int32(Geometry.GetAbsolutePosition().Y);
	     Y < int32(Geometry.GetAbsolutePosition().Y + Geometry.GetLocalSize().Y); ++Y)
	{
		for (int32 X = int32(Geometry.GetAbsolutePosition().X);
		     X < int32(Geometry.GetAbsolutePosition().X + Geometry.GetLocalSize().X); ++X)
		{
			const FColor Pixel = Painter.GetPixel(X, Y);
			if (Pixel.R + Pixel.G + Pixel.B > Best.R + Best.G + Best.B)
			{
				Best = Pixel;
			}
		}
	}
	return Best;
}
} // namespace

using HeadlessViewport = FUMGTest;

TEST_F(HeadlessViewport, PaintsBoxesImagesAndTextWhereTheyAreLaidOut)
{
	UTestFormWidget* Form = ShowForm();
	FHeadlessPainter Painter(640, 480);
	FHeadlessViewport::Get().Paint(Painter);

	EXPECT_EQ(Painter.GetPixel(200, 280), FColor(0x20, 0x20, 0x20)) << "the backdrop";
	EXPECT_EQ(Painter.GetPixel(500, 400), FColor(0, 0, 0)) << "nothing is drawn outside the form";
	EXPECT_EQ(Painter.GetPixel(310, 20), FColor(255, 0, 0)) << "the swatch image in its colour";
	EXPECT_EQ(Painter.GetPixel(12, 62), FColor(0, 255, 0)) << "the button's corner, clear of its label";
	EXPECT_EQ(BrightestIn(Painter, Form->Title), FColor(255, 255, 255)) << "the title's glyphs";
	EXPECT_EQ(Painter.GetPixel(int32(Form->Title->GetCachedGeometry().GetAbsolutePosition().X), 55),
	          FColor(0x20, 0x20, 0x20))
	    << "below the title's line there is no text";
}

TEST_F(HeadlessViewport, HiddenAndTransparentWidgetsAreNotDrawnAndTextFadesWithOpacity)
{
	UTestFormWidget* Form = ShowForm();
	Form->Swatch->SetVisibility(ESlateVisibility::Hidden);
	Form->OkButton->SetRenderOpacity(0.0f);
	Form->Title->SetColorAndOpacity(FSlateColor(FLinearColor(1.0f, 1.0f, 1.0f, 0.5f)));
	App.Tick(Frame);
	FHeadlessPainter Painter(640, 480);
	FHeadlessViewport::Get().Paint(Painter);

	EXPECT_EQ(Painter.GetPixel(310, 20), FColor(0x20, 0x20, 0x20));
	EXPECT_EQ(Painter.GetPixel(12, 62), FColor(0x20, 0x20, 0x20));
	const FColor Brightest = BrightestIn(Painter, Form->Title);
	EXPECT_GT(Brightest.R, 0x70);
	EXPECT_LT(Brightest.R, 0xA0) << "half opacity blends halfway into the backdrop";
}

TEST_F(HeadlessViewport, OnScreenMessagesAreDrawnOnTopAndTheScreenIsWrittenAsPng)
{
	ShowForm();
	GEngine->AddOnScreenDebugMessage(-1, 10.0f, FColor::Red, TEXT("MediaPlayer=NULL"));
	FHeadlessPainter Painter(640, 480);
	FHeadlessViewport::Get().Paint(Painter);
	bool bRedText = false;
	for (int32 Y = 8; Y < 30 && !bRedText; ++Y)
	{
		for (int32 X = 8; X < 200 && !bRedText; ++X)
		{
			const FColor Pixel = Painter.GetPixel(X, Y);
			bRedText = Pixel.R > 180 && Pixel.G < 60;
		}
	}
	EXPECT_TRUE(bRedText);

	const FString Path = FString(UTF8_TO_TCHAR(::testing::TempDir().c_str())) + TEXT("UMGTests/Screen.png");
	IFileManager::Get().Delete(*Path);
	ASSERT_TRUE(FHeadlessViewport::Get().PaintToPng(Path));
	TArray<uint8> Bytes;
	ASSERT_TRUE(FFileHelper::LoadFileToArray(Bytes, *Path));
	ASSERT_GT(Bytes.Num(), 8);
	EXPECT_EQ(Bytes[1], 'P');
	EXPECT_EQ(Bytes[2], 'N');
	EXPECT_EQ(Bytes[3], 'G');
	EXPECT_FALSE(FHeadlessViewport::Get().PaintToPng(TEXT("/proc/no/such/dir/Screen.png")));
}

TEST(HeadlessPainter, DrawsTheFontOutlineAroundEveryGlyphUnderItsFill)
{
	FSlateFontInfo Font(FName(TEXT("Regular")), 24.0f);
	const FLinearColor Dark(0.01f, 0.01f, 0.01f, 1.0f);
	FHeadlessPainter Plain(120, 60);
	Plain.DrawText(TEXT("Hi"), Font, FVector2D(10.0, 10.0), Dark);
	Font.OutlineSettings = FFontOutlineSettings(2, FLinearColor::White);
	FHeadlessPainter Outlined(120, 60);
	Outlined.DrawText(TEXT("Hi"), Font, FVector2D(10.0, 10.0), Dark);

	int32 BrightPlain = 0;
	int32 BrightOutlined = 0;
	int32 DarkFillKept = 0;
	for (int32 Y = 0; Y < 60; ++Y)
	{
		for (int32 X = 0; X < 120; ++X)
		{
			BrightPlain += Plain.GetPixel(X, Y).R > 200 ? 1 : 0;
			BrightOutlined += Outlined.GetPixel(X, Y).R > 200 ? 1 : 0;
			// Where the glyph fully covers the pixel, its fill lies over the outline.
			const FColor Filled = Plain.GetPixel(X, Y);
			DarkFillKept += Filled.A == 255 && Filled.R > 0 && Filled.R < 40 && Outlined.GetPixel(X, Y).R < 40 ? 1 : 0;
		}
	}
	EXPECT_EQ(BrightPlain, 0);
	EXPECT_GT(BrightOutlined, 100) << "a white ring around the dark letters";
	EXPECT_GT(DarkFillKept, 20);
}

TEST_F(HeadlessViewport, ARenderTransformTurnsAndScalesWhatIsDrawnAboutItsPivot)
{
	UTestFormWidget* Form = ShowForm();
	const FVector2D TopLeft = Form->Swatch->GetCachedGeometry().GetAbsolutePosition();
	const FVector2D Size = Form->Swatch->GetCachedGeometry().GetLocalSize();
	FWidgetTransform Transform;
	Transform.Angle = 90.0f;
	Transform.Scale = FVector2D(0.5, 1.0);
	Form->Swatch->SetRenderTransformPivot(FVector2D::ZeroVector);
	Form->Swatch->SetRenderTransform(Transform);
	App.Tick(Frame);
	FHeadlessPainter Painter(640, 480);
	FHeadlessViewport::Get().Paint(Painter);

	// Halved across, then a quarter turn clockwise about the top-left corner: the point a quarter down and a
	// quarter across lands a quarter of the height to the left and an eighth of the width down.
	const FVector2D Turned = TopLeft + FVector2D(-0.25 * Size.Y, 0.125 * Size.X);
	EXPECT_EQ(Painter.GetPixel(int32(Turned.X), int32(Turned.Y)), FColor(255, 0, 0));
	const FVector2D Before = TopLeft + Size * 0.75;
	EXPECT_EQ(Painter.GetPixel(int32(Before.X), int32(Before.Y)), FColor(0x20, 0x20, 0x20)) << "moved away";
	EXPECT_EQ(Form->Swatch->GetCachedGeometry().GetAbsolutePosition(), TopLeft) << "layout is unchanged";
}
