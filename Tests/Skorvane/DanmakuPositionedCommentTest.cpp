#include "DanmakuPositionedComment.h"

#include <gtest/gtest.h>

namespace
{
FDanmakuPositionedComment ParseOk(const FString& Payload)
{
	FDanmakuPositionedComment Comment;
	FString Problem;
	EXPECT_TRUE(FDanmakuPositionedComment::Parse(Payload, Comment, &Problem))
	    << TCHAR_TO_UTF8(*Payload) << ": " << TCHAR_TO_UTF8(*Problem);
	return Comment;
}
} // namespace

TEST(DanmakuPositionedComment, ReadsEveryPayloadFormOfTheFormat)
{
	constexpr double W = FDanmakuPositionedComment::StageWidth;
	constexpr double H = FDanmakuPositionedComment::StageHeight;

	// The five required fields: numbers as strings, a fraction and pixels, one opacity for the whole life.
	const FDanmakuPositionedComment Five = ParseOk(TEXT(" [\"0.25\", 120, \"0.8\", \"4.5\", \"a/nb\"] "));
	EXPECT_EQ(Five.Start, FVector2D(0.25 * W, 120.0));
	EXPECT_EQ(Five.End, Five.Start) << "no end position: it stays";
	EXPECT_FLOAT_EQ(Five.AlphaFrom, 0.8f);
	EXPECT_FLOAT_EQ(Five.AlphaTo, 0.8f);
	EXPECT_FLOAT_EQ(Five.Life, 4.5f);
	EXPECT_EQ(Five.Text, TEXT("a\nb"));
	EXPECT_FLOAT_EQ(Five.MoveDuration, 4.5f) << "no move duration: the whole life";
	EXPECT_FLOAT_EQ(Five.MoveDelay, 0.0f);
	EXPECT_TRUE(Five.bOutline);

	// Seven fields: the turns. "1" without a decimal point is one pixel, "1.0" the whole stage.
	const FDanmakuPositionedComment Seven = ParseOk(TEXT("[1, 1.0, \"1-0\", 3, \"turned\", 45, \"-30\"]"));
	EXPECT_EQ(Seven.Start, FVector2D(1.0, H));
	EXPECT_FLOAT_EQ(Seven.AlphaFrom, 1.0f);
	EXPECT_FLOAT_EQ(Seven.AlphaTo, 0.0f);
	EXPECT_FLOAT_EQ(Seven.RotateZ, 45.0f);
	EXPECT_FLOAT_EQ(Seven.RotateY, -30.0f);

	// Eleven fields: the move from its delay over its duration, in milliseconds.
	const FDanmakuPositionedComment Eleven =
	    ParseOk(TEXT("[10, 20, \"0.2-1\", 6, \"moving\", 0, 0, \"0.5\", 400, \"1500\", 250]"));
	EXPECT_EQ(Eleven.End, FVector2D(0.5 * W, 400.0));
	EXPECT_FLOAT_EQ(Eleven.MoveDuration, 1.5f);
	EXPECT_FLOAT_EQ(Eleven.MoveDelay, 0.25f);

	// Fourteen fields and more: the outline in any of its spellings; the font, "linear" and later ones unused.
	for (const TCHAR* Outline : {TEXT("false"), TEXT("0"), TEXT("\"false\""), TEXT("\"0\"")})
	{
		const FDanmakuPositionedComment Plain = ParseOk(FString::Printf(
		    TEXT("[0, 0, \"1-1\", 2, \"plain\", 0, 0, 0, 0, 100, 0, %s, \"SimHei\", 1, {\"x\": [1]}, 9]"), Outline));
		EXPECT_FALSE(Plain.bOutline) << TCHAR_TO_UTF8(Outline);
	}
	EXPECT_TRUE(ParseOk(TEXT("[0, 0, \"1-1\", 2, \"t\", 0, 0, 0, 0, 100, 0, true]")).bOutline);

	// Optional fields that do not read keep their defaults; a number as the text is its text.
	const FDanmakuPositionedComment Lenient = ParseOk(TEXT("[0, 0, 1, 2, 2024, \"\", null, \"x\", [], \"?\"]"));
	EXPECT_EQ(Lenient.Text, TEXT("2024"));
	EXPECT_FLOAT_EQ(Lenient.RotateZ, 0.0f);
	EXPECT_EQ(Lenient.End, Lenient.Start);
	EXPECT_FLOAT_EQ(Lenient.MoveDuration, 2.0f);
}

TEST(DanmakuPositionedComment, RefusesWhatIsNotSuchAnArray)
{
	for (const TCHAR* Bad : {TEXT(""), TEXT("plain comment text"), TEXT("{\"x\": 1}"), TEXT("[0, 0, \"1-1\", 4]"),
	                         TEXT("[0, 0, \"1-1\", 4, \"truncated\""), TEXT("[0, 0, \"1-1\", 4, \"x\"] trailing"),
	                         TEXT("[\"left\", 0, \"1-1\", 4, \"x\"]"), TEXT("[0, 0, \"bright\", 4, \"x\"]"),
	                         TEXT("[0, 0, \"1-1\", 0, \"no life\"]"), TEXT("[0, 0, \"1-1\", \"-2\", \"x\"]"),
	                         TEXT("[0, 0, \"1-1\", 4, null]"), TEXT("[0, 0, \"1-1\", 4, [\"nested\"]]")})
	{
		FDanmakuPositionedComment Comment;
		FString Problem;
		EXPECT_FALSE(FDanmakuPositionedComment::Parse(Bad, Comment, &Problem)) << TCHAR_TO_UTF8(Bad);
		EXPECT_FALSE(Problem.IsEmpty()) << TCHAR_TO_UTF8(Bad);
	}
	// Absurd numbers are held to ordinary ones instead of reaching the layout.
	const FDanmakuPositionedComment Far = ParseOk(TEXT("[1e300, -1e300, \"5--3\", 1e12, \"far\", 1e300]"));
	EXPECT_LE(Far.Start.X, 1.0e5);
	EXPECT_GE(Far.Start.Y, -1.0e5);
	EXPECT_FLOAT_EQ(Far.AlphaFrom, 1.0f);
	EXPECT_FLOAT_EQ(Far.AlphaTo, 0.0f);
	EXPECT_LE(Far.Life, 86400.0f);
	EXPECT_TRUE(FMath::IsFinite(Far.RotateZ));
	EXPECT_GT(ParseOk(TEXT("[0, 0, \"1-0\", 1e-50, \"brief\"]")).Life, 0.0f);
}

TEST(DanmakuPositionedComment, StageFitsTheCanvasWholeAndCentred)
{
	double Scale = 0.0;
	FVector2D Offset;
	// 16:9 is wider than the stage: the height fits, bands left and right.
	FDanmakuPositionedComment::FitStage(FVector2D(1920.0, 1080.0), Scale, Offset);
	EXPECT_NEAR(Scale, 1080.0 / 438.0, 1e-9);
	EXPECT_NEAR(Offset.X, (1920.0 - 672.0 * Scale) / 2.0, 1e-9);
	EXPECT_NEAR(Offset.Y, 0.0, 1e-9);
	// 4:3 is taller: the width fits, bands above and below.
	FDanmakuPositionedComment::FitStage(FVector2D(1024.0, 768.0), Scale, Offset);
	EXPECT_NEAR(Scale, 1024.0 / 672.0, 1e-9);
	EXPECT_NEAR(Offset.X, 0.0, 1e-9);
	EXPECT_NEAR(Offset.Y, (768.0 - 438.0 * Scale) / 2.0, 1e-9);
}

TEST(DanmakuPositionedComment, MovesAfterItsDelayAndFadesOverItsLife)
{
	const FDanmakuPositionedComment Comment =
	    ParseOk(TEXT("[100, 50, \"1-0.2\", 4, \"x\", 0, 0, 300, 250, 2000, 1000]"));
	EXPECT_EQ(Comment.GetPositionAt(0.5f), FVector2D(100.0, 50.0)) << "waits for its delay";
	EXPECT_EQ(Comment.GetPositionAt(2.0f), FVector2D(200.0, 150.0)) << "halfway through the move";
	EXPECT_EQ(Comment.GetPositionAt(3.5f), FVector2D(300.0, 250.0)) << "stays at the end";
	EXPECT_FLOAT_EQ(Comment.GetAlphaAt(0.0f), 1.0f);
	EXPECT_FLOAT_EQ(Comment.GetAlphaAt(2.0f), 0.6f);
	EXPECT_FLOAT_EQ(Comment.GetAlphaAt(4.0f), 0.2f);
}
