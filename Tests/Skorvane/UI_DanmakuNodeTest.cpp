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
	FDanmakuStage Stage(FVector2D(1920.0, 1080.0), 7);
	UUI_DanmakuNode* Node = Stage.Spawn(FDanmakuStage::Comment(TEXT("left to right, then gone")));
	ASSERT_NE(Node, nullptr);
	const double Width = Node->GetNodeSize().X;
	EXPECT_DOUBLE_EQ(Node->GetPosition().X, 1920.0);

	int32 EndedCount = 0;
	Node->OnEnded.AddLambda([&EndedCount](UUI_DanmakuNode*) { ++EndedCount; });
	double LastRightEdge = 0.0;
	float Elapsed = 0.0f;
	while (Node->GetParent() && Elapsed < 60.0f)
	{
		LastRightEdge = Node->GetPosition().X + Width;
		Stage.App.Tick(0.01f);
		Elapsed += 0.01f;
	}
	EXPECT_EQ(EndedCount, 1);
	// On the last frame it was shown its right edge was within one frame's travel of the left border.
	EXPECT_NEAR(LastRightEdge, 0.0, Node->GetRollSpeed() * 0.011);
	// Its speed is its way across (canvas plus its own width) over its life.
	EXPECT_NEAR(Node->GetRollSpeed() * Elapsed, 1920.0 + Width, Node->GetRollSpeed() * 0.011);
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

TEST(DanmakuNode, TopBottomAndReverseNodesStandStillUntilTheyDisappear)
{
	FDanmakuStage Stage(FVector2D(1000.0, 600.0), 5);
	for (EDanmakuMode Mode : {EDanmakuMode::TOP, EDanmakuMode::BOTTOM, EDanmakuMode::REVERSE})
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
