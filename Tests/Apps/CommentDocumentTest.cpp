#include "CommentDocument.h"

#include "Misc/FileHelper.h"
#include "Misc/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
// Writes Text to a file of its own and reads it as a comment document.
bool ReadDocument(const FString& Text, FCommentDocument& Document, FString& Error)
{
	const FString Path = FString(std::filesystem::temp_directory_path().c_str()) +
	                     FString::Printf(TEXT("/comment-document-%d.json"), int32(std::rand()));
	FFileHelper::SaveStringToFile(Text, *Path);
	const bool bRead = Document.Read(Path, Error);
	std::filesystem::remove(TCHAR_TO_UTF8(*Path));
	return bRead;
}
} // namespace

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
	EXPECT_EQ(Document.NeverPlacedMode, 1);
	EXPECT_EQ(Document.ClampedIds, 2);
	EXPECT_EQ(Document.FirstClampedId, TEXT("3000000000"));
	EXPECT_EQ(Document.CountUnshowable(FCommentDocument::EUnshowable::NegativeTime), 1)
	    << "-0.9 s is filed under second 0 and shown; -1 s is not";
	EXPECT_EQ(Document.CountUnshowable(FCommentDocument::EUnshowable::TimeOutOfRange), 1);
	Document.FindPastTheEnd(60.0);
	Document.FindPastTheEnd(30.0);
	EXPECT_EQ(Document.CountUnshowable(FCommentDocument::EUnshowable::PastTheEnd), 1)
	    << "59.5 s is reached in a minute, 60 s is not; counted once";
	EXPECT_FALSE(Document.TakeText().IsEmpty());
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
	EXPECT_TRUE(Error.Contains(TEXT("cannot read"))) << TCHAR_TO_UTF8(*Error);
}
