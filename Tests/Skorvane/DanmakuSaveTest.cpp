#include "DanmakuSave.h"

#include "DanmakuTestSaves.h"
#include "Kismet/GameplayStatics.h"
#include "Misc/Paths.h"
#include "TemporarySavedDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace
{
const TCHAR* const Slot = TEXT("Danmaku_SGSLOT");
} // namespace

TEST(DanmakuSave, FirstUseGivesTheDefaultsAndCreatesTheSlot)
{
	FTemporarySavedDir Saved("FirstUse");
	EXPECT_FALSE(UGameplayStatics::DoesSaveGameExist(Slot, 0));
	EXPECT_EQ(UDanmakuSave::LoadFontSize(), 24);
	EXPECT_TRUE(UGameplayStatics::DoesSaveGameExist(Slot, 0));
	EXPECT_FLOAT_EQ(UDanmakuSave::LoadSpeedScale(), 1.0f);
	EXPECT_TRUE(UDanmakuSave::LoadIsOpend());
}

TEST(DanmakuSave, EachSettingIsSavedOnItsOwnAndReadBackFromStorage)
{
	FTemporarySavedDir Saved("RoundTrip");
	UDanmakuSave::SaveIsOpend(false);
	UDanmakuSave::SaveFontSize(30);
	UDanmakuSave::SaveSpeedScale(1.5f);
	EXPECT_EQ(UDanmakuSave::LoadFontSize(), 30);
	EXPECT_FLOAT_EQ(UDanmakuSave::LoadSpeedScale(), 1.5f);
	EXPECT_FALSE(UDanmakuSave::LoadIsOpend()) << "saving the others keeps the stored switch";

	// Nothing is cached: a slot deleted behind the store's back starts over.
	ASSERT_TRUE(UGameplayStatics::DeleteGameInSlot(Slot, 0));
	EXPECT_EQ(UDanmakuSave::LoadFontSize(), 24);
	EXPECT_TRUE(UDanmakuSave::LoadIsOpend());
}

TEST(DanmakuSave, SlotHoldingAnotherSaveClassIsOverwrittenWithTheDefaults)
{
	FTemporarySavedDir Saved("Foreign");
	ASSERT_TRUE(UGameplayStatics::SaveGameToSlot(NewObject<UForeignTestSave>(), Slot, 0));
	EXPECT_EQ(UDanmakuSave::LoadFontSize(), 24);
	EXPECT_NE(Cast<UDanmakuSave>(UGameplayStatics::LoadGameFromSlot(Slot, 0)), nullptr);
}

TEST(DanmakuSave, UnwritableStorageGivesTheDefaultsAndWritesNothing)
{
	FTemporarySavedDir Saved("Unwritable");
	// A plain file where the saved-games folder should be: no slot can be created under it, not even as root.
	const std::filesystem::path Blocker = Saved.Root / "NotAFolder";
	std::ofstream(Blocker) << "x";
	FPaths::SetProjectSavedDir(FString(Blocker.generic_string().c_str()));

	UDanmakuSave::SaveFontSize(30);
	UDanmakuSave::SaveIsOpend(false);
	EXPECT_EQ(UDanmakuSave::LoadFontSize(), 24);
	EXPECT_FLOAT_EQ(UDanmakuSave::LoadSpeedScale(), 1.0f);
	EXPECT_TRUE(UDanmakuSave::LoadIsOpend());
	EXPECT_FALSE(UGameplayStatics::DoesSaveGameExist(Slot, 0));
}
