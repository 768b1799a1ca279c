#include "DanmakuTrackManager.h"

#include "DanmakuTestStage.h"
#include "Components/TextBlock.h"
#include "DanmakuTrack.h"
#include "UObject/GarbageCollection.h"

#include <gtest/gtest.h>

namespace
{
constexpr double Lane = FDanmakuStage::LaneHeight;

// The smallest font size whose comment spans exactly Lanes lanes.
int32 FontSizeSpanning(FDanmakuStage& Stage, int32 Lanes)
{
	for (int32 Size = 4; Size < 200; ++Size)
	{
		UUI_DanmakuNode* Probe = Stage.LooseNode(FDanmakuStage::Comment(TEXT("probe"), EDanmakuMode::TOP, Size));
		const double Height = Probe->GetNodeSize().Y;
		Probe->RemoveFromParent();
		if (Height > (Lanes - 1) * Lane && Height <= Lanes * Lane)
		{
			return Size;
		}
	}
	return 0;
}

int32 FirstLane(const UUI_DanmakuNode* Node)
{
	return FMath::RoundToInt(Node->GetPosition().Y / Lane);
}

struct FRect
{
	double Left, Top, Right, Bottom;
};

FRect VisibleRect(const UUI_DanmakuNode* Node, const FVector2D& Canvas)
{
	const FVector2D Position = Node->GetPosition();
	const FVector2D Size = Node->GetNodeSize();
	return {FMath::Max(Position.X, 0.0), FMath::Max(Position.Y, 0.0), FMath::Min(Position.X + Size.X, Canvas.X),
	        FMath::Min(Position.Y + Size.Y, Canvas.Y)};
}
} // namespace

TEST(DanmakuTrackManager, LanesFollowTheCanvasHeight)
{
	{
		FDanmakuStage Tall(FVector2D(1920.0, 1080.0));
		EXPECT_EQ(Tall.Manager()->GetTrackNum(), 53);
	}
	FDanmakuStage Short(FVector2D(1280.0, 720.0));
	EXPECT_EQ(Short.Manager()->GetTrackNum(), 35);
}

TEST(DanmakuTrackManager, CommentsArrivingTogetherStackDownwardsFromTheRightBorder)
{
	FDanmakuStage Stage;
	const int32 TwoLaneSize = FontSizeSpanning(Stage, 2);
	ASSERT_GT(TwoLaneSize, 0);

	UUI_DanmakuNode* First = Stage.Spawn(FDanmakuStage::Comment(TEXT("first"), EDanmakuMode::SCROLL, TwoLaneSize));
	UUI_DanmakuNode* Second = Stage.Spawn(FDanmakuStage::Comment(TEXT("second"), EDanmakuMode::SCROLL, TwoLaneSize));
	ASSERT_TRUE(First && Second);
	EXPECT_EQ(First->GetPosition(), FVector2D(1920.0, 0.0));
	EXPECT_EQ(First->GetUseTracks().Num(), 2);
	// The first has not entered yet, so both of its lanes refuse and the second goes right below them.
	EXPECT_DOUBLE_EQ(Second->GetPosition().X, 1920.0);
	EXPECT_NEAR(Second->GetPosition().Y, 2 * Lane, 1e-3);
}

TEST(DanmakuTrackManager, LaneIsReusedOnceItsCommentHasGone)
{
	FDanmakuStage Stage(FVector2D(1920.0, 1080.0), 4);
	UUI_DanmakuNode* First = Stage.Spawn(FDanmakuStage::Comment(TEXT("first")));
	UUI_DanmakuNode* Second = Stage.Spawn(FDanmakuStage::Comment(TEXT("second, a little longer")));
	ASSERT_TRUE(First && Second);
	EXPECT_GT(Second->GetPosition().Y, 0.0);

	while (First->GetParent())
	{
		Stage.App.Tick(0.1f);
	}
	UUI_DanmakuNode* Next = Stage.Spawn(FDanmakuStage::Comment(TEXT("next")));
	ASSERT_NE(Next, nullptr);
	EXPECT_EQ(Next->GetPosition().Y, 0.0);
}

TEST(DanmakuTrackManager, TallCommentIsPlacedWhereEveryLaneItCoversIsFree)
{
	for (EDanmakuMode Mode : {EDanmakuMode::SCROLL, EDanmakuMode::TOP})
	{
		FDanmakuStage Stage;
		const int32 OneLane = FontSizeSpanning(Stage, 1);
		const int32 ThreeLanes = FontSizeSpanning(Stage, 3);
		ASSERT_GT(OneLane, 0);
		ASSERT_GT(ThreeLanes, 0);

		UUI_DanmakuNode* OnLane0 = Stage.Spawn(FDanmakuStage::Comment(TEXT("a"), Mode, OneLane));
		UUI_DanmakuNode* OnLane1 = Stage.Spawn(FDanmakuStage::Comment(TEXT("b"), Mode, OneLane));
		ASSERT_TRUE(OnLane0 && OnLane1);
		ASSERT_EQ(FirstLane(OnLane1), 1);
		OnLane0->RemoveFromParent();

		// Lane 0 is free but lane 1 is not: the tall comment must not be laid across lane 1.
		UUI_DanmakuNode* Tall = Stage.Spawn(FDanmakuStage::Comment(TEXT("tall"), Mode, ThreeLanes));
		ASSERT_NE(Tall, nullptr);
		EXPECT_EQ(FirstLane(Tall), 2) << int32(Mode);
		UUI_DanmakuNode* Small = Stage.Spawn(FDanmakuStage::Comment(TEXT("c"), Mode, OneLane));
		ASSERT_NE(Small, nullptr);
		EXPECT_EQ(FirstLane(Small), 0) << "the free lane above is still used by a comment that fits";
	}
}

TEST(DanmakuTrackManager, TopCommentsAreCentredAndBottomCommentsStackUpFromTheBottomEdge)
{
	FDanmakuStage Stage;
	const int32 TwoLanes = FontSizeSpanning(Stage, 2);
	UUI_DanmakuNode* Top = Stage.Spawn(FDanmakuStage::Comment(TEXT("pinned on top"), EDanmakuMode::TOP, TwoLanes));
	UUI_DanmakuNode* Top2 = Stage.Spawn(FDanmakuStage::Comment(TEXT("and below it"), EDanmakuMode::TOP, TwoLanes));
	ASSERT_TRUE(Top && Top2);
	EXPECT_NEAR(Top->GetPosition().X + Top->GetNodeSize().X * 0.5, 960.0, 1e-3);
	EXPECT_EQ(Top->GetPosition().Y, 0.0);
	EXPECT_NEAR(Top2->GetPosition().Y, 2 * Lane, 1e-3);

	UUI_DanmakuNode* Bottom =
	    Stage.Spawn(FDanmakuStage::Comment(TEXT("at the bottom"), EDanmakuMode::BOTTOM, TwoLanes));
	UUI_DanmakuNode* Bottom2 = Stage.Spawn(FDanmakuStage::Comment(TEXT("above it"), EDanmakuMode::BOTTOM, TwoLanes));
	ASSERT_TRUE(Bottom && Bottom2);
	EXPECT_NEAR(Bottom->GetPosition().X + Bottom->GetNodeSize().X * 0.5, 960.0, 1e-3);
	EXPECT_NEAR(Bottom->GetPosition().Y + Bottom->GetNodeSize().Y, 1080.0, 1e-3);
	EXPECT_NEAR(Bottom2->GetPosition().Y + Bottom2->GetNodeSize().Y, 1080.0 - 2 * Lane, 1e-3);

	// They stand still while they live.
	const FVector2D Held = Bottom->GetPosition();
	Stage.Advance(2.0f, 0.1f);
	EXPECT_EQ(Bottom->GetPosition(), Held);
}

TEST(DanmakuTrackManager, WhenEveryLaneIsBusyIndexCommentsAreDroppedAndTheViewersOwnGoOnARandomLane)
{
	FDanmakuStage Stage(FVector2D(1920.0, 1080.0), 12345);
	const int32 OneLane = FontSizeSpanning(Stage, 1);
	const int32 TwoLanes = FontSizeSpanning(Stage, 2);
	for (int32 Index = 0; Index < 53; ++Index)
	{
		ASSERT_NE(Stage.Spawn(FDanmakuStage::Comment(TEXT("filler"), EDanmakuMode::SCROLL, OneLane)), nullptr);
	}
	const int32 Shown = Stage.Nodes().Num();
	EXPECT_EQ(Stage.Spawn(FDanmakuStage::Comment(TEXT("no room"), EDanmakuMode::SCROLL, OneLane)), nullptr);
	EXPECT_EQ(Stage.Nodes().Num(), Shown) << "a dropped comment leaves nothing behind";

	TArray<int32> Lanes;
	for (int32 Index = 0; Index < 12; ++Index)
	{
		UUI_DanmakuNode* Own = Stage.SpawnUser(FDanmakuStage::Comment(TEXT("mine"), EDanmakuMode::SCROLL, TwoLanes));
		ASSERT_NE(Own, nullptr);
		EXPECT_EQ(Own->GetPosition().X, 1920.0);
		const int32 Start = FirstLane(Own);
		EXPECT_GE(Start, 0);
		EXPECT_LE(Start, 53 - 2);
		Lanes.AddUnique(Start);
	}
	EXPECT_GT(Lanes.Num(), 3) << "the viewer's comments spread over the lanes";
}

TEST(DanmakuTrackManager, CommentsOfAModeWithoutLanesNeverStayOnTheCanvas)
{
	FDanmakuStage Stage;
	EXPECT_EQ(Stage.Spawn(FDanmakuStage::Comment(TEXT("backwards"), EDanmakuMode::REVERSE)), nullptr);
	EXPECT_EQ(Stage.SpawnUser(FDanmakuStage::Comment(TEXT("my backwards"), EDanmakuMode::REVERSE)), nullptr);
	EXPECT_EQ(Stage.SpawnUser(FDanmakuStage::Comment(TEXT("unknown"), static_cast<EDanmakuMode>(42))), nullptr);
	EXPECT_EQ(Stage.Nodes().Num(), 0);
}

TEST(DanmakuTrackManager, PauseHoldsEverythingAndOnlyTheViewersOwnCommentsAppearUntilResume)
{
	FDanmakuStage Stage;
	UUI_DanmakuNode* Running = Stage.Spawn(FDanmakuStage::Comment(TEXT("running")));
	Stage.Advance(1.0f);
	Stage.Manager()->Pause();
	const FVector2D Held = Running->GetPosition();

	EXPECT_EQ(Stage.Spawn(FDanmakuStage::Comment(TEXT("from the index"))), nullptr);
	UUI_DanmakuNode* Own = Stage.SpawnUser(FDanmakuStage::Comment(TEXT("mine")));
	ASSERT_NE(Own, nullptr);
	Stage.Advance(30.0f, 0.5f);
	EXPECT_EQ(Running->GetPosition(), Held);
	EXPECT_EQ(Own->GetPosition().X, 1920.0);
	EXPECT_NE(Running->GetParent(), nullptr) << "a paused comment does not age";

	Stage.Manager()->Resume();
	Stage.Advance(0.5f);
	EXPECT_LT(Running->GetPosition().X, Held.X);
	EXPECT_LT(Own->GetPosition().X, 1920.0);
	EXPECT_NE(Stage.Spawn(FDanmakuStage::Comment(TEXT("from the index"))), nullptr);
}

TEST(DanmakuTrackManager, ShrinkingCanvasDropsTheLowerLanesWithTheirCommentsAtTheNextComment)
{
	FDanmakuStage Stage;
	const int32 OneLane = FontSizeSpanning(Stage, 1);
	TArray<UUI_DanmakuNode*> Filled;
	for (int32 Index = 0; Index < 53; ++Index)
	{
		Filled.Add(Stage.Spawn(FDanmakuStage::Comment(TEXT("filler"), EDanmakuMode::SCROLL, OneLane)));
	}

	Stage.App.SetViewportSize(FVector2D(1920.0, 540.0));
	Stage.App.Tick(0.0f);
	EXPECT_EQ(Stage.Manager()->GetTrackNum(), 53) << "lanes follow lazily, at the next comment";
	Stage.Spawn(FDanmakuStage::Comment(TEXT("after the resize"), EDanmakuMode::SCROLL, OneLane));
	EXPECT_EQ(Stage.Manager()->GetTrackNum(), 26);
	Stage.App.Tick(0.0f);
	for (int32 Index = 0; Index < 53; ++Index)
	{
		EXPECT_EQ(Filled[Index]->GetParent() != nullptr, Index < 26) << "comment on lane " << Index;
	}

	// Bottom lanes shrink from 17 to 8: the ninth one-lane bottom comment finds no room.
	for (int32 Index = 0; Index < 8; ++Index)
	{
		EXPECT_NE(Stage.Spawn(FDanmakuStage::Comment(TEXT("low"), EDanmakuMode::BOTTOM, OneLane)), nullptr);
	}
	EXPECT_EQ(Stage.Spawn(FDanmakuStage::Comment(TEXT("low"), EDanmakuMode::BOTTOM, OneLane)), nullptr);

	Stage.App.SetViewportSize(FVector2D(1920.0, 1080.0));
	Stage.App.Tick(0.0f);
	Stage.Spawn(FDanmakuStage::Comment(TEXT("grown again")));
	EXPECT_EQ(Stage.Manager()->GetTrackNum(), 53);
}

TEST(DanmakuTrackManager, CloseHidesAndClearsAndOpenShowsButStaysPausedUntilToldToResume)
{
	FDanmakuStage Stage;
	Stage.Spawn(FDanmakuStage::Comment(TEXT("one")));
	Stage.Spawn(FDanmakuStage::Comment(TEXT("two"), EDanmakuMode::TOP));
	Stage.Manager()->Close();
	Stage.App.Tick(0.0f);
	EXPECT_EQ(Stage.Canvas()->GetVisibility(), ESlateVisibility::Hidden);
	EXPECT_EQ(Stage.Canvas()->GetChildrenCount(), 0);

	Stage.Manager()->Open(false);
	EXPECT_EQ(Stage.Canvas()->GetVisibility(), ESlateVisibility::SelfHitTestInvisible);
	EXPECT_EQ(Stage.Spawn(FDanmakuStage::Comment(TEXT("still paused"))), nullptr);
	Stage.Manager()->Resume();
	UUI_DanmakuNode* After = Stage.Spawn(FDanmakuStage::Comment(TEXT("running again")));
	ASSERT_NE(After, nullptr);
	EXPECT_EQ(After->GetPosition().Y, 0.0) << "the cleared comments no longer hold their lanes";

	Stage.Manager()->Close();
	Stage.Manager()->Open(true);
	EXPECT_NE(Stage.Spawn(FDanmakuStage::Comment(TEXT("open and resumed"))), nullptr);
}

TEST(DanmakuTrackManager, EmptyClearsEveryCommentButKeepsTheLanes)
{
	FDanmakuStage Stage;
	for (EDanmakuMode Mode : {EDanmakuMode::SCROLL, EDanmakuMode::TOP, EDanmakuMode::BOTTOM})
	{
		Stage.Spawn(FDanmakuStage::Comment(TEXT("x"), Mode));
		Stage.Spawn(FDanmakuStage::Comment(TEXT("y"), Mode));
	}
	Stage.Manager()->Empty();
	Stage.App.Tick(0.0f);
	EXPECT_EQ(Stage.Nodes().Num(), 0);
	EXPECT_EQ(Stage.Manager()->GetTrackNum(), 53);
	EXPECT_EQ(Stage.Spawn(FDanmakuStage::Comment(TEXT("z")))->GetPosition().Y, 0.0);
}

TEST(DanmakuTrackManager, LongRunReusesNodesOnceOffTheCanvasAndEachCommentStartsAfresh)
{
	FDanmakuStage Stage(FVector2D(1280.0, 720.0), 99);
	UDanmakuTrackManager* Manager = Stage.Manager();
	// What a host sees of each placement: its own end listener, which must hear that comment's end only.
	TArray<int32> EndsHeard;
	TArray<UUI_DanmakuNode*> IndexNodes;
	int32 LaneMismatches = 0;
	int32 LightOutlines = 0;
	int32 Translucent = 0;
	Manager->OnDanmakuPlaced.AddLambda(
	    [&](const FDanmakuPlacement& Placement)
	    {
		    UUI_DanmakuNode* Node = Placement.Node;
		    const int32 Index = EndsHeard.Add(0);
		    Node->OnEnded.AddLambda([&EndsHeard, Index](UUI_DanmakuNode*) { ++EndsHeard[Index]; });
		    LaneMismatches += Node->GetUseTracks().Num() != Placement.LaneCount ? 1 : 0;
		    const UTextBlock* Text = Cast<UTextBlock>(Node->GetWidgetFromName(TEXT("NodeContentText")));
		    const bool bDarkText = Node->GetData().FontColor == TEXT("#000000");
		    LightOutlines += !bDarkText && Text->GetFont().OutlineSettings.OutlineColor.GetLuminance() > 0.5f ? 1 : 0;
		    Translucent += Node->GetRenderOpacity() != Manager->GetDisplayControls().Opacity ? 1 : 0;
		    if (!Placement.bUserNode)
		    {
			    IndexNodes.AddUnique(Node);
		    }
	    });

	TArray<TWeakObjectPtr<UUI_DanmakuNode>> UserNodes;
	int32 MostOnCanvas = 0;
	FDanmakuDisplayControls Controls;
	for (int32 Index = 0; Index < 3000; ++Index)
	{
		if (Index % 1000 == 500)
		{
			// Comments placed while the overlay is translucent must not hand their opacity on.
			Controls.Opacity = Controls.Opacity == 1.0f ? 0.5f : 1.0f;
			Manager->SetDisplayControls(Controls);
		}
		const EDanmakuMode Mode = static_cast<EDanmakuMode>(Index % 3);
		// Near-black text gets a light outline; the next comment on the same node must get the asset's again.
		const FDanmakuData Data =
		    FDanmakuStage::Comment(FString::Printf(TEXT("comment %d"), Index), Mode, 12 + Index % 20,
		                           Index % 4 == 0 ? TEXT("#000000") : TEXT("#FFFFFF"));
		if (Index % 10 == 0)
		{
			UserNodes.Add(Stage.SpawnUser(Data));
		}
		else
		{
			Stage.Spawn(Data);
		}
		MostOnCanvas = FMath::Max(MostOnCanvas, Stage.Nodes().Num());
		Stage.App.Tick(0.05f);
	}
	Stage.Advance(20.0f, 0.1f);
	CollectGarbage();

	EXPECT_GT(EndsHeard.Num(), 1000);
	EXPECT_EQ(EndsHeard.FilterByPredicate([](int32 Heard) { return Heard != 1; }).Num(), 0)
	    << "every placement's listener hears its own end exactly once";
	EXPECT_LE(IndexNodes.Num(), MostOnCanvas + 1) << "nodes are as many as the canvas held at once";
	EXPECT_LT(IndexNodes.Num() * 5, EndsHeard.Num());
	EXPECT_EQ(LaneMismatches, 0);
	EXPECT_EQ(LightOutlines, 0);
	EXPECT_EQ(Translucent, 0);
	EXPECT_EQ(Stage.Nodes().Num(), 0);
	// The viewer's own nodes are not kept.
	EXPECT_EQ(
	    UserNodes.FilterByPredicate([](const TWeakObjectPtr<UUI_DanmakuNode>& Node) { return Node.IsValid(); }).Num(),
	    0);

	// A repeat is counted on the node that shows its text, not on the node that showed it before a clear.
	Controls.RepeatMergeSeconds = 3.0f;
	Manager->SetDisplayControls(Controls);
	UUI_DanmakuNode* First = Stage.Spawn(FDanmakuStage::Comment(TEXT("first")));
	Manager->Empty();
	Stage.App.Tick(0.0f);
	UUI_DanmakuNode* Other = Stage.Spawn(FDanmakuStage::Comment(TEXT("other")));
	EXPECT_EQ(Other, First);
	EXPECT_NE(Stage.Spawn(FDanmakuStage::Comment(TEXT("first"))), nullptr);
	EXPECT_EQ(Other->GetShownText(), TEXT("other"));
	EXPECT_EQ(Cast<UTextBlock>(Other->GetWidgetFromName(TEXT("NodeContentText")))->GetText().ToString(), TEXT("other"));
}

TEST(DanmakuTrackManager, SameModeIndexCommentsNeverOverlapOnScreen)
{
	FDanmakuStage Stage(FVector2D(1920.0, 1080.0), 2024);
	FDanmakuDisplayControls Controls;
	Controls.bShowReverse = true;
	Stage.Manager()->SetDisplayControls(Controls);
	const FVector2D Canvas(1920.0, 1080.0);
	const auto Band = [](EDanmakuMode Mode) { return Mode == EDanmakuMode::REVERSE ? EDanmakuMode::SCROLL : Mode; };
	int32 ReversePlaced = 0;
	Stage.Manager()->OnDanmakuPlaced.AddLambda(
	    [&ReversePlaced](const FDanmakuPlacement& Placement)
	    { ReversePlaced += Placement.Node->GetData().Mode == EDanmakuMode::REVERSE ? 1 : 0; });
	const FString Words = TEXT("lorem ipsum dolor sit amet consectetur adipiscing elit sed do eiusmod tempor");

	int32 Spawned = 0;
	int32 WorstFrame = -1;
	double WorstOverlap = 0.0;
	for (int32 Frame = 0; Frame < 6000; ++Frame)
	{
		// About 60 comments a second, in bursts, as a busy video gets them.
		const int32 Arrivals = (Frame % 25 == 0) ? FMath::RandRange(0, 30) : 0;
		for (int32 Index = 0; Index < Arrivals; ++Index)
		{
			const int32 Roll = FMath::RandRange(0, 99);
			const EDanmakuMode Mode = Roll < 55   ? EDanmakuMode::SCROLL
			                          : Roll < 70 ? EDanmakuMode::REVERSE
			                          : Roll < 85 ? EDanmakuMode::TOP
			                                      : EDanmakuMode::BOTTOM;
			const FString Content = Words.Left(FMath::RandRange(1, Words.Len()));
			const FDanmakuData Data = FDanmakuStage::Comment(Content, Mode, FMath::RandRange(10, 40));
			Stage.Spawn(Data);
			++Spawned;
		}
		Stage.App.Tick(0.01f);

		struct FSample
		{
			FRect Rect;
			EDanmakuMode Mode;
		};
		TArray<FSample> Samples;
		for (const UUI_DanmakuNode* Node : Stage.Nodes())
		{
			Samples.Add({VisibleRect(Node, Canvas), Node->GetData().Mode});
		}
		for (int32 A = 0; A < Samples.Num(); ++A)
		{
			for (int32 B = A + 1; B < Samples.Num(); ++B)
			{
				if (Band(Samples[A].Mode) != Band(Samples[B].Mode))
				{
					continue;
				}
				const FRect& RA = Samples[A].Rect;
				const FRect& RB = Samples[B].Rect;
				const double Overlap = FMath::Min(FMath::Min(RA.Right, RB.Right) - FMath::Max(RA.Left, RB.Left),
				                                  FMath::Min(RA.Bottom, RB.Bottom) - FMath::Max(RA.Top, RB.Top));
				if (Overlap > WorstOverlap)
				{
					WorstOverlap = Overlap;
					WorstFrame = Frame;
				}
			}
		}
	}
	EXPECT_GT(Spawned, 2000);
	EXPECT_GT(ReversePlaced, 20);
	EXPECT_LE(WorstOverlap, 1.0) << "at frame " << WorstFrame;
}

TEST(DanmakuTrackManager, ReportsEveryPlacementAndEveryCommentItDidNotShow)
{
	FDanmakuStage Stage(FVector2D(1920.0, 1080.0), 7);
	TArray<FDanmakuPlacement> Placed;
	TArray<TPair<FString, EDanmakuNotShownReason>> NotShown;
	// The measured node of each comment dropped for want of a lane, as the report offers it.
	TArray<FVector2D> DroppedSizes;
	TArray<const UUI_DanmakuNode*> DroppedNodes;
	UDanmakuTrackManager* Manager = Stage.Manager();
	Manager->OnDanmakuPlaced.AddLambda([&Placed](const FDanmakuPlacement& Placement) { Placed.Add(Placement); });
	Manager->OnDanmakuNotShown.AddLambda(
	    [&NotShown, &DroppedSizes, &DroppedNodes, Manager](const FDanmakuData& Data, EDanmakuNotShownReason Reason)
	    {
		    NotShown.Add({Data.Content, Reason});
		    const UUI_DanmakuNode* Node = Manager->GetNodeNotShown();
		    EXPECT_EQ(Node == nullptr, Reason == EDanmakuNotShownReason::Paused);
		    if (Node && Reason == EDanmakuNotShownReason::NoFreeLane)
		    {
			    EXPECT_EQ(Node->GetData().Content, Data.Content);
			    DroppedSizes.Add(Node->GetNodeSize());
			    DroppedNodes.AddUnique(Node);
		    }
	    });
	const int32 OneLane = FontSizeSpanning(Stage, 1);
	const int32 TwoLanes = FontSizeSpanning(Stage, 2);

	UUI_DanmakuNode* Tall = Stage.Spawn(FDanmakuStage::Comment(TEXT("tall"), EDanmakuMode::SCROLL, TwoLanes));
	ASSERT_NE(Tall, nullptr);
	ASSERT_EQ(Placed.Num(), 1);
	EXPECT_EQ(Placed[0].Node, Tall);
	EXPECT_EQ(Placed[0].FirstLane, FirstLane(Tall));
	EXPECT_EQ(Placed[0].LaneCount, Tall->GetUseTracks().Num());
	EXPECT_FALSE(Placed[0].bUserNode);

	Stage.Spawn(FDanmakuStage::Comment(TEXT("backwards"), EDanmakuMode::REVERSE));
	for (int32 Index = 0; Index < 60; ++Index)
	{
		Stage.Spawn(FDanmakuStage::Comment(TEXT("crowd"), EDanmakuMode::TOP, OneLane));
	}
	Stage.Manager()->Pause();
	Stage.Spawn(FDanmakuStage::Comment(TEXT("while paused")));
	Stage.SpawnUser(FDanmakuStage::Comment(TEXT("mine while paused")));

	EXPECT_TRUE(Placed.Last().bUserNode);
	const auto Count = [&NotShown](const FString& Content, EDanmakuNotShownReason Reason)
	{
		return NotShown
		    .FilterByPredicate([&](const TPair<FString, EDanmakuNotShownReason>& Entry)
		                       { return Entry.Key == Content && Entry.Value == Reason; })
		    .Num();
	};
	EXPECT_EQ(Count(TEXT("backwards"), EDanmakuNotShownReason::ModeNeverPlaced), 1);
	EXPECT_EQ(Count(TEXT("crowd"), EDanmakuNotShownReason::NoFreeLane), 60 - 53);
	ASSERT_EQ(DroppedSizes.Num(), 60 - 53);
	EXPECT_GT(DroppedSizes[0].X, 0.0);
	EXPECT_GT(DroppedSizes[0].Y, 0.0);
	EXPECT_EQ(Manager->GetNodeNotShown(), nullptr);
	EXPECT_EQ(Count(TEXT("while paused"), EDanmakuNotShownReason::Paused), 1);
	EXPECT_EQ(Placed.Num() + NotShown.Num(), 1 + 1 + 60 + 2) << "every comment is accounted for exactly once";

	// One node served every comment of the crowd that was measured and dropped; once lanes are free again, it or
	// a node whose comment has gone carries the next comment, in that comment's text, size and the display scale
	// set since.
	ASSERT_EQ(DroppedNodes.Num(), 1);
	Manager->Resume();
	Stage.Advance(15.0f, 0.1f);
	FDanmakuDisplayControls Controls;
	Controls.FontScale = 1.5f;
	Manager->SetDisplayControls(Controls);
	const FDanmakuData Later = FDanmakuStage::Comment(TEXT("later, after the crowd"), EDanmakuMode::SCROLL, OneLane);
	UUI_DanmakuNode* Reused = Stage.Spawn(Later);
	ASSERT_NE(Reused, nullptr);
	EXPECT_TRUE(DroppedNodes.Contains(Reused) || Placed.ContainsByPredicate([Reused](const FDanmakuPlacement& Placement)
	                                                                        { return Placement.Node == Reused; }));
	EXPECT_EQ(Reused->GetShownText(), Later.Content);
	EXPECT_FLOAT_EQ(Reused->GetShownFontSize(), OneLane * 1.5f);
	EXPECT_EQ(Reused->GetPosition().X, 1920.0);
	UUI_DanmakuNode* Fresh = CreateWidget<UUI_DanmakuNode>(Stage.Canvas(), Stage.NodeClass());
	Fresh->SetDisplayScales(1.0f, 1.5f);
	Fresh->Init(Later, Stage.Canvas(), true);
	EXPECT_EQ(Reused->GetNodeSize(), Fresh->GetNodeSize());
}
