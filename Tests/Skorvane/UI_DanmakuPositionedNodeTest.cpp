#include "UI_DanmakuPositionedNode.h"

#include "Components/TextBlock.h"
#include "DanmakuTestStage.h"

#include <gtest/gtest.h>

namespace
{
struct FReports
{
	TArray<FDanmakuPlacement> Placed;
	TArray<TPair<FString, EDanmakuNotShownReason>> NotShown;

	explicit FReports(UDanmakuTrackManager* Manager)
	{
		Manager->OnDanmakuPlaced.AddLambda([this](const FDanmakuPlacement& Placement) { Placed.Add(Placement); });
		Manager->OnDanmakuNotShown.AddLambda(
		    [this](const FDanmakuData& Data, EDanmakuNotShownReason Reason) {
			    NotShown.Add({Data.Content, Reason});
		    });
	}
};
} // namespace

// Where the payload puts it on the stage, fitted into the 16:9 canvas; moving, fading and turned as it says;
// held by a pause and taken off by Empty like any comment, but on no lane.
TEST(DanmakuPositionedNode, ShowsThePayloadWhereAndHowItSaysOnTheFittedStage)
{
	FDanmakuStage Stage;
	FReports Reports(Stage.Manager());
	double Scale = 0.0;
	FVector2D Offset;
	FDanmakuPositionedComment::FitStage(FVector2D(1920.0, 1080.0), Scale, Offset);

	FDanmakuData Data = FDanmakuStage::Comment(TEXT("[0.5, 0.5, \"1-0\", 4, \"hello/nworld\", 30, 60, 100, 200, 1000, "
	                                                "1000, false]"),
	                                           EDanmakuMode::POSITIONED, 20, TEXT("#FFCC00"));
	UUI_DanmakuNode* Shown = Stage.Spawn(Data);
	UUI_DanmakuPositionedNode* Node = Cast<UUI_DanmakuPositionedNode>(Shown);
	ASSERT_NE(Node, nullptr);
	ASSERT_EQ(Reports.Placed.Num(), 1);
	EXPECT_EQ(Reports.Placed[0].LaneCount, 0);
	EXPECT_TRUE(Node->GetUseTracks().IsEmpty());

	const FVector2D Start = Offset + FVector2D(336.0, 219.0) * Scale;
	const FVector2D End = Offset + FVector2D(100.0, 200.0) * Scale;
	EXPECT_TRUE(Node->GetPosition().Equals(Start, 1e-6));
	EXPECT_TRUE(Node->GetEndPosition().Equals(End, 1e-6));
	UTextBlock* Text = Cast<UTextBlock>(Node->GetWidgetFromName(TEXT("NodeContentText")));
	ASSERT_NE(Text, nullptr);
	EXPECT_EQ(Text->GetText().ToString(), TEXT("hello\nworld"));
	EXPECT_NEAR(Text->GetFont().Size, 20.0 * Scale, 1e-4) << "sizes scale with the stage";
	EXPECT_EQ(Text->GetFont().OutlineSettings.OutlineSize, 0) << "field 11 turns the outline off";
	EXPECT_EQ(Node->GetRenderTransform().Angle, 30.0f);
	EXPECT_NEAR(Node->GetRenderTransform().Scale.X, 0.5, 1e-6) << "turned 60 degrees about the vertical";
	EXPECT_EQ(Node->GetRenderTransformPivot(), FVector2D::ZeroVector) << "turned about its top-left corner";
	EXPECT_FLOAT_EQ(Text->GetRenderOpacity(), 1.0f);

	Stage.Advance(1.0f, 0.25f);
	EXPECT_TRUE(Node->GetPosition().Equals(Start, 1e-6)) << "still within its delay";
	Stage.Advance(0.5f, 0.25f);
	EXPECT_TRUE(Node->GetPosition().Equals((Start + End) * 0.5, 1e-3)) << "halfway through its move";
	EXPECT_NEAR(Text->GetRenderOpacity(), 1.0f - 1.5f / 4.0f, 1e-4);

	Stage.Manager()->Pause();
	const FVector2D Held = Node->GetPosition();
	Stage.Advance(2.0f, 0.25f);
	EXPECT_EQ(Node->GetPosition(), Held);
	EXPECT_NE(Node->GetParent(), nullptr) << "a paused comment does not age";
	Stage.Manager()->Resume();
	Stage.Advance(2.0f, 0.25f);
	EXPECT_NE(Node->GetParent(), nullptr);
	EXPECT_TRUE(Node->GetPosition().Equals(End, 1e-3));
	Stage.Advance(0.75f, 0.25f);
	EXPECT_EQ(Node->GetParent(), nullptr) << "gone after its four seconds of life";

	// Empty takes a positioned comment off like any other.
	UUI_DanmakuNode* Second =
	    Stage.Spawn(FDanmakuStage::Comment(TEXT("[10, 10, \"1\", 9, \"again\"]"), EDanmakuMode::POSITIONED));
	ASSERT_NE(Second, nullptr);
	Stage.Manager()->Empty();
	EXPECT_EQ(Second->GetParent(), nullptr);
}

TEST(DanmakuPositionedNode, APayloadThatDoesNotReadIsReportedNeverShownAsText)
{
	FDanmakuStage Stage;
	FReports Reports(Stage.Manager());
	EXPECT_EQ(Stage.Spawn(FDanmakuStage::Comment(TEXT("just words"), EDanmakuMode::POSITIONED)), nullptr);
	EXPECT_EQ(Stage.SpawnUser(FDanmakuStage::Comment(TEXT("[1, 2]"), EDanmakuMode::POSITIONED)), nullptr);
	// Its own text, not the payload around it, is what the block list sees.
	TSharedRef<FDanmakuBlockList> BlockList = MakeShared<FDanmakuBlockList>();
	BlockList->AddWord(TEXT("spoiler"));
	Stage.Manager()->SetBlockList(BlockList);
	EXPECT_EQ(
	    Stage.Spawn(FDanmakuStage::Comment(TEXT("[1, 2, \"1\", 3, \"a SPOILER here\"]"), EDanmakuMode::POSITIONED)),
	    nullptr);
	EXPECT_NE(Stage.Spawn(FDanmakuStage::Comment(TEXT("[1, 2, \"1\", 3, \"fine\", 0, 0, \"spoiler\"]"),
	                                             EDanmakuMode::POSITIONED)),
	          nullptr);

	ASSERT_EQ(Reports.NotShown.Num(), 3);
	EXPECT_EQ(Reports.NotShown[0].Value, EDanmakuNotShownReason::BadPositionedPayload);
	EXPECT_EQ(Reports.NotShown[1].Value, EDanmakuNotShownReason::BadPositionedPayload);
	EXPECT_EQ(Reports.NotShown[2].Value, EDanmakuNotShownReason::Blocked);
	EXPECT_EQ(Stage.Nodes().Num(), 1);
}
