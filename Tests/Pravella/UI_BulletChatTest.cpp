#include "BulletChat/UI_BulletChat.h"

#include "BulletChat/BulletChatTrackManager.h"
#include "BulletChatScreen.h"

#include <gtest/gtest.h>

namespace
{
int32 CountOnCanvas(const FBulletChatScreen& Screen, const FString& Content)
{
	int32 Count = 0;
	for (const UUI_BulletChatNode* Node : Screen.Nodes())
	{
		Count += Node->GetData().Content == Content ? 1 : 0;
	}
	return Count;
}
} // namespace

TEST(UI_BulletChat, ShowsACommentOnceWhileItsNodeRunsAndAgainOnceItHasCrossedANarrowCanvas)
{
	// "A" is 8 units wide: on a 72-unit canvas its node lives 0.57 to 0.8 seconds.
	FBulletChatScreen Screen(FVector2D(72.0, 100.0));
	Screen.OpenLesson();
	Screen.Overlay->ResetDatas(MakeBulletChatDocument({{1, TEXT("00:00:02"), TEXT("A")}}));
	int32 MostAtOnce = 0;
	while (Screen.Player->GetTime().GetTotalSeconds() < 3.5)
	{
		Screen.Step();
		MostAtOnce = FMath::Max(MostAtOnce, CountOnCanvas(Screen, TEXT("A")));
	}
	ASSERT_EQ(Screen.CountShown(TEXT("A")), 2);
	EXPECT_EQ(MostAtOnce, 1);
	for (const FShownBulletChat& Shown : Screen.ShownNodes)
	{
		EXPECT_GE(Shown.MediaSeconds, 2.0);
		EXPECT_LT(Shown.MediaSeconds, 3.0);
	}
}

TEST(UI_BulletChat, AnIdOnScreenBlocksOtherRecordsWithItUntilItsNodeEndsAndRecordsWithoutIdsNeverBlock)
{
	// Nodes live 1.05 to 1.5 seconds on this canvas.
	FBulletChatScreen Screen(FVector2D(140.0, 100.0));
	Screen.OpenLesson();
	Screen.Overlay->ResetDatas(MakeBulletChatDocument({{5, TEXT("00:00:01"), TEXT("A")},
	                                                   {6, TEXT("00:00:01"), TEXT("C")},
	                                                   {-1, TEXT("00:00:01"), TEXT("no id")},
	                                                   {-1, TEXT("00:00:01"), TEXT("no id either")},
	                                                   {5, TEXT("00:00:02"), TEXT("B")}}));
	bool bSameIdTogether = false;
	while (Screen.Player->GetTime().GetTotalSeconds() < 3.2)
	{
		Screen.Step();
		bSameIdTogether |= CountOnCanvas(Screen, TEXT("A")) && CountOnCanvas(Screen, TEXT("B"));
	}
	EXPECT_FALSE(bSameIdTogether);
	EXPECT_EQ(Screen.CountShown(TEXT("A")), 1);
	EXPECT_EQ(Screen.CountShown(TEXT("C")), 1);
	ASSERT_EQ(Screen.CountShown(TEXT("B")), 1) << "shown once the node of the same ID has ended";
	EXPECT_EQ(Screen.FindShown(TEXT("C"))->MediaSeconds, Screen.FindShown(TEXT("A"))->MediaSeconds)
	    << "another ID is not blocked";
	EXPECT_GT(Screen.FindShown(TEXT("B"))->MediaSeconds, 2.05);
	// Shown together, and each once while its node runs.
	EXPECT_EQ(Screen.CountShown(TEXT("no id")), 1);
	EXPECT_EQ(Screen.CountShown(TEXT("no id either")), 1);
	EXPECT_EQ(Screen.FindShown(TEXT("no id either"))->MediaSeconds, Screen.FindShown(TEXT("A"))->MediaSeconds);
}

TEST(UI_BulletChat, HiddenCommentsGoOnAndHostPauseFreezesPlacedAndLaterOnesWhileTheMediaPlays)
{
	FBulletChatScreen Screen;
	Screen.OpenLesson();
	Screen.Overlay->ResetDatas(
	    MakeBulletChatDocument({{1, TEXT("00:00:01"), TEXT("early")}, {2, TEXT("00:00:03"), TEXT("later")}}));
	Screen.Overlay->SetVisible(false);
	EXPECT_EQ(Screen.Canvas->GetRenderOpacity(), 0.0f);
	Screen.PlayUntil(2.0);
	Screen.Overlay->SetVisible(true);
	EXPECT_EQ(Screen.Canvas->GetRenderOpacity(), 1.0f);
	UUI_BulletChatNode* Early = Screen.FindNode(TEXT("early"));
	ASSERT_NE(Early, nullptr) << "spawned while hidden";
	EXPECT_LT(Early->GetPosition().X, 1000.0 - 40.0) << "and moving";
	Screen.Overlay->Pause();
	const FVector2D EarlyAt = Early->GetPosition();
	Screen.PlayUntil(3.5);
	EXPECT_TRUE(Screen.Player->IsPlaying());
	EXPECT_EQ(Early->GetPosition(), EarlyAt);
	UUI_BulletChatNode* Later = Screen.FindNode(TEXT("later"));
	ASSERT_NE(Later, nullptr) << "comments due while paused are still created";
	EXPECT_GT(Later->GetSpeed(), 0.0f) << "and placed";
	EXPECT_EQ(Later->GetPosition().X, 1000.0) << "standing at the right border";

	Screen.Overlay->Resume();
	Screen.StepFor(0.5);
	EXPECT_LT(Early->GetPosition().X, EarlyAt.X - 40.0);
	EXPECT_LT(Later->GetPosition().X, 1000.0 - 40.0);
}

TEST(UI_BulletChat, AddDataThenSpawnShowsAndStoresACommentForTheVideoPlayingOnly)
{
	FBulletChatScreen Screen;
	Screen.OpenLesson();
	Screen.PlayUntil(0.5);
	const FString Record = MakeBulletChatRecord(7, TEXT("00:00:04"), TEXT("sent"));
	Screen.Overlay->AddDataThenSpawn(Record, FString(FBulletChatScreen::LessonUrl).ToUpper());
	Screen.Step();
	EXPECT_EQ(Screen.CountShown(TEXT("sent")), 1) << "shown at once, whatever its time";
	const TArray<FBulletChatData>* Stored = Screen.Overlay->FindDatasAt(FTimespan(0, 0, 4));
	ASSERT_NE(Stored, nullptr);
	ASSERT_EQ(Stored->Num(), 1);
	EXPECT_EQ((*Stored)[0].ID, 7);

	Screen.Overlay->AddDataThenSpawn(MakeBulletChatRecord(8, TEXT("00:00:04"), TEXT("elsewhere")),
	                                 TEXT("https://lessons.test/Legacy/Other.mp4"));
	Screen.Overlay->AddDataThenSpawn(TEXT("{\"id\":9,"), FBulletChatScreen::LessonUrl);
	Screen.Overlay->AddDataThenSpawn(TEXT("[1,2]"), FBulletChatScreen::LessonUrl);
	Screen.Step();
	EXPECT_EQ(Screen.CountShown(TEXT("elsewhere")), 0);
	EXPECT_EQ(Screen.Overlay->FindDatasAt(FTimespan(0, 0, 4))->Num(), 1);
	EXPECT_EQ(Screen.ShownNodes.Num(), 1);
}

TEST(UI_BulletChat, CommentsAtFractionalOrDayLongTimesAreStoredButNeverShown)
{
	FBulletChatScreen Screen;
	Screen.OpenLesson();
	Screen.Overlay->ResetDatas(MakeBulletChatDocument({{1, TEXT("00:00:01.500"), TEXT("fraction")},
	                                                   {2, TEXT("1.00:00:01"), TEXT("next day")},
	                                                   {3, TEXT("00:00:01"), TEXT("whole")},
	                                                   {4, TEXT("00:00:01"), TEXT("whole too")}}));
	Screen.PlayUntil(2.5);
	EXPECT_EQ(Screen.CountShown(TEXT("whole")), 1);
	EXPECT_EQ(Screen.CountShown(TEXT("whole too")), 1);
	EXPECT_EQ(Screen.CountShown(TEXT("fraction")), 0);
	EXPECT_EQ(Screen.CountShown(TEXT("next day")), 0);

	ASSERT_NE(Screen.Overlay->FindDatasAt(FTimespan::FromSeconds(1.5)), nullptr);
	ASSERT_NE(Screen.Overlay->FindDatasAt(FTimespan(1, 0, 0, 1, 0)), nullptr);
	const TArray<FBulletChatData>* Whole = Screen.Overlay->FindDatasAt(FTimespan(0, 0, 1));
	ASSERT_NE(Whole, nullptr);
	ASSERT_EQ(Whole->Num(), 2);
	EXPECT_EQ((*Whole)[0].Content, TEXT("whole")) << "records of one time keep the document's order";
	EXPECT_EQ((*Whole)[1].Content, TEXT("whole too"));
}

TEST(UI_BulletChat, EmptyClearsTheTracksAndMakesEveryIdSpawnableAgain)
{
	FBulletChatScreen Screen;
	Screen.OpenLesson();
	Screen.Overlay->ResetDatas(
	    MakeBulletChatDocument({{1, TEXT("00:00:01"), TEXT("A")}, {2, TEXT("00:00:01"), TEXT("B")}}));
	Screen.PlayUntil(1.3);
	ASSERT_EQ(Screen.Nodes().Num(), 2);
	Screen.Overlay->Empty();
	EXPECT_EQ(Screen.Nodes().Num(), 0);
	Screen.Step();
	EXPECT_EQ(Screen.CountShown(TEXT("A")), 2);
	EXPECT_EQ(Screen.CountShown(TEXT("B")), 2);
	EXPECT_NE(Screen.Overlay->FindDatasAt(FTimespan(0, 0, 1)), nullptr) << "the index stays";
}

TEST(UI_BulletChat, DocumentHandedOverBeforeTheFirstLaidOutFrameIsLoadedOnceTheTrackManagerExists)
{
	FBulletChatScreen Screen(FVector2D(1000.0, 300.0), false);
	Screen.Step();
	Screen.Overlay->ResetDatas(TEXT("{\"datas\":[]}"));
	Screen.Overlay->ResetDatas(MakeBulletChatDocument({{1, TEXT("00:00:01"), TEXT("early")}}));
	EXPECT_EQ(Screen.Overlay->GetTrackManager(), nullptr) << "no media player yet";
	EXPECT_EQ(Screen.Overlay->FindDatasAt(FTimespan(0, 0, 1)), nullptr);

	Screen.Overlay->Init(Screen.Player);
	Screen.OpenLesson();
	Screen.PlayUntil(1.5);
	EXPECT_NE(Screen.Overlay->FindDatasAt(FTimespan(0, 0, 1)), nullptr);
	EXPECT_EQ(Screen.CountShown(TEXT("early")), 1);

	Screen.Overlay->ResetDatas(TEXT("{\"datas\":[") + MakeBulletChatRecord(2, TEXT("00:00:03"), TEXT("x")));
	EXPECT_EQ(Screen.Overlay->FindDatasAt(FTimespan(0, 0, 1)), nullptr) << "an unreadable document empties the index";
	EXPECT_EQ(Screen.Overlay->FindDatasAt(FTimespan(0, 0, 3)), nullptr);
}

TEST(UI_BulletChat, RebuiltOverlayKeepsItsTrackManagerItsIndexAndItsMovingComments)
{
	// Nodes live 1.05 to 1.5 seconds on this canvas.
	FBulletChatScreen Screen(FVector2D(140.0, 100.0));
	Screen.OpenLesson();
	Screen.Overlay->ResetDatas(
	    MakeBulletChatDocument({{1, TEXT("00:00:01"), TEXT("A")}, {1, TEXT("00:00:03"), TEXT("B")}}));
	Screen.PlayUntil(1.3);
	UBulletChatTrackManager* Manager = Screen.Overlay->GetTrackManager();
	const int32 TrackNum = Manager->GetTrackNum();
	ASSERT_GT(TrackNum, 0);
	UUI_BulletChatNode* Node = Screen.FindNode(TEXT("A"));
	ASSERT_NE(Node, nullptr);

	Screen.Overlay->RemoveFromParent();
	Screen.StepFor(0.1);
	Screen.Overlay->AddToViewport();
	Screen.Step();
	const double RebuiltX = Node->GetPosition().X;
	Screen.StepFor(0.2);
	EXPECT_LT(Node->GetPosition().X, RebuiltX - 15.0) << "the comment moves on";

	Screen.PlayUntil(3.5);
	EXPECT_EQ(Screen.FindNode(TEXT("A")), nullptr) << "and ends";
	EXPECT_EQ(Screen.Overlay->GetTrackManager(), Manager);
	EXPECT_EQ(Manager->GetTrackNum(), TrackNum) << "with its tracks";
	EXPECT_EQ(Screen.CountShown(TEXT("B")), 1) << "its ID is free again and the index intact";
}

// Whoever takes a node off, and whenever: a record's ID is free exactly when no node of it is on the canvas.
TEST(UI_BulletChat, AnIdIsFreeWhenNoNodeOfItIsOnTheCanvasWhateverTookItOff)
{
	FBulletChatScreen Screen;
	Screen.OpenLesson();
	Screen.Overlay->ResetDatas(MakeBulletChatDocument(
	    {{5, TEXT("00:00:01"), TEXT("A")}, {6, TEXT("00:00:03"), TEXT("C")}, {6, TEXT("00:00:05"), TEXT("D")}}));
	// Emptied in the frame its node appeared, before the node had measured itself: it goes too, and the record
	// comes back once, not twice.
	while (Screen.Nodes().IsEmpty() && Screen.Player->GetTime().GetTotalSeconds() < 2.0)
	{
		Screen.Step();
	}
	ASSERT_EQ(CountOnCanvas(Screen, TEXT("A")), 1);
	Screen.Overlay->Empty();
	EXPECT_EQ(CountOnCanvas(Screen, TEXT("A")), 0);
	int32 MostAtOnce = 0;
	while (Screen.Player->GetTime().GetTotalSeconds() < 2.5)
	{
		Screen.Step();
		MostAtOnce = FMath::Max(MostAtOnce, CountOnCanvas(Screen, TEXT("A")));
	}
	EXPECT_EQ(MostAtOnce, 1);

	// Taken off by the host while the overlay was off screen: its ID no longer blocks the next record with it.
	Screen.PlayUntil(4.2);
	ASSERT_EQ(CountOnCanvas(Screen, TEXT("C")), 1);
	Screen.Overlay->RemoveFromParent();
	Screen.Canvas->ClearChildren();
	Screen.Overlay->AddToViewport();
	Screen.PlayUntil(5.3);
	EXPECT_EQ(Screen.CountShown(TEXT("D")), 1);

	// A comment for no video in particular is not one for the video playing.
	Screen.Overlay->AddDataThenSpawn(MakeBulletChatRecord(8, TEXT("00:00:05"), TEXT("nowhere")), FString());
	Screen.Step();
	EXPECT_EQ(Screen.CountShown(TEXT("nowhere")), 0);
}
