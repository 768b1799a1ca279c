#include "DanmakuCommentFile.h"

#include "Headless/Utf8String.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

namespace
{
FString TempPath(const TCHAR* Name)
{
	return FPaths::Combine(FromUtf8(std::filesystem::temp_directory_path().string()),
	                       FString::Printf(TEXT("comment-file-%d-%s"), int32(getpid()), Name));
}

struct FSavedFile
{
	FString Path;
	FSavedFile(const TCHAR* Name, const FString& Text) : Path(TempPath(Name))
	{
		EXPECT_TRUE(FFileHelper::SaveStringToFile(Text, *Path));
	}
	~FSavedFile() { std::filesystem::remove(ToUtf8(Path)); }
};
} // namespace

TEST(DanmakuCommentFile, ChoosesTheFormatByExtensionThenByFirstCharacter)
{
	EXPECT_EQ(FDanmakuCommentFile::ChooseFormat(TEXT("a/lesson.XML"), TEXT("{}")), EDanmakuCommentFormat::Xml);
	EXPECT_EQ(FDanmakuCommentFile::ChooseFormat(TEXT("lesson.json"), TEXT("<i/>")), EDanmakuCommentFormat::Json);
	EXPECT_EQ(FDanmakuCommentFile::ChooseFormat(TEXT("lesson.txt"), TEXT("\xFEFF \n <i/>")),
	          EDanmakuCommentFormat::Xml);
	EXPECT_EQ(FDanmakuCommentFile::ChooseFormat(TEXT("comments"), TEXT(" {\"datas\":[]}")),
	          EDanmakuCommentFormat::Json);
	EXPECT_EQ(FDanmakuCommentFile::ChooseFormat(TEXT("comments"), TEXT("")), EDanmakuCommentFormat::Json);
}

TEST(DanmakuCommentFile, LoadsEitherFormatAndCountsWhatTheOverlayWillNotShow)
{
	const FSavedFile Xml(TEXT("a.xml"), TEXT("<i><d p=\"1,1,25,0\">a</d><d p=\"2,6,25,0\">reverse</d>"
	                                         "<d p=\"3,7,25,0\">special</d><d p=\"4,1,25,red\">bad</d></i>"));
	FDanmakuCommentFile File;
	FString Error;
	ASSERT_TRUE(File.Load(Xml.Path, Error)) << TCHAR_TO_UTF8(*Error);
	EXPECT_EQ(File.Format, EDanmakuCommentFormat::Xml);
	EXPECT_EQ(File.Comments, 3);
	EXPECT_EQ(File.NeverPlacedMode, 2);
	EXPECT_EQ(File.Skipped, 1);

	const FSavedFile Json(TEXT("b.json"), TEXT("{\"datas\":[{\"danmaku_mode\":0},{\"danmaku_mode\":3},5]}"));
	ASSERT_TRUE(File.Load(Json.Path, Error)) << TCHAR_TO_UTF8(*Error);
	EXPECT_EQ(File.Format, EDanmakuCommentFormat::Json);
	EXPECT_EQ(File.Comments, 2);
	EXPECT_EQ(File.NeverPlacedMode, 1);
	EXPECT_EQ(File.Skipped, 0);
}

TEST(DanmakuCommentFile, RefusesMissingAndBrokenFilesWithAMessage)
{
	FDanmakuCommentFile File;
	FString Error;
	EXPECT_FALSE(File.Load(TempPath(TEXT("missing.xml")), Error));
	EXPECT_TRUE(Error.Contains(TEXT("not found"))) << TCHAR_TO_UTF8(*Error);

	const FSavedFile Broken(TEXT("broken.xml"), TEXT("<i><d p=\"1,1,25,0\">a</i>"));
	EXPECT_FALSE(File.Load(Broken.Path, Error));
	EXPECT_TRUE(Error.Contains(TEXT("is not an XML comment document"))) << TCHAR_TO_UTF8(*Error);

	const FSavedFile WrongRoot(TEXT("root.xml"), TEXT("<html><d p=\"1,1,25,0\">a</d></html>"));
	EXPECT_FALSE(File.Load(WrongRoot.Path, Error));

	const FSavedFile NotJson(TEXT("c.json"), TEXT("[1]"));
	EXPECT_FALSE(File.Load(NotJson.Path, Error));
	EXPECT_TRUE(Error.Contains(TEXT("not a JSON object"))) << TCHAR_TO_UTF8(*Error);
}
