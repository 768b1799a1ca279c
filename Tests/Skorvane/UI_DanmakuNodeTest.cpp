#include "UI_DanmakuNode.h"

#include "Components/TextBlock.h"
#include "DanmakuTestStage.h"

#include <gtest/gtest.h>

namespace
{
// Ticks until the node leaves the canvas; returns the seconds it stayed, or a negative value if it never left.
float TickUntilGone(FDanmakuStage& Stage, UUI_DanmakuNode* Node, float Step, float Limit = 60.0f)
{
	float Elapsed = 0.0f;
	while (Node->GetParent() && Elapsed < Limit)
	{
		Stage.App.Tick(Step);
		Elapsed += Step;
	}
	return Node->GetParent() ? -1.0f : Elapsed;
}
} // namespace

TEST(DanmakuNode, ScrollNodeCrossesTheWholeCanvasAndEndsAsItsRightEdgeReachesTheLeftBorder)
{
	// A reverse node crosses the other way: from just beyond the left border until its left edge reaches the right.
	for (const EDanmakuMode Mode : {EDanmakuMode::SCROLL, EDanmakuMode::REVERSE})
	{
		FDanmakuStage Stage(FVector2D(1920.0, 1080.0), 7);
		FDanmakuDisplayControls Controls;
		Controls.bShowReverse = true;
		Stage.Manager()->SetDisplayControls(Controls);
		const bool bReverse = Mode == EDanmakuMode::REVERSE;
		UUI_DanmakuNode* Node = Stage.Spawn(FDanmakuStage::Comment(TEXT("across, then gone"), Mode));
		ASSERT_NE(Node, nullptr);
		const double Width = Node->GetNodeSize().X;
		EXPECT_DOUBLE_EQ(Node->GetPosition().X, bReverse ? -Width : 1920.0);

		int32 EndedCount = 0;
		Node->OnEnded.AddLambda([&EndedCount](UUI_DanmakuNode*) { ++EndedCount; });
		double LastTrailingEdge = 0.0;
		float Elapsed = 0.0f;
		while (Node->GetParent() && Elapsed < 60.0f)
		{
			LastTrailingEdge = bReverse ? Node->GetPosition().X : Node->GetPosition().X + Width;
			Stage.App.Tick(0.01f);
			Elapsed += 0.01f;
		}
		EXPECT_EQ(EndedCount, 1);
		// On the last frame it was shown its trailing edge was within one frame's travel of the far border.
		EXPECT_NEAR(LastTrailingEdge, bReverse ? 1920.0 : 0.0, Node->GetRollSpeed() * 0.011) << int32(Mode);
		// Its speed is its way across (canvas plus its own width) over its life.
		EXPECT_NEAR(Node->GetRollSpeed() * Elapsed, 1920.0 + Width, Node->GetRollSpeed() * 0.011);
	}
}

TEST(DanmakuNode, LifeIsEitherTheFullOrSeventyPercentTimeFlooredToWholeSeconds)
{
	FDanmakuStage Stage(FVector2D(1920.0, 1080.0), 3);
	TArray<int32> Lives;
	for (int32 Index = 0; Index < 12; ++Index)
	{
		UUI_DanmakuNode* Node = Stage.LooseNode(FDanmakuStage::Comment(TEXT("same text every time")), false);
		const double Way = 1920.0 + Node->GetNodeSize().X;
		const float Life = TickUntilGone(Stage, Node, 0.25f);
		ASSERT_GT(Life, 0.0f);
		// Ticks of 0.25 s land exactly on whole seconds; the node goes on the first tick past its life.
		const int32 WholeSeconds = FMath::RoundToInt(Life - 0.25f);
		EXPECT_TRUE(WholeSeconds == int32(FMath::FloorToDouble(0.0058 * Way)) ||
		            WholeSeconds == int32(FMath::FloorToDouble(0.00406 * Way)))
		    << WholeSeconds << " s for a way of " << Way;
		Lives.AddUnique(WholeSeconds);
	}
	// Both lives turn up among a dozen draws.
	EXPECT_EQ(Lives.Num(), 2);
}

TEST(DanmakuNode, TopAndBottomNodesStandStillUntilTheyDisappear)
{
	FDanmakuStage Stage(FVector2D(1000.0, 600.0), 5);
	for (EDanmakuMode Mode : {EDanmakuMode::TOP, EDanmakuMode::BOTTOM})
	{
		UUI_DanmakuNode* Node = Stage.LooseNode(FDanmakuStage::Comment(TEXT("pinned"), Mode), false);
		Node->SetPosition(FVector2D(300.0, 40.0));
		Stage.App.Tick(0.5f);
		Stage.App.Tick(0.5f);
		EXPECT_EQ(Node->GetPosition(), FVector2D(300.0, 40.0)) << int32(Mode);
		EXPECT_GT(TickUntilGone(Stage, Node, 0.1f), 0.0f) << int32(Mode);
	}
}

TEST(DanmakuNode, TextColourAndSizeComeFromTheRecord)
{
	FDanmakuStage Stage;
	UUI_DanmakuNode* Small =
	    Stage.LooseNode(FDanmakuStage::Comment(TEXT("green"), EDanmakuMode::TOP, 12, TEXT("#00CD00")));
	UUI_DanmakuNode* Large =
	    Stage.LooseNode(FDanmakuStage::Comment(TEXT("green"), EDanmakuMode::TOP, 36, TEXT("#00CD00")));

	UTextBlock* Text = Cast<UTextBlock>(Small->GetWidgetFromName(TEXT("NodeContentText")));
	ASSERT_NE(Text, nullptr);
	EXPECT_EQ(Text->GetText().ToString(), TEXT("green"));
	EXPECT_FLOAT_EQ(Text->GetFont().Size, 12.0f);
	EXPECT_EQ(Text->GetColorAndOpacity().GetSpecifiedColor().ToFColorSRGB(), FColor(0x00, 0xCD, 0x00, 0xFF));
	// The asset's own size does not win: three times the font gives about three times the measured size.
	EXPECT_NEAR(Large->GetNodeSize().X / Small->GetNodeSize().X, 3.0, 0.35);

	// A colour that does not read is shown in the default colour, not as invisible text; a size of 0 or below
	// is the normal size.
	for (const TCHAR* Unreadable : {TEXT(""), TEXT("#12345"), TEXT("red"), TEXT("#GG0000")})
	{
		UUI_DanmakuNode* Node =
		    Stage.LooseNode(FDanmakuStage::Comment(TEXT("default"), EDanmakuMode::TOP, 0, Unreadable));
		const UTextBlock* Shown = Cast<UTextBlock>(Node->GetWidgetFromName(TEXT("NodeContentText")));
		EXPECT_EQ(Shown->GetColorAndOpacity().GetSpecifiedColor().ToFColorSRGB(), FColor::White)
		    << TCHAR_TO_UTF8(Unreadable);
		EXPECT_FLOAT_EQ(Shown->GetFont().Size, 24.0f);
	}
	UUI_DanmakuNode* Negative = Stage.LooseNode(FDanmakuStage::Comment(TEXT("negative"), EDanmakuMode::TOP, -5));
	EXPECT_FLOAT_EQ(Negative->GetShownFontSize(), 24.0f);

	// One pathological comment cannot stall a frame: its text is cut, never inside a surrogate pair.
	const FString Long = FString::ChrN(998, TEXT('x')) + TEXT("\xD83D\xDE00") + FString::ChrN(5000, TEXT('y'));
	UUI_DanmakuNode* Cut = Stage.LooseNode(FDanmakuStage::Comment(Long, EDanmakuMode::TOP));
	EXPECT_TRUE(Cut->IsTextShortened());
	EXPECT_EQ(Cut->GetShownText(), FString::ChrN(998, TEXT('x')) + TEXT("\u2026"));
	EXPECT_EQ(Cut->GetData().Content, Long) << "the record keeps its text";
	EXPECT_FALSE(Small->IsTextShortened());
}

TEST(DanmakuNode, PausedNodeIsShownButKeepsItsPlaceAndTimeUntilResumed)
{
	FDanmakuStage Stage(FVector2D(1000.0, 600.0), 11);
	UUI_DanmakuNode* Node = Stage.LooseNode(FDanmakuStage::Comment(TEXT("waiting")), true);
	Node->SetPosition(FVector2D(500.0, 0.0));
	EXPECT_EQ(Node->GetVisibility(), ESlateVisibility::Visible);

	Stage.Advance(30.0f, 0.5f);
	EXPECT_NE(Node->GetParent(), nullptr);
	EXPECT_EQ(Node->GetPosition().X, 500.0);

	Node->Resume();
	Stage.App.Tick(0.5f);
	EXPECT_NEAR(Node->GetPosition().X, 500.0 - 0.5 * Node->GetRollSpeed(), 1e-3);

	Node->Pause();
	const FVector2D Held = Node->GetPosition();
	Stage.Advance(5.0f, 0.5f);
	EXPECT_EQ(Node->GetPosition(), Held);
}

TEST(DanmakuNode, RemovalFromTheCanvasRaisesCanceledAndTheNormalEndRaisesBoth)
{
	FDanmakuStage Stage(FVector2D(400.0, 300.0), 2);
	UUI_DanmakuNode* Removed = Stage.LooseNode(FDanmakuStage::Comment(TEXT("removed")), false);
	UUI_DanmakuNode* Ending = Stage.LooseNode(FDanmakuStage::Comment(TEXT("ends")), false);
	TArray<FString> Events;
	for (UUI_DanmakuNode* Node : {Removed, Ending})
	{
		Node->OnEnded.AddLambda([&Events](UUI_DanmakuNode* N) { Events.Add(N->GetData().Content + TEXT(" ended")); });
		Node->OnCanceled.AddLambda([&Events](UUI_DanmakuNode* N)
		                           { Events.Add(N->GetData().Content + TEXT(" canceled")); });
	}

	Removed->RemoveFromParent();
	Stage.App.Tick(0.0f);
	EXPECT_EQ(Events, TArray<FString>({TEXT("removed canceled")}));

	Events.Reset();
	ASSERT_GT(TickUntilGone(Stage, Ending, 0.1f), 0.0f);
	Stage.App.Tick(0.0f);
	EXPECT_TRUE(Events.Contains(TEXT("ends ended")));
	EXPECT_TRUE(Events.Contains(TEXT("ends canceled")));
}
