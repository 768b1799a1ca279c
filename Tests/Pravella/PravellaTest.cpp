#include "Pravella.h"

#include "Engine/Engine.h"
#include "Headless/HeadlessApplication.h"
#include "MediaPlayer.h"
#include "Misc/Paths.h"

#include <gtest/gtest.h>

namespace
{
// A project kept under a folder that is itself named Content, with media players in its own content folder.
class FLoadMediaPlayerTest : public ::testing::Test
{
protected:
	void SetUp() override { FPaths::SetProjectDir(TEXT(PRAVELLA_PROJECT_DIR "/Tests/Pravella/Content/Project/")); }
	void TearDown() override { FPaths::SetProjectDir(TEXT(PRAVELLA_PROJECT_DIR "/")); }

	FHeadlessApplication App;
};
} // namespace

TEST_F(FLoadMediaPlayerTest, FindsTheAssetInTheContentFolderAndKeepsItsPath)
{
	FString AssetPath;
	UMediaPlayer* Intro = Pravella::LoadMediaPlayer(TEXT("MP_Intro"), AssetPath);
	ASSERT_NE(Intro, nullptr);
	EXPECT_EQ(AssetPath, TEXT("/Game/Movies/Lessons/MP_Intro"));
	EXPECT_EQ(Pravella::LoadMediaPlayer(TEXT("MP_Intro"), AssetPath), Intro);

	// The name is matched without case; the path keeps the letters on disk. A stale path is replaced.
	FString Stale = TEXT("/Game/Old/MP_Intro");
	EXPECT_EQ(Pravella::LoadMediaPlayer(TEXT("mp_intro"), Stale), Intro);
	EXPECT_EQ(Stale, TEXT("/Game/Movies/Lessons/MP_Intro"));

	// Of two assets of one name, the first the file manager lists wins.
	FString TwinPath;
	UMediaPlayer* Twin = Pravella::LoadMediaPlayer(TEXT("MP_Twin"), TwinPath);
	ASSERT_NE(Twin, nullptr);
	EXPECT_EQ(TwinPath, TEXT("/Game/Twins/A/MP_Twin"));
	EXPECT_FALSE(Twin->Loop);

	// A path that climbs out of the content folder is never loaded; the search runs instead.
	FString Escaping = TEXT("/Game/../../Content/Project/Content/Twins/B/MP_Twin");
	EXPECT_EQ(Pravella::LoadMediaPlayer(TEXT("MP_Twin"), Escaping), Twin);
	EXPECT_EQ(Escaping, TEXT("/Game/Twins/A/MP_Twin"));
	EXPECT_TRUE(GEngine->GetOnScreenDebugMessages().IsEmpty());
}

TEST_F(FLoadMediaPlayerTest, ReportsANameNoAssetHasOnScreen)
{
	// Only MP_Backup.uasset.bak exists: not the asset file.
	FString AssetPath = TEXT("/Game/Gone/MP_Backup");
	EXPECT_EQ(Pravella::LoadMediaPlayer(TEXT("MP_Backup"), AssetPath), nullptr);
	EXPECT_EQ(AssetPath, TEXT("/Game/Gone/MP_Backup"));
	const TArray<FOnScreenDebugMessage> Messages = GEngine->GetOnScreenDebugMessages();
	ASSERT_EQ(Messages.Num(), 1);
	EXPECT_EQ(Messages[0].Text, TEXT("The instance named MP_Backup can't be found. Please check whether the name of "
	                                 "mediaplayer has been modified or deleted."));
	EXPECT_EQ(Messages[0].DisplayColor, FColor::Red);
	EXPECT_EQ(Messages[0].Key, -1);
	App.Advance(9.9f, 0.1f);
	EXPECT_EQ(GEngine->GetOnScreenDebugMessages().Num(), 1);
	App.Advance(0.2f, 0.1f);
	EXPECT_TRUE(GEngine->GetOnScreenDebugMessages().IsEmpty());

	// A file of that name holding something else gives null silently; its path is kept.
	FString WrongPath;
	EXPECT_EQ(Pravella::LoadMediaPlayer(TEXT("MP_NotAPlayer"), WrongPath), nullptr);
	EXPECT_EQ(WrongPath, TEXT("/Game/Other/MP_NotAPlayer"));
	EXPECT_TRUE(GEngine->GetOnScreenDebugMessages().IsEmpty());
}
