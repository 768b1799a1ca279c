#include "BulletChat/BulletChatTrackManager.h"

#include "BulletChatScreen.h"

#include <gtest/gtest.h>

TEST(BulletChatTrackManager, TracksOf15Point12UnitsCoverTheCanvasHeight)
{
	for (const TPair<double, int32>& HeightAndTracks : TArray<TPair<double, int32>>{{300.0, 19}, {31.0, 2}, {15.0, 0}})
	{
		FBulletChatScreen Screen(FVector2D(1000.0, HeightAndTracks.Key));
		Screen.OpenLesson();
		Screen.Step();
		ASSERT_NE(Screen.Overlay->GetTrackManager(), nullptr);
		EXPECT_EQ(Screen.Overlay->GetTrackManager()->GetTrackNum(), HeightAndTracks.Value) << HeightAndTracks.Key;
	}
}

TEST(BulletChatTrackManager, NodesTakeTheFirstFreeTrackFromTheTopAndShareARandomOneWhenAllAreTaken)
{
	TArray<float> FullCanvasBands;
	for (int32 Seed = 1; Seed <= 8; ++Seed)
	{
		FMath::RandInit(Seed);
		// Two tracks; three comments at once, none entered yet when the next is placed.
		FBulletChatScreen Screen(FVector2D(1000.0, 31.0));
		Screen.OpenLesson();
		Screen.Overlay->ResetDatas(MakeBulletChatDocument(
		    {{1, TEXT("00:00:01"), TEXT("A")}, {2, TEXT("00:00:01"), TEXT("B")}, {3, TEXT("00:00:01"), TEXT("C")}}));
		Screen.PlayUntil(1.2);
		UUI_BulletChatNode* A = Screen.FindNode(TEXT("A"));
		UUI_BulletChatNode* B = Screen.FindNode(TEXT("B"));
		UUI_BulletChatNode* C = Screen.FindNode(TEXT("C"));
		ASSERT_TRUE(A && B && C);
		EXPECT_EQ(A->GetPosition().Y, 0.0);
		// Slot offsets are kept in single precision.
		const float SecondTrackY = static_cast<float>(UBulletChatTrackManager::TrackHeight);
		EXPECT_EQ(static_cast<float>(B->GetPosition().Y), SecondTrackY);
		const float BandY = static_cast<float>(C->GetPosition().Y);
		EXPECT_TRUE(BandY == 0.0f || BandY == SecondTrackY) << BandY;
		FullCanvasBands.AddUnique(BandY);

		// In a track: the host's pause reaches it.
		Screen.Overlay->Pause();
		const FVector2D PausedAt = C->GetPosition();
		Screen.StepFor(0.2);
		EXPECT_EQ(C->GetPosition(), PausedAt);
	}
	EXPECT_EQ(FullCanvasBands.Num(), 2) << "the band of a node that finds no free one is drawn at random";
}
