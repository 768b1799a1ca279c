#include "CommentDocument.h"

#include "Misc/FileHelper.h"
#include "Misc/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sys/stat.h>

namespace
{
// Writes Text to a file of its own and reads it as a comment document. The name is drawn from the system's entropy:
// ctest runs these tests in parallel processes, where std::rand would draw the same names.
bool ReadDocument(const FString& Text, FCommentDocument& Document, FString& Error,
                  const TCHAR* Extension = TEXT("json"),
                  FFileHelper::EEncodingOptions Encoding = FFileHelper::EEncodingOptions::AutoDetect)
{
	const FString Path = FString(std::filesystem::temp_directory_path().c_str()) +
	                     FString::Printf(TEXT("/comment-document-%u.%s"), std::random_device()(), Extension);
	FFileHelper::SaveStringToFile(Text, *Path, Encoding);
	const bool bRead = Document.Read(Path, Error);
	std::filesystem::remove(TCHAR_TO_UTF8(*Path));
	return bRead;
}
} // namespace

// What the overlay's reader counts is tested with the reader; here, what the programs make of it.
TEST(CommentDocument, CountsWhatTheOverlayWillNeverShowAsTheOverlayReadsIt)
{
	FCommentDocument Document;
	FString Error;
	// Times and modes as numbers, numeric strings or words; the last "datas" counts.
	ASSERT_TRUE(ReadDocument(
	    TEXT("{\"datas\":[{\"danmaku_id\":9}],\"datas\":[7,[1],{\"danmaku_id\":1,\"danmaku_spawn_time\":5e6},"
	         "{\"danmaku_id\":2,\"danmaku_spawn_time\":-9e6},{\"danmaku_id\":3,\"danmaku_spawn_time\":-1e7},"
	         "{\"danmaku_id\":4,\"danmaku_spawn_time\":1e400},{\"danmaku_id\":5,\"danmaku_spawn_time\":null},"
	         "{\"danmaku_id\":3e9,\"danmaku_spawn_time\":595000000,\"danmaku_mode\":3},"
	         "{\"danmaku_id\":-3e9,\"danmaku_spawn_time\":600000000,\"danmaku_mode\":\"2\"}],\"other\":{\"a\":[]}}"),
	    Document, Error))
	    << TCHAR_TO_UTF8(*Error);
	EXPECT_EQ(Document.Comments, 7);
	EXPECT_EQ(Document.NeverPlacedMode, 0);
	EXPECT_EQ(Document.Reverse, 1);
	EXPECT_EQ(Document.CountUnshowable(FCommentDocument::EUnshowable::NegativeTime), 1)
	    << "-0.9 s is filed under second 0 and shown; -1 s is not";
	EXPECT_EQ(Document.CountUnshowable(FCommentDocument::EUnshowable::TimeOutOfRange), 1);
	// The run played second 0 only.
	Document.SetDuration(60.0);
	TMap<int64, int32> Due;
	Due.Add(0, 1);
	EXPECT_EQ(Document.SettleAfterRun(Due).Num(), 1);
	EXPECT_EQ(Document.SettleAfterRun(TMap<int64, int32>()).Num(), 0);
	EXPECT_EQ(Document.CountUnshowable(FCommentDocument::EUnshowable::PastTheEnd), 1)
	    << "60 s lies past the end of a minute; counted once";
	EXPECT_EQ(Document.NotReached, 1) << "59.5 s could be reached but was not";

	// A lesson of no length reaches no second: its comments all lie past its end.
	FCommentDocument Empty;
	ASSERT_TRUE(
	    ReadDocument(TEXT("{\"datas\":[{\"danmaku_spawn_time\":0},{\"danmaku_spawn_time\":5e6}]}"), Empty, Error));
	Empty.SetDuration(0.0);
	EXPECT_EQ(Empty.SettleAfterRun(TMap<int64, int32>()).Num(), 2);
	EXPECT_EQ(Document.Format, FCommentDocument::EFormat::Json);
}

TEST(CommentDocument, ChoosesTheFormatByExtensionThenByFirstCharacter)
{
	using EFormat = FCommentDocument::EFormat;
	EXPECT_EQ(FCommentDocument::ChooseFormat(TEXT("a/lesson.XML"), u8"{}"), EFormat::Xml);
	EXPECT_EQ(FCommentDocument::ChooseFormat(TEXT("lesson.json"), u8"<i/>"), EFormat::Json);
	EXPECT_EQ(FCommentDocument::ChooseFormat(TEXT("lesson.txt"), u8"\uFEFF \n <i/>"), EFormat::Xml);
	EXPECT_EQ(FCommentDocument::ChooseFormat(TEXT("comments"), u8" {\"datas\":[]}"), EFormat::Json);
	EXPECT_EQ(FCommentDocument::ChooseFormat(TEXT("comments"), u8""), EFormat::Json);
}

TEST(CommentDocument, CountsAnXmlDocumentAsTheOverlayWillFileIt)
{
	FCommentDocument Document;
	FString Error;
	ASSERT_TRUE(ReadDocument(TEXT("<i><d p=\"1,1,25,0\">a</d><d p=\"2,6,25,0\">reverse</d>"
	                              "<d p=\"3,7,25,0\">[0,0,\"1-1\",4,\"positioned\"]</d><d p=\"4,1,25,red\">bad</d>"
	                              "<d p=\"5,8,25,0\">code</d><d p=\"6,1,25,4294967295\">white</d>"
	                              "<d p=\"-2,1,25,0\">early</d><d p=\"90,5,25,0\">at the end</d></i>"),
	                         Document, Error, TEXT("xml")))
	    << TCHAR_TO_UTF8(*Error);
	EXPECT_EQ(Document.Format, FCommentDocument::EFormat::Xml);
	EXPECT_EQ(Document.Comments, 7);
	EXPECT_EQ(Document.NeverPlacedMode, 1);
	EXPECT_EQ(Document.Reverse, 1);
	EXPECT_EQ(Document.CountUnshowable(FCommentDocument::EUnshowable::NegativeTime), 1);
	// A lesson of exactly 90 s whose clock landed on its last second: the comment there was due, not past the end.
	Document.SetDuration(90.0);
	TMap<int64, int32> Due;
	for (const int64 Second : {1, 2, 3, 5, 6, 90})
	{
		Due.Add(Second, 1);
	}
	EXPECT_EQ(Document.SettleAfterRun(Due).Num(), 0);
	EXPECT_EQ(Document.NotReached, 0);

	// Without an extension that says, the first character does, however many blanks come before it.
	for (const int32 Blanks : {2, 10000})
	{
		ASSERT_TRUE(ReadDocument(FString::ChrN(Blanks, u' ') + TEXT("<i><d p=\"1,1,25,0\">a</d></i>"), Document, Error,
		                         TEXT("txt")))
		    << TCHAR_TO_UTF8(*Error);
		EXPECT_EQ(Document.Format, FCommentDocument::EFormat::Xml);
		EXPECT_EQ(Document.Comments, 1);
		EXPECT_EQ(Document.Skipped, 0);
	}
}

TEST(CommentDocument, SaysWhatIsWrongAndWhere)
{
	const auto ErrorOf = [](const TCHAR* Text)
	{
		FCommentDocument Document;
		FString Error;
		EXPECT_FALSE(ReadDocument(Text, Document, Error)) << TCHAR_TO_UTF8(Text);
		return Error;
	};
	EXPECT_TRUE(ErrorOf(TEXT("{\"datas\":[\n{\"danmaku_id\":1}\n]} x")).EndsWith(TEXT("Line: 3 Ch: 4")));
	EXPECT_TRUE(ErrorOf(TEXT("{\"datas\":[{\"danmaku_id\":tru}]}")).Contains(TEXT("is not valid JSON")));
	EXPECT_TRUE(ErrorOf(TEXT("[{\"datas\":[]}]")).Contains(TEXT("not a comment document")));
	EXPECT_TRUE(ErrorOf(TEXT("{\"datas\":[],\"datas\":{}}")).Contains(TEXT("has no \"datas\" array")));
	EXPECT_TRUE(ErrorOf(TEXT("{\"data\":[]}")).Contains(TEXT("has no \"datas\" array")));
	FCommentDocument Missing;
	FString Error;
	EXPECT_FALSE(Missing.Read(TEXT("/nonexistent/comments.json"), Error));
	EXPECT_TRUE(Error.Contains(TEXT("not found"))) << TCHAR_TO_UTF8(*Error);
	// A folder, a FIFO (reading it would wait for a writer) or a device is named for what it is, and never read.
	const std::filesystem::path Fifo =
	    std::filesystem::temp_directory_path() / ("comment-fifo-" + std::to_string(std::random_device()()));
	ASSERT_EQ(mkfifo(Fifo.c_str(), 0600), 0);
	const FString FifoPath(Fifo.c_str());
	EXPECT_FALSE(Missing.Read(FifoPath, Error));
	EXPECT_TRUE(Error.Contains(TEXT("is not a regular file"))) << TCHAR_TO_UTF8(*Error);
	std::filesystem::remove(Fifo);
	EXPECT_FALSE(Missing.Read(TEXT("/dev/zero"), Error));
	EXPECT_TRUE(Error.Contains(TEXT("/dev/zero is not a regular file"))) << TCHAR_TO_UTF8(*Error);
	EXPECT_FALSE(Missing.Read(FString(std::filesystem::temp_directory_path().c_str()), Error));
	EXPECT_TRUE(Error.Contains(TEXT("is a folder, not a file"))) << TCHAR_TO_UTF8(*Error);

	const auto XmlErrorOf = [](const TCHAR* Text)
	{
		FCommentDocument Document;
		FString Error;
		EXPECT_FALSE(ReadDocument(Text, Document, Error, TEXT("xml"))) << TCHAR_TO_UTF8(Text);
		return Error;
	};
	EXPECT_TRUE(XmlErrorOf(TEXT("<i><d p=\"1,1,25,0\">a</i>")).Contains(TEXT("is not an XML comment document")));
	EXPECT_TRUE(XmlErrorOf(TEXT("<html><d p=\"1,1,25,0\">a</d></html>")).Contains(TEXT("<i> root")));
}

TEST(CommentDocument, ReadsUtf8AndUtf16FilesAlike)
{
	using EEncoding = FFileHelper::EEncodingOptions;
	for (const EEncoding Encoding : {EEncoding::ForceUTF8, EEncoding::ForceUTF8WithoutBOM, EEncoding::ForceUnicode})
	{
		FCommentDocument Document;
		FString Error;
		ASSERT_TRUE(ReadDocument(TEXT("{\"datas\":[{\"danmaku_id\":\"３\",\"danmaku_content\":\"前方高能😀\"},"
		                              "{\"danmaku_id\":5e9,\"danmaku_spawn_time\":-2e7}]}"),
		                         Document, Error, TEXT("json"), Encoding))
		    << TCHAR_TO_UTF8(*Error);
		EXPECT_EQ(Document.Comments, 2);
		EXPECT_EQ(Document.CountUnshowable(FCommentDocument::EUnshowable::NegativeTime), 1);

		// The fault's character counts characters, whatever the bytes of the ones before it.
		EXPECT_FALSE(ReadDocument(TEXT("{\"datas\":[\n{\"c\":\"前方\"} x"), Document, Error, TEXT("json"), Encoding));
		EXPECT_TRUE(Error.EndsWith(TEXT("Line: 2 Ch: 12"))) << TCHAR_TO_UTF8(*Error);
	}
}
