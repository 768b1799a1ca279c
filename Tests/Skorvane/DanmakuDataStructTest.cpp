#include "DanmakuDataStruct.h"

#include "UObject/Class.h"

#include <gtest/gtest.h>

#include <utility>

TEST(DanmakuData, DefaultRecordIsEmpty)
{
	const FDanmakuData Data;
	EXPECT_TRUE(Data.UserDisplayName.IsEmpty());
	EXPECT_TRUE(Data.Content.IsEmpty());
	EXPECT_TRUE(Data.FontColor.IsEmpty());
	EXPECT_EQ(Data.PostDate.GetTicks(), 0);
	EXPECT_EQ(Data.SpawnTime, 0);

	const FDanmakuTrackData Tracks;
	EXPECT_EQ(Tracks.Tracks.Num(), 0);
	EXPECT_EQ(Tracks.Area, 75);
}

TEST(DanmakuData, CopiesAreIndependentAndMovesEmptyOnlyTheStrings)
{
	FDanmakuData Source;
	Source.DanmakuID = 7;
	Source.UserID = 9;
	Source.SpawnTime = 127000000;
	Source.Content = TEXT("first!");
	Source.UserDisplayName = TEXT("viewer");
	Source.FontColor = TEXT("#FE0302");
	Source.Mode = EDanmakuMode::REVERSE;

	FDanmakuData Copy = Source;
	Copy.Content = TEXT("changed");
	EXPECT_EQ(Source.Content, TEXT("first!"));

	FDanmakuData Assigned;
	Assigned = Source;
	EXPECT_EQ(Assigned.FontColor, TEXT("#FE0302"));
	EXPECT_EQ(Assigned.Mode, EDanmakuMode::REVERSE);

	FDanmakuData Moved = std::move(Source);
	EXPECT_EQ(Moved.Content, TEXT("first!"));
	EXPECT_EQ(Moved.SpawnTime, 127000000);
	EXPECT_TRUE(Source.Content.IsEmpty());
	EXPECT_TRUE(Source.UserDisplayName.IsEmpty());
	EXPECT_TRUE(Source.FontColor.IsEmpty());
	EXPECT_EQ(Source.DanmakuID, 7);
	EXPECT_EQ(Source.SpawnTime, 127000000);

	FDanmakuData MoveAssigned;
	MoveAssigned = std::move(Moved);
	EXPECT_EQ(MoveAssigned.UserDisplayName, TEXT("viewer"));
	EXPECT_TRUE(Moved.FontColor.IsEmpty());
	EXPECT_EQ(Moved.UserID, 9);
}

TEST(DanmakuData, ModesAreRegisteredUnderTheirQualifiedNames)
{
	const UEnum* Enum = StaticEnum<EDanmakuMode>();
	ASSERT_NE(Enum, nullptr);
	EXPECT_EQ(Enum->NumEnums(), 6);
	EXPECT_EQ(Enum->GetNameByValue(8).ToString(), TEXT("EDanmakuMode::EDanmakuMode_MAX"));
	EXPECT_EQ(Enum->GetNameByValue(0).ToString(), TEXT("EDanmakuMode::SCROLL"));
	EXPECT_EQ(Enum->GetNameByValue(1).ToString(), TEXT("EDanmakuMode::TOP"));
	EXPECT_EQ(Enum->GetNameByValue(2).ToString(), TEXT("EDanmakuMode::BOTTOM"));
	EXPECT_EQ(Enum->GetNameByValue(3).ToString(), TEXT("EDanmakuMode::REVERSE"));
	EXPECT_EQ(Enum->GetNameByValue(7).ToString(), TEXT("EDanmakuMode::POSITIONED"));
}
