#include "BulletChat/BulletChatSave.h"

#include "BulletChatTestTypes.h"
#include "Kismet/GameplayStatics.h"
#include "Misc/Paths.h"
#include "TemporarySavedDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace
{
const TCHAR* const Slot = TEXT("BULLETCHAT_SGSLOT");
} // namespace

TEST(BulletChatSave, FirstUseCreatesTheSlotWithTheDefaultsAndEachSettingIsKeptOnItsOwn)
{
	FTemporarySavedDir Saved("RoundTrip");
	// Another game's object under the slot's name counts as no slot.
	ASSERT_TRUE(UGameplayStatics::SaveGameToSlot(NewObject<UForeignBulletChatSave>(), Slot, 0));
	EXPECT_TRUE(UBulletChatSave::LoadIsOpend());
	EXPECT_NE(Cast<UBulletChatSave>(UGameplayStatics::LoadGameFromSlot(Slot, 0)), nullptr);
	EXPECT_FALSE(UGameplayStatics::DoesSaveGameExist(TEXT("Danmaku_SGSLOT"), 0)) << "its own slot";
	EXPECT_EQ(UBulletChatSave::LoadFontSize(), 24);
	EXPECT_FLOAT_EQ(UBulletChatSave::LoadSpeedScale(), 1.0f);

	UBulletChatSave::SaveIsOpend(false);
	UBulletChatSave::SaveFontSize(30);
	UBulletChatSave::SaveSpeedScale(1.5f);
	EXPECT_EQ(UBulletChatSave::LoadFontSize(), 30);
	EXPECT_FLOAT_EQ(UBulletChatSave::LoadSpeedScale(), 1.5f);
	EXPECT_FALSE(UBulletChatSave::LoadIsOpend());

	// Nothing is cached: a slot deleted behind the store's back starts over.
	ASSERT_TRUE(UGameplayStatics::DeleteGameInSlot(Slot, 0));
	EXPECT_EQ(UBulletChatSave::LoadFontSize(), 24);
}

TEST(BulletChatSave, UnwritableStorageGivesTheDefaultsAndWritesNothing)
{
	FTemporarySavedDir Saved("Unwritable");
	// A plain file where the saved-games folder should be: no slot can be created under it, not even as root.
	const std::filesystem::path Blocker = Saved.Root / "NotAFolder";
	std::ofstream(Blocker) << "x";
	FPaths::SetProjectSavedDir(FString(Blocker.generic_string().c_str()));

	UBulletChatSave::SaveFontSize(30);
	UBulletChatSave::SaveSpeedScale(2.0f);
	UBulletChatSave::SaveIsOpend(false);
	EXPECT_EQ(UBulletChatSave::LoadFontSize(), 24);
	EXPECT_FLOAT_EQ(UBulletChatSave::LoadSpeedScale(), 1.0f);
	EXPECT_TRUE(UBulletChatSave::LoadIsOpend());
	EXPECT_FALSE(UGameplayStatics::DoesSaveGameExist(Slot, 0));
}
