#include "DanmakuTrack.h"

#include "DanmakuTestStage.h"

#include <gtest/gtest.h>

namespace
{
// A lane on a 1000-unit-wide canvas, with loose nodes the test places by hand.
struct FLaneStage : FDanmakuStage
{
	FLaneStage() : FDanmakuStage(FVector2D(1000.0, 600.0), 17) { Track = NewObject<UDanmakuTrack>(Manager()); }

	// A scroll node whose speed satisfies Wanted; spawns until one does.
	template <typename PredicateType>
	UUI_DanmakuNode* ScrollNodeWhere(const FString& Content, PredicateType Wanted,
	                                 EDanmakuMode Mode = EDanmakuMode::SCROLL)
	{
		for (int32 Attempt = 0; Attempt < 64; ++Attempt)
		{
			UUI_DanmakuNode* Node = LooseNode(Comment(Content, Mode));
			if (Wanted(Node->GetRollSpeed()))
			{
				return Node;
			}
			Node->RemoveFromParent();
		}
		return nullptr;
	}

	UDanmakuTrack* Track = nullptr;
};

// Whether N, entering at the right border now, would touch L's right edge while L is still on screen, found by
// stepping both along in time.
bool WouldRunInto(double CanvasWidth, double LastX, double LastWidth, double LastSpeed, double NewSpeed)
{
	for (double Time = 0.0; LastX - LastSpeed * Time + LastWidth > 0.0; Time += 0.001)
	{
		if (CanvasWidth - NewSpeed * Time < LastX - LastSpeed * Time + LastWidth)
		{
			return true;
		}
	}
	return false;
}
} // namespace

TEST(DanmakuTrack, ScrollLaneRefusesUntilTheNewestNodeHasFullyEntered)
{
	FLaneStage Stage;
	UUI_DanmakuNode* Last = Stage.LooseNode(FDanmakuStage::Comment(TEXT("newest in the lane")));
	UUI_DanmakuNode* Slower =
	    Stage.ScrollNodeWhere(TEXT("newcomer"), [Last](float Speed) { return Speed <= Last->GetRollSpeed(); });
	ASSERT_NE(Slower, nullptr);

	EXPECT_TRUE(Stage.Track->CanAddNode(Slower)) << "an empty lane admits any scroll node";
	Stage.Track->AddNode(Last);
	const double Width = Last->GetNodeSize().X;

	Last->SetPosition(FVector2D(1000.0 - Width * 0.5, 0.0));
	EXPECT_FALSE(Stage.Track->CanAddNode(Slower)) << "half of it still beyond the right border";
	Last->SetPosition(FVector2D(1000.0 - Width, 0.0));
	EXPECT_FALSE(Stage.Track->CanAddNode(Slower)) << "right edge exactly on the border";
	Last->SetPosition(FVector2D(1000.0 - Width - 0.1, 0.0));
	EXPECT_TRUE(Stage.Track->CanAddNode(Slower)) << "fully in, and the newcomer can never catch it up";
}

TEST(DanmakuTrack, ScrollLaneAdmitsAFasterNodeOnlyIfItNeverRunsIntoTheNewest)
{
	// A reverse lane is the mirror image: its nodes enter at the left border and move right.
	for (const EDanmakuMode Mode : {EDanmakuMode::SCROLL, EDanmakuMode::REVERSE})
	{
		FLaneStage Stage;
		UUI_DanmakuNode* Last = Stage.ScrollNodeWhere(
		    TEXT("a slow and rather long comment"), [](float Speed) { return Speed < 200.0f; }, Mode);
		ASSERT_NE(Last, nullptr);
		UUI_DanmakuNode* Faster = Stage.ScrollNodeWhere(
		    TEXT("quick"), [Last](float Speed) { return Speed > Last->GetRollSpeed() + 20.0f; }, Mode);
		ASSERT_NE(Faster, nullptr);
		Stage.Track->AddNode(Last);
		const double Width = Last->GetNodeSize().X;

		int32 Admitted = 0;
		int32 Refused = 0;
		for (double X = 1000.0 - Width - 1.0; X > -Width; X -= 7.0)
		{
			Last->SetPosition(FVector2D(Mode == EDanmakuMode::REVERSE ? 1000.0 - X - Width : X, 0.0));
			const bool bCollides = WouldRunInto(1000.0, X, Width, Last->GetRollSpeed(), Faster->GetRollSpeed());
			const bool bCollidesNearby =
			    WouldRunInto(1000.0, X - 0.5, Width, Last->GetRollSpeed(), Faster->GetRollSpeed()) ||
			    WouldRunInto(1000.0, X + 0.5, Width, Last->GetRollSpeed(), Faster->GetRollSpeed());
			if (bCollides != bCollidesNearby)
			{
				continue; // too close to the threshold for a stepped check to settle
			}
			EXPECT_EQ(Stage.Track->CanAddNode(Faster), !bCollides)
			    << "newest node at X = " << X << ", mode " << int32(Mode);
			(bCollides ? Refused : Admitted) += 1;
		}
		// The sweep saw both answers.
		EXPECT_GT(Admitted, 0);
		EXPECT_GT(Refused, 0);
	}
}

TEST(DanmakuTrack, TopAndBottomLanesTakeOneNodeAtATime)
{
	for (EDanmakuMode Mode : {EDanmakuMode::TOP, EDanmakuMode::BOTTOM})
	{
		FLaneStage Stage;
		UUI_DanmakuNode* First = Stage.LooseNode(FDanmakuStage::Comment(TEXT("first"), Mode), false);
		UUI_DanmakuNode* Second = Stage.LooseNode(FDanmakuStage::Comment(TEXT("second"), Mode));
		EXPECT_TRUE(Stage.Track->CanAddNode(Second));
		Stage.Track->AddNode(First);
		EXPECT_FALSE(Stage.Track->CanAddNode(Second));

		while (First->GetParent())
		{
			Stage.App.Tick(0.1f);
		}
		EXPECT_TRUE(Stage.Track->CanAddNode(Second)) << "free again once the first one has ended";
	}
}

TEST(DanmakuTrack, NodeThatLeftTheCanvasUnannouncedCountsAsGone)
{
	FLaneStage Stage;
	UUI_DanmakuNode* Top = Stage.LooseNode(FDanmakuStage::Comment(TEXT("top"), EDanmakuMode::TOP));
	UUI_DanmakuNode* Scroll = Stage.LooseNode(FDanmakuStage::Comment(TEXT("scroll")));
	Scroll->SetPosition(FVector2D(1000.0, 0.0));
	UDanmakuTrack* TopLane = NewObject<UDanmakuTrack>(Stage.Manager());
	TopLane->AddNode(Top);
	Stage.Track->AddNode(Scroll);

	// The lanes never hear of the removal.
	for (UUI_DanmakuNode* Node : {Top, Scroll})
	{
		Node->OnEnded.Clear();
		Node->OnCanceled.Clear();
		Node->RemoveFromParent();
	}
	Stage.App.Tick(0.0f);

	EXPECT_TRUE(TopLane->CanAddNode(Stage.LooseNode(FDanmakuStage::Comment(TEXT("next top"), EDanmakuMode::TOP))));
	EXPECT_TRUE(Stage.Track->CanAddNode(Stage.LooseNode(FDanmakuStage::Comment(TEXT("next scroll")))));
}

TEST(DanmakuTrack, RemovingANodeListedTwiceFreesTheLane)
{
	FLaneStage Stage;
	UUI_DanmakuNode* Twice = Stage.LooseNode(FDanmakuStage::Comment(TEXT("twice"), EDanmakuMode::TOP));
	UUI_DanmakuNode* Next = Stage.LooseNode(FDanmakuStage::Comment(TEXT("next"), EDanmakuMode::TOP));
	Stage.Track->AddNode(Twice);
	Stage.Track->AddNode(Twice);
	Stage.Track->RemoveNode(Twice);
	EXPECT_TRUE(Stage.Track->CanAddNode(Next));
	EXPECT_NE(Twice->GetParent(), nullptr) << "removing from the list does not touch the canvas";
}

TEST(DanmakuTrack, PauseResumeAndEmptyActOnEveryListedNode)
{
	FLaneStage Stage;
	TArray<UUI_DanmakuNode*> Listed;
	for (const TCHAR* Content : {TEXT("one"), TEXT("two"), TEXT("three")})
	{
		UUI_DanmakuNode* Node = Stage.LooseNode(FDanmakuStage::Comment(Content), false);
		Node->SetPosition(FVector2D(900.0, 0.0));
		Stage.Track->AddNode(Node);
		Listed.Add(Node);
	}
	UUI_DanmakuNode* Unlisted = Stage.LooseNode(FDanmakuStage::Comment(TEXT("elsewhere")), false);

	Stage.Track->Pause();
	Stage.App.Tick(0.5f);
	for (UUI_DanmakuNode* Node : Listed)
	{
		EXPECT_EQ(Node->GetPosition().X, 900.0);
	}
	Stage.Track->Resume();
	Stage.App.Tick(0.5f);
	for (UUI_DanmakuNode* Node : Listed)
	{
		EXPECT_LT(Node->GetPosition().X, 900.0);
	}

	Stage.Track->Empty();
	Stage.App.Tick(0.0f);
	for (UUI_DanmakuNode* Node : Listed)
	{
		EXPECT_EQ(Node->GetParent(), nullptr);
	}
	EXPECT_NE(Unlisted->GetParent(), nullptr);
	EXPECT_TRUE(Stage.Track->CanAddNode(Unlisted));
}
