#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"
#include "Serialization/Archive.h"

#include "FileTestDirectory.h"

#include <gtest/gtest.h>

#include <memory>

TEST(FileManager, MakeMoveSizeDelete)
{
	const FFileTestDirectory Dir("FileManager");
	IFileManager& Files = IFileManager::Get();
	EXPECT_FALSE(Files.MakeDirectory(*(Dir / "a/b/c")));
	EXPECT_TRUE(Files.MakeDirectory(*(Dir / "a/b/c"), true));
	EXPECT_TRUE(Files.DirectoryExists(*(Dir / "a/b")));

	const FString Temp = Dir / "a/slot.tmp";
	const FString Final = Dir / "a/slot.sav";
	EXPECT_EQ(Files.FileSize(*Temp), -1);
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("new"), *Temp));
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("older"), *Final));
	EXPECT_EQ(Files.FileSize(*Temp), 3);
	EXPECT_FALSE(Files.Move(*Final, *Temp, false));
	EXPECT_TRUE(Files.Move(*Final, *Temp));
	EXPECT_FALSE(Files.FileExists(*Temp));
	EXPECT_EQ(Files.FileSize(*Final), 3);
	EXPECT_FALSE(Files.Move(*Final, *Temp));

	// A reader hands out the bytes in order; reading past the end sets the error and leaves the rest as it was.
	const std::unique_ptr<FArchive> Reader(Files.CreateFileReader(*Final));
	ASSERT_TRUE(Reader);
	char Bytes[4] = {'-', '-', '-', '-'};
	Reader->Serialize(Bytes, 2);
	EXPECT_EQ(Reader->Tell(), 2);
	EXPECT_FALSE(Reader->AtEnd());
	Reader->Serialize(Bytes + 2, 2);
	EXPECT_TRUE(Reader->IsError());
	EXPECT_EQ(std::string(Bytes, 4), "ne--");
	EXPECT_FALSE(Files.CreateFileReader(*Temp));
	EXPECT_FALSE(Files.CreateFileReader(*(Dir / "a")));

	EXPECT_TRUE(Files.Delete(*Final));
	EXPECT_FALSE(Files.FileExists(*Final));
	EXPECT_TRUE(Files.Delete(*Final));
	EXPECT_FALSE(Files.Delete(*Final, true));
	EXPECT_FALSE(Files.Delete(*(Dir / "a")));
	EXPECT_TRUE(Files.DeleteDirectory(*(Dir / "a"), true, true));
	EXPECT_FALSE(Files.DirectoryExists(*(Dir / "a")));
}

TEST(FileManager, FindFilesFiltersByExtension)
{
	const FFileTestDirectory Dir("FindFiles");
	for (const char* Name : {"b.json", "a.JSON", "c.txt", "sub/d.json"})
	{
		ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("{}"), *(Dir / Name)));
	}
	TArray<FString> Found;
	IFileManager::Get().FindFiles(Found, *Dir.Path(), TEXT("*.json"));
	ASSERT_EQ(Found.Num(), 2);
	EXPECT_EQ(Found[0], TEXT("a.JSON"));
	EXPECT_EQ(Found[1], TEXT("b.json"));

	Found.Reset();
	IFileManager::Get().FindFiles(Found, *Dir.Path(), nullptr);
	EXPECT_EQ(Found.Num(), 3);
}

TEST(FileManager, FindFilesRecursiveListsFullPathsInStableOrder)
{
	const FFileTestDirectory Dir("FindRecursive");
	for (const char* Name : {"Content/Movies/Lessons/MP_Intro.uasset", "Content/A.uasset", "Content/Movies/MP_B.txt"})
	{
		ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("x"), *(Dir / Name)));
	}
	TArray<FString> Found;
	Found.Add(TEXT("stale"));
	IFileManager::Get().FindFilesRecursive(Found, *(Dir / "Content/"), TEXT("*.*"), true, false);
	ASSERT_EQ(Found.Num(), 3);
	EXPECT_EQ(Found[0], Dir / "Content/A.uasset");
	EXPECT_EQ(Found[1], Dir / "Content/Movies/MP_B.txt");
	EXPECT_EQ(Found[2], Dir / "Content/Movies/Lessons/MP_Intro.uasset");

	IFileManager::Get().FindFilesRecursive(Found, *(Dir / "Content"), TEXT("mp_*.UASSET"), true, false);
	ASSERT_EQ(Found.Num(), 1);
	EXPECT_EQ(Found[0], Dir / "Content/Movies/Lessons/MP_Intro.uasset");

	IFileManager::Get().FindFilesRecursive(Found, *(Dir / "Content"), TEXT("*"), false, true);
	ASSERT_EQ(Found.Num(), 2);
	EXPECT_EQ(Found[0], Dir / "Content/Movies");
	EXPECT_EQ(Found[1], Dir / "Content/Movies/Lessons");
}
