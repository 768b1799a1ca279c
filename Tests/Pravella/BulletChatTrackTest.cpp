#include "BulletChat/BulletChatTrack.h"

#include "BulletChat/BulletChatTrackManager.h"
#include "BulletChatScreen.h"

#include <gtest/gtest.h>

namespace
{
float SpeedOfDraw(int32 Draw)
{
	return 100.0f + static_cast<float>(Draw) * 0.0012207404f;
}

// A seed whose first two draws give the first node speed First and the second Second with Accept(First, Second).
template <typename PredicateType>
int32 FindSeed(PredicateType Accept)
{
	for (int32 Seed = 1; Seed < 1000; ++Seed)
	{
		FMath::RandInit(Seed);
		const float First = SpeedOfDraw(FMath::Rand());
		const float Second = SpeedOfDraw(FMath::Rand());
		if (Accept(First, Second))
		{
			return Seed;
		}
	}
	return 0;
}

// Y of the second of two comments a second apart on a canvas of two tracks: 0 when the top track took it.
double PlaceSecondCommentAfterOneSecond(int32 Seed)
{
	FMath::RandInit(Seed);
	const float FirstSpeed = SpeedOfDraw(FMath::Rand());
	FMath::RandInit(Seed);
	FBulletChatScreen Screen(FVector2D(1000.0, 31.0));
	Screen.OpenLesson();
	Screen.Overlay->ResetDatas(
	    MakeBulletChatDocument({{1, TEXT("00:00:01"), TEXT("first")}, {2, TEXT("00:00:02"), TEXT("second")}}));
	Screen.PlayUntil(2.2);
	const UUI_BulletChatNode* First = Screen.FindNode(TEXT("first"));
	const UUI_BulletChatNode* Second = Screen.FindNode(TEXT("second"));
	// The nodes must be the only users of the draws for the seeds to mean anything.
	EXPECT_TRUE(First && First->GetSpeed() == FirstSpeed);
	return Second ? Second->GetPosition().Y : -1.0;
}
} // namespace

TEST(BulletChatTrack, AdmitsANodeBehindTheNewestOneOnlyIfItCannotCatchItUp)
{
	// The first node has come in about one second's way (100 to 140 units) when the second is placed.
	const int32 SlowerSeed = FindSeed([](float First, float Second) { return Second <= First; });
	const int32 FasterSeed = FindSeed([](float First, float Second) { return Second - First > 30.0f; });
	ASSERT_NE(SlowerSeed, 0);
	ASSERT_NE(FasterSeed, 0);

	EXPECT_EQ(PlaceSecondCommentAfterOneSecond(SlowerSeed), 0.0) << "a slower node never catches up";
	// Faster by more than 30 units a second, it would close the gap of at most 132 units before the first
	// node has crossed the remaining 860 or more.
	EXPECT_EQ(static_cast<float>(PlaceSecondCommentAfterOneSecond(FasterSeed)),
	          static_cast<float>(UBulletChatTrackManager::TrackHeight));
}
