#include "BulletChat/BulletChatTrackManager.h"

#include "BulletChatScreen.h"

#include <gtest/gtest.h>

#include <string>

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

namespace
{
// Every report of a manager, by content: "placed 0+1" (first track and count, "shared" when forced onto a band)
// or the reason it was not placed.
struct FBulletChatReports
{
	explicit FBulletChatReports(UBulletChatTrackManager* Manager)
	{
		Manager->OnBulletChatPlaced.AddLambda(
		    [this](const FBulletChatPlacement& Placement)
		    {
			    // Reported once it stands at the right border of its band.
			    EXPECT_EQ(static_cast<float>(Placement.Node->GetPosition().Y),
			              static_cast<float>(Placement.FirstTrack * UBulletChatTrackManager::TrackHeight));
			    Add(Placement.Node->GetData().Content,
			        FString::Printf(TEXT("placed %d+%d%s"), Placement.FirstTrack, Placement.TrackCount,
			                        Placement.bSharedBand ? TEXT(" shared") : TEXT("")));
		    });
		Manager->OnBulletChatNotPlaced.AddLambda(
		    [this](const FBulletChatData& Data, EBulletChatNotPlacedReason Reason)
		    { Add(Data.Content, StaticEnum<EBulletChatNotPlacedReason>()->GetNameStringByValue(int64(Reason))); });
	}
	void Add(const FString& Content, const FString& Report) { ByContent.FindOrAdd(Content).Add(Report); }
	const TArray<FString>& All(const TCHAR* Content) { return ByContent.FindOrAdd(Content); }
	std::string Of(const TCHAR* Content) { return TCHAR_TO_UTF8(*FString::Join(All(Content), TEXT(", "))); }
	// The reports other than AlreadyShowing.
	std::string OfShown(const TCHAR* Content)
	{
		const TArray<FString> Shown =
		    All(Content).FilterByPredicate([](const FString& Report) { return Report != TEXT("AlreadyShowing"); });
		return TCHAR_TO_UTF8(*FString::Join(Shown, TEXT(", ")));
	}

	TMap<FString, TArray<FString>> ByContent;
};
} // namespace

TEST(BulletChatTrackManager, ReportsEachRecordHandedOverAsPlacedOnItsBandOrNotPlacedWithTheReason)
{
	{
		// Two tracks, three comments of one second; a pushed one whose node is taken off before it measured.
		FBulletChatScreen Screen(FVector2D(1000.0, 31.0));
		Screen.OpenLesson();
		Screen.Step();
		FBulletChatReports Reports(Screen.Overlay->GetTrackManager());
		Screen.Overlay->ResetDatas(MakeBulletChatDocument(
		    {{1, TEXT("00:00:01"), TEXT("A")}, {2, TEXT("00:00:01"), TEXT("B")}, {3, TEXT("00:00:01"), TEXT("C")}}));
		Screen.PlayUntil(1.5);
		EXPECT_EQ(Reports.OfShown(TEXT("A")), "placed 0+1");
		EXPECT_EQ(Reports.OfShown(TEXT("B")), "placed 1+1");
		const std::string OfC = Reports.OfShown(TEXT("C"));
		EXPECT_TRUE(OfC == "placed 0+1 shared" || OfC == "placed 1+1 shared") << OfC;
		// Offered again on every frame of the second while its node runs.
		EXPECT_GT(Reports.All(TEXT("A")).Num(), 20);

		const FString Url = Screen.Player->GetUrl();
		Screen.Overlay->AddDataThenSpawn(MakeBulletChatRecord(9, TEXT("00:00:05"), TEXT("G")), Url);
		ASSERT_NE(Screen.FindNode(TEXT("G")), nullptr);
		Screen.FindNode(TEXT("G"))->RemoveFromParent();
		EXPECT_EQ(Reports.Of(TEXT("G")), "RemovedBeforeStart");
		// Its record is not held back by a node that is gone.
		Screen.Overlay->AddDataThenSpawn(MakeBulletChatRecord(9, TEXT("00:00:05"), TEXT("G")), Url);
		Screen.StepFor(0.1);
		ASSERT_EQ(Reports.All(TEXT("G")).Num(), 2);
		EXPECT_TRUE(Reports.All(TEXT("G"))[1].StartsWith(TEXT("placed "))) << Reports.Of(TEXT("G"));
	}
	for (const TPair<double, FString>& HeightAndReason :
	     TArray<TPair<double, FString>>{{15.0, TEXT("NoTracks")}, {20.0, TEXT("TooTall")}})
	{
		// One track holds one line of text but not two.
		FBulletChatScreen Screen(FVector2D(1000.0, HeightAndReason.Key));
		Screen.OpenLesson();
		Screen.Step();
		FBulletChatReports Reports(Screen.Overlay->GetTrackManager());
		Screen.Overlay->AddDataThenSpawn(MakeBulletChatRecord(1, TEXT("00:00:05"), TEXT("two\\nlines")),
		                                 Screen.Player->GetUrl());
		Screen.StepFor(0.1);
		EXPECT_EQ(Reports.Of(TEXT("two\nlines")), TCHAR_TO_UTF8(*HeightAndReason.Value));
		EXPECT_NE(Screen.FindNode(TEXT("two\nlines")), nullptr) << "it still crosses the canvas";
	}

	FBulletChatScreen Screen;
	UClass* NodeClass =
	    StaticLoadClass(UUI_BulletChatNode::StaticClass(), nullptr, TEXT("/Game/UI/WBP_BulletChatNode"));
	UBulletChatTrackManager* Manager = NewObject<UBulletChatTrackManager>(Screen.Overlay);
	FBulletChatReports Reports(Manager);
	FBulletChatData Data;
	Data.Content = TEXT("N");
	Manager->Init(nullptr, NodeClass);
	Manager->SpawnBulletChatNode(Data);
	Manager->Init(Screen.Canvas, nullptr);
	Manager->SpawnBulletChatNode(Data);
	EXPECT_EQ(Reports.Of(TEXT("N")), "NoCanvas, NoNodeClass");
}

TEST(BulletChatTrackManager, ANodeTheHostTakesOffTheCanvasRightAfterItWasPlacedNoLongerHoldsItsTrack)
{
	FBulletChatScreen Screen;
	Screen.OpenLesson();
	Screen.Step();
	FBulletChatReports Placed(Screen.Overlay->GetTrackManager());
	Screen.Overlay->AddDataThenSpawn(MakeBulletChatRecord(20, TEXT("00:00:05"), TEXT("X")), Screen.Player->GetUrl());
	Screen.Step();
	Screen.Step();
	ASSERT_EQ(Placed.Of(TEXT("X")), "placed 0+1");
	UUI_BulletChatNode* X = Screen.FindNode(TEXT("X"));
	const FVector2D SizeOfX = X->GetNodeSize();
	// A host's listener for X's record, which must not hear of the record the node carries next.
	int32 HeardOfX = 0;
	X->OnEnded.AddLambda([&HeardOfX](UUI_BulletChatNode*) { ++HeardOfX; });
	X->OnRemoved.AddLambda([&HeardOfX](UUI_BulletChatNode*) { ++HeardOfX; });
	X->RemoveFromParent();
	const TCHAR* Longer = TEXT("Y, which is longer");
	Screen.Overlay->AddDataThenSpawn(MakeBulletChatRecord(21, TEXT("00:00:05"), Longer), Screen.Player->GetUrl());
	Screen.StepFor(0.1);
	EXPECT_EQ(Placed.Of(TEXT("X")), "placed 0+1");
	EXPECT_EQ(Placed.Of(Longer), "placed 0+1");

	// X's node carries Y, measured and timed afresh, and leaves again when Y has crossed.
	UUI_BulletChatNode* Y = Screen.FindNode(Longer);
	EXPECT_EQ(Y, X);
	EXPECT_GT(Y->GetNodeSize().X, SizeOfX.X + 20.0);
	EXPECT_EQ(Y->GetNodeSize(), Y->GetDesiredSize());
	EXPECT_LT(Y->GetPosition().X, 1000.0);
	Screen.StepFor(15.0);
	EXPECT_EQ(Screen.FindNode(Longer), nullptr);
	EXPECT_EQ(HeardOfX, 1);
}
