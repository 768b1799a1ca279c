#include "BulletChat/UI_BulletChatNode.h"

#include "BulletChatScreen.h"

#include <gtest/gtest.h>

TEST(UI_BulletChatNode, StepsLeftAtItsSpeedAndEndsOnceWhenItHasCrossedTheCanvas)
{
	FBulletChatScreen Screen(FVector2D(1000.0, 300.0));
	Screen.OpenLesson();
	Screen.Overlay->ResetDatas(MakeBulletChatDocument({{1, TEXT("00:00:01"), TEXT("Hello there")}}));
	Screen.PlayUntil(1.0);
	UUI_BulletChatNode* Node = Screen.FindNode(TEXT("Hello there"));
	ASSERT_NE(Node, nullptr);
	int32 EndedCount = 0;
	Node->OnEnded.AddLambda([&EndedCount](UUI_BulletChatNode*) { ++EndedCount; });
	while (Node->GetSpeed() == 0.0f)
	{
		Screen.Step();
	}
	const double StartSeconds = Screen.App.GetCurrentTime();
	const double Width = Node->GetNodeSize().X;
	const float Speed = Node->GetSpeed();
	EXPECT_GT(Width, 0.0);
	EXPECT_EQ(Node->GetParentSize(), FVector2D(1000.0, 300.0));
	EXPECT_GE(Speed, 100.0f);
	EXPECT_LE(Speed, 140.0f);

	// A hundred steps of 0.01 seconds a second, each of Speed / 100.
	const double StartX = Node->GetPosition().X;
	Screen.StepFor(1.0);
	EXPECT_NEAR(StartX - Node->GetPosition().X, Speed, Speed * 0.02);

	double LastX = Node->GetPosition().X;
	while (Node->GetParent() && Screen.App.GetCurrentTime() - StartSeconds < 20.0)
	{
		LastX = Node->GetPosition().X;
		Screen.Step();
	}
	EXPECT_EQ(Node->GetParent(), nullptr) << "the node takes itself off the canvas";
	EXPECT_NEAR(Screen.App.GetCurrentTime() - StartSeconds, (1000.0 + Width) / Speed, 0.04);
	EXPECT_NEAR(LastX, -Width, Speed * 0.02 + 1.0) << "it leaves once its right edge has reached the left border";
	Screen.StepFor(0.5);
	EXPECT_EQ(EndedCount, 1);
}
