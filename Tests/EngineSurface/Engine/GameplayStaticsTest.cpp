#include "Kismet/GameplayStatics.h"
#include "Headless/Utf8String.h"

#include "../Core/FileTestDirectory.h"
#include "EngineTestTypes.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>

namespace
{
// Points Saved/ at a fresh temporary folder for one test.
struct FSavedDir
{
	FFileTestDirectory Directory{"SaveGames"};
	FSavedDir() { FPaths::SetProjectSavedDir(Directory.Path()); }
	~FSavedDir() { FPaths::SetProjectSavedDir(FString()); }
	FString Slot(const char* Name) const { return Directory / (std::string("SaveGames/") + Name + ".sav").c_str(); }
};

UTestSaveGame* MakeSave(int32 FontSize, const FString& Title)
{
	UTestSaveGame* Save = Cast<UTestSaveGame>(UGameplayStatics::CreateSaveGameObject(UTestSaveGame::StaticClass()));
	Save->FontSize = FontSize;
	Save->Title = Title;
	return Save;
}

UTestSaveGame* Load(const TCHAR* Slot, int32 UserIndex = 0)
{
	return Cast<UTestSaveGame>(UGameplayStatics::LoadGameFromSlot(Slot, UserIndex));
}
} // namespace

TEST(GameplayStatics, SavedSlotReadsBackEveryNonTransientProperty)
{
	FSavedDir Saved;
	UTestSaveGame* Save = MakeSave(18, TEXT("line one\nsaid \"hi\" \\ back"));
	Save->SpeedScale = 1.25f;
	Save->bIsOpened = false;
	Save->Lanes = {3, 1, 2};
	Save->NotSaved = 99;

	ASSERT_TRUE(UGameplayStatics::SaveGameToSlot(Save, TEXT("Danmaku_SGSLOT"), 0));
	UTestSaveGame* Loaded = Load(TEXT("Danmaku_SGSLOT"));

	ASSERT_NE(Loaded, nullptr);
	EXPECT_NE(Loaded, Save);
	EXPECT_EQ(Loaded->FontSize, 18);
	EXPECT_EQ(Loaded->SpeedScale, 1.25f);
	EXPECT_FALSE(Loaded->bIsOpened);
	EXPECT_TRUE(Loaded->Title.Equals(TEXT("line one\nsaid \"hi\" \\ back")));
	EXPECT_EQ(Loaded->Lanes, (TArray<int32>{3, 1, 2}));
	EXPECT_EQ(Loaded->NotSaved, 0);
	EXPECT_TRUE(FPaths::FileExists(Saved.Slot("Danmaku_SGSLOT")));
}

TEST(GameplayStatics, MissingSlotAndSlotsOfOtherUsersAreSeparate)
{
	FSavedDir Saved;
	EXPECT_EQ(UGameplayStatics::LoadGameFromSlot(TEXT("Nothing"), 0), nullptr);
	EXPECT_FALSE(UGameplayStatics::DoesSaveGameExist(TEXT("Nothing"), 0));

	ASSERT_TRUE(UGameplayStatics::SaveGameToSlot(MakeSave(1, TEXT("user 0")), TEXT("Shared"), 0));
	ASSERT_TRUE(UGameplayStatics::SaveGameToSlot(MakeSave(2, TEXT("user 3")), TEXT("Shared"), 3));

	EXPECT_EQ(Load(TEXT("Shared"), 0)->FontSize, 1);
	EXPECT_EQ(Load(TEXT("Shared"), 3)->FontSize, 2);
	EXPECT_TRUE(UGameplayStatics::DeleteGameInSlot(TEXT("Shared"), 3));
	EXPECT_FALSE(UGameplayStatics::DoesSaveGameExist(TEXT("Shared"), 3));
	EXPECT_TRUE(UGameplayStatics::DoesSaveGameExist(TEXT("Shared"), 0));
}

TEST(GameplayStatics, DamagedOrForeignSlotLoadsAsNull)
{
	FSavedDir Saved;
	ASSERT_TRUE(UGameplayStatics::SaveGameToSlot(MakeSave(30, TEXT("good")), TEXT("Slot"), 0));
	FString Good;
	ASSERT_TRUE(FFileHelper::LoadFileToString(Good, *Saved.Slot("Slot")));

	const TArray<uint8> Garbage = {0x00, 0xFF, 0x13, 0x37, 0xC3, 0x28, 0x0A, 0x7B, 0x22, 0xFE};
	ASSERT_TRUE(FFileHelper::SaveArrayToFile(Garbage, *Saved.Slot("Slot")));
	EXPECT_EQ(UGameplayStatics::LoadGameFromSlot(TEXT("Slot"), 0), nullptr);

	FFileHelper::SaveStringToFile(Good.Left(Good.Len() / 2), *Saved.Slot("Slot"));
	EXPECT_EQ(UGameplayStatics::LoadGameFromSlot(TEXT("Slot"), 0), nullptr);

	FFileHelper::SaveStringToFile(Good.Replace(TEXT("FontSize=30"), TEXT("FontSize=31")), *Saved.Slot("Slot"));
	EXPECT_EQ(UGameplayStatics::LoadGameFromSlot(TEXT("Slot"), 0), nullptr);

	FFileHelper::SaveStringToFile(TEXT("{\"FontSize\": 30}"), *Saved.Slot("Slot"));
	EXPECT_EQ(UGameplayStatics::LoadGameFromSlot(TEXT("Slot"), 0), nullptr);

	// The program goes on: the slot can be written and read again.
	ASSERT_TRUE(UGameplayStatics::SaveGameToSlot(MakeSave(24, TEXT("again")), TEXT("Slot"), 0));
	EXPECT_EQ(Load(TEXT("Slot"))->FontSize, 24);
}

TEST(GameplayStatics, WriteThatFailsHalfWayLeavesTheOldSlotReadable)
{
	FSavedDir Saved;
	ASSERT_TRUE(UGameplayStatics::SaveGameToSlot(MakeSave(18, TEXT("old")), TEXT("Slot"), 0));

	// Files may not grow past 64 bytes, so the write of the large new slot stops part way, as on a full disk.
	rlimit Before{};
	ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &Before), 0);
	const auto PreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
	rlimit Small = Before;
	Small.rlim_cur = 64;
	ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &Small), 0);
	const bool bSaved = UGameplayStatics::SaveGameToSlot(MakeSave(40, FString::ChrN(10000, u'x')), TEXT("Slot"), 0);
	setrlimit(RLIMIT_FSIZE, &Before);
	std::signal(SIGXFSZ, PreviousHandler);

	EXPECT_FALSE(bSaved);
	UTestSaveGame* Loaded = Load(TEXT("Slot"));
	ASSERT_NE(Loaded, nullptr);
	EXPECT_EQ(Loaded->FontSize, 18);
	EXPECT_TRUE(Loaded->Title.Equals(TEXT("old")));
	EXPECT_FALSE(FPaths::FileExists(Saved.Slot("Slot") + TEXT(".tmp")));
}

TEST(GameplayStatics, WriteThatCannotStartLeavesTheOldSlotReadable)
{
	FSavedDir Saved;
	ASSERT_TRUE(UGameplayStatics::SaveGameToSlot(MakeSave(18, TEXT("old")), TEXT("Slot"), 0));
	// A folder where the temporary file would go makes the write fail before the slot is touched.
	ASSERT_TRUE(std::filesystem::create_directory(ToUtf8(Saved.Slot("Slot") + TEXT(".tmp"))));

	EXPECT_FALSE(UGameplayStatics::SaveGameToSlot(MakeSave(40, TEXT("new")), TEXT("Slot"), 0));

	ASSERT_NE(Load(TEXT("Slot")), nullptr);
	EXPECT_EQ(Load(TEXT("Slot"))->FontSize, 18);
}

TEST(GameplayStatics, StringsWithUnpairedSurrogatesSaveAndLoadAsTheyWere)
{
	FSavedDir Saved;
	ASSERT_TRUE(UGameplayStatics::SaveGameToSlot(MakeSave(18, TEXT("old")), TEXT("Slot"), 0));

	// Lone halves of a pair, a reversed pair, and a real pair with the escape's own characters beside it.
	FString Title;
	for (const TCHAR Unit : {u'a', TCHAR(0xD800), u'b', TCHAR(0xDC00), TCHAR(0xDFFF), TCHAR(0xDBFF), u'\\', u'u',
	                         TCHAR(0xD83D), TCHAR(0xDE00), TCHAR(0xD800)})
	{
		Title.AppendChar(Unit);
	}
	ASSERT_TRUE(UGameplayStatics::SaveGameToSlot(MakeSave(30, Title), TEXT("Slot"), 0));
	UTestSaveGame* Loaded = Load(TEXT("Slot"));
	ASSERT_NE(Loaded, nullptr);
	EXPECT_EQ(Loaded->FontSize, 30);
	EXPECT_TRUE(Loaded->Title.Equals(Title, ESearchCase::CaseSensitive));
}

TEST(GameplayStatics, SlotNamesThatLeaveTheFolderAreRefused)
{
	FSavedDir Saved;
	UTestSaveGame* Save = MakeSave(1, TEXT("x"));
	for (const TCHAR* Name : {TEXT("../x"), TEXT(".."), TEXT("/tmp/x"), TEXT("a/b"), TEXT("a\\b"), TEXT("C:x"),
	                          TEXT(""), TEXT("bad\nname")})
	{
		EXPECT_FALSE(UGameplayStatics::SaveGameToSlot(Save, Name, 0)) << ToUtf8(Name);
		EXPECT_EQ(UGameplayStatics::LoadGameFromSlot(Name, 0), nullptr) << ToUtf8(Name);
		EXPECT_FALSE(UGameplayStatics::DoesSaveGameExist(Name, 0)) << ToUtf8(Name);
	}
	EXPECT_FALSE(std::filesystem::exists(ToUtf8(Saved.Directory / "x.sav")));
	EXPECT_FALSE(std::filesystem::exists("/tmp/x.sav"));
	EXPECT_TRUE(UGameplayStatics::SaveGameToSlot(Save, TEXT("..fine"), 0));
}

TEST(GameplayStatics, CreateSaveGameObjectGivesClassDefaults)
{
	EXPECT_EQ(UGameplayStatics::CreateSaveGameObject(nullptr), nullptr);
	UTestSaveGame* Save = Cast<UTestSaveGame>(UGameplayStatics::CreateSaveGameObject(UTestSaveGame::StaticClass()));
	ASSERT_NE(Save, nullptr);
	EXPECT_EQ(Save->FontSize, 24);
	EXPECT_TRUE(Save->Title.Equals(TEXT("default")));
}
