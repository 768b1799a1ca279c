#include "Pravella.h"

#include "Engine/Engine.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/HeadlessAssetRegistry.h"
#include "MediaPlayer.h"
#include "Misc/Paths.h"

#include <gtest/gtest.h>

// A project kept under a folder that is itself named Content, with media players in its own content folder.
class FLoadMediaPlayerTest : public ::testing::Test
{
protected:
	void SetUp() override { FPaths::SetProjectDir(TEXT(PRAVELLA_PROJECT_DIR "/Tests/Pravella/Content/Project/")); }
	void TearDown() override { FPaths::SetProjectDir(TEXT(PRAVELLA_PROJECT_DIR "/")); }

	FHeadlessApplication App;
};

TEST_F(FLoadMediaPlayerTest, FindsTheAssetBelowTheContentFolderAndReportsOnlyAMissingName)
{
	FString AssetPath;
	UMediaPlayer* Intro = Pravella::LoadMediaPlayer(TEXT("MP_Intro"), AssetPath);
	ASSERT_NE(Intro, nullptr);
	EXPECT_EQ(AssetPath, TEXT("/Game/Movies/Lessons/MP_Intro"));
	EXPECT_EQ(Pravella::LoadMediaPlayer(TEXT("MP_Intro"), AssetPath), Intro);

	// Stale and escaping paths give way to the search; the name's case is ignored, the path keeps the disk's.
	for (FString Path : {TEXT("/Game/Old/MP_Intro"), TEXT("/Game/../../Content/Project/Content/Movies/MP_Intro")})
	{
		EXPECT_EQ(Pravella::LoadMediaPlayer(TEXT("mp_intro"), Path), Intro);
		EXPECT_EQ(Path, TEXT("/Game/Movies/Lessons/MP_Intro"));
	}
	// Two dots inside a folder's name are part of the name, not a step out of the content folder.
	FString DottedPath;
	EXPECT_NE(Pravella::LoadMediaPlayer(TEXT("MP_Dotted"), DottedPath), nullptr);
	EXPECT_EQ(DottedPath, TEXT("/Game/Vol..2/MP_Dotted"));
	// Of two assets of one name, the first the file manager lists wins.
	FString TwinPath;
	EXPECT_NE(Pravella::LoadMediaPlayer(TEXT("MP_Twin"), TwinPath), nullptr);
	EXPECT_EQ(TwinPath, TEXT("/Game/Twins/A/MP_Twin"));

	FString WrongPath; // named like a media player but holding something else: null, silently
	EXPECT_EQ(Pravella::LoadMediaPlayer(TEXT("MP_NotAPlayer"), WrongPath), nullptr);
	EXPECT_EQ(WrongPath, TEXT("/Game/Other/MP_NotAPlayer"));
	EXPECT_TRUE(GEngine->GetOnScreenDebugMessages().IsEmpty());

	FString BackupPath = TEXT("/Game/Gone/MP_Backup"); // only MP_Backup.uasset.bak exists
	EXPECT_EQ(Pravella::LoadMediaPlayer(TEXT("MP_Backup"), BackupPath), nullptr);
	EXPECT_EQ(BackupPath, TEXT("/Game/Gone/MP_Backup"));
	const TArray<FOnScreenDebugMessage> Messages = GEngine->GetOnScreenDebugMessages();
	ASSERT_EQ(Messages.Num(), 1);
	EXPECT_EQ(Messages[0].Text, TEXT("The instance named MP_Backup can't be found. Please check whether the name of "
	                                 "mediaplayer has been modified or deleted."));
	EXPECT_EQ(Messages[0].DisplayColor, FColor::Red);
}

namespace
{
// Stands in for a packaged game's pak: the one asset it holds loads from memory, and no file of it exists.
UObject* LoadFromPak(const FString& Path, const UClass* RequestedClass)
{
	static UMediaPlayer* Cooked = nullptr;
	if (Path != TEXT("/Game/Packaged/MP_Cooked"))
	{
		return nullptr;
	}
	if (!Cooked)
	{
		Cooked = NewObject<UMediaPlayer>();
		Cooked->AddToRoot();
	}
	return Cooked;
}
} // namespace

TEST_F(FLoadMediaPlayerTest, FindsAnAssetThatOnlyTheAssetRegistryKnowsAsAPackagedGameHasIt)
{
	static const bool bRegistered = (RegisterAssetLoader(&LoadFromPak), true);
	(void)bRegistered;
	FAssetData Cooked;
	Cooked.PackageName = FName(TEXT("/Game/Packaged/MP_Cooked"));
	Cooked.PackagePath = FName(TEXT("/Game/Packaged"));
	Cooked.AssetName = FName(TEXT("MP_Cooked"));
	Cooked.AssetClassPath = UMediaPlayer::StaticClass()->GetClassPathName();
	FHeadlessAssetRegistry::AddAsset(Cooked);

	FString AssetPath;
	UMediaPlayer* Found = Pravella::LoadMediaPlayer(TEXT("MP_Cooked"), AssetPath);
	FHeadlessAssetRegistry::RemoveAddedAssets();
	EXPECT_NE(Found, nullptr);
	EXPECT_EQ(AssetPath, TEXT("/Game/Packaged/MP_Cooked"));
	EXPECT_TRUE(GEngine->GetOnScreenDebugMessages().IsEmpty());
}
