#include "Misc/FileHelper.h"
#include "Headless/Utf8String.h"

#include "FileTestDirectory.h"

#include <gtest/gtest.h>

namespace
{
void WriteRaw(const FString& Path, const TArray<uint8>& Bytes)
{
	ASSERT_TRUE(FFileHelper::SaveArrayToFile(Bytes, *Path));
}
} // namespace

TEST(FileHelper, StringRoundTripIsUtf8WithoutMark)
{
	const FFileTestDirectory Dir("FileHelperString");
	const FString Path = Dir / "deep/folder/text.json";
	const FString Text(u"弹幕 \U0001F600 ok");
	ASSERT_TRUE(FFileHelper::SaveStringToFile(Text, *Path));

	TArray<uint8> Bytes;
	ASSERT_TRUE(FFileHelper::LoadFileToArray(Bytes, *Path));
	const std::string Expected = ToUtf8(Text);
	ASSERT_EQ(Bytes.Num(), int32(Expected.size()));
	EXPECT_EQ(Bytes[0], uint8(0xE5));

	FString Loaded;
	ASSERT_TRUE(FFileHelper::LoadFileToString(Loaded, *Path));
	EXPECT_TRUE(Loaded.Equals(Text));
}

TEST(FileHelper, LoadHonoursByteOrderMarks)
{
	const FFileTestDirectory Dir("FileHelperMarks");
	FString Loaded;
	WriteRaw(Dir / "utf8.txt", {0xEF, 0xBB, 0xBF, 'h', 'i'});
	ASSERT_TRUE(FFileHelper::LoadFileToString(Loaded, *(Dir / "utf8.txt")));
	EXPECT_TRUE(Loaded.Equals(TEXT("hi")));

	WriteRaw(Dir / "le.txt", {0xFF, 0xFE, 'h', 0, 0x3D, 0xD8, 0x00, 0xDE});
	ASSERT_TRUE(FFileHelper::LoadFileToString(Loaded, *(Dir / "le.txt")));
	EXPECT_TRUE(Loaded.Equals(FString(u"h\U0001F600")));

	WriteRaw(Dir / "be.txt", {0xFE, 0xFF, 0, 'h', 0x4E, 0x2D});
	ASSERT_TRUE(FFileHelper::LoadFileToString(Loaded, *(Dir / "be.txt")));
	EXPECT_TRUE(Loaded.Equals(FString(u"h\u4E2D")));

	WriteRaw(Dir / "bad.txt", {'a', 0xFF, 'b'});
	ASSERT_TRUE(FFileHelper::LoadFileToString(Loaded, *(Dir / "bad.txt")));
	EXPECT_TRUE(Loaded.Equals(FString(u"a\uFFFDb")));
}

TEST(FileHelper, EncodingOptionsAndMissingFiles)
{
	const FFileTestDirectory Dir("FileHelperOptions");
	TArray<uint8> Bytes;
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("A"), *(Dir / "bom.txt"), FFileHelper::EEncodingOptions::ForceUTF8));
	ASSERT_TRUE(FFileHelper::LoadFileToArray(Bytes, *(Dir / "bom.txt")));
	EXPECT_EQ(Bytes, (TArray<uint8>{0xEF, 0xBB, 0xBF, 'A'}));
	ASSERT_TRUE(
	    FFileHelper::SaveStringToFile(TEXT("A"), *(Dir / "wide.txt"), FFileHelper::EEncodingOptions::ForceUnicode));
	ASSERT_TRUE(FFileHelper::LoadFileToArray(Bytes, *(Dir / "wide.txt")));
	EXPECT_EQ(Bytes, (TArray<uint8>{0xFF, 0xFE, 'A', 0}));

	FString Loaded(TEXT("kept"));
	EXPECT_FALSE(FFileHelper::LoadFileToString(Loaded, *(Dir / "missing.txt")));
	EXPECT_FALSE(FFileHelper::LoadFileToString(Loaded, *Dir.Path()));
	EXPECT_TRUE(Loaded.Equals(TEXT("kept")));
	EXPECT_FALSE(FFileHelper::LoadFileToArray(Bytes, *(Dir / "missing.txt")));
}
