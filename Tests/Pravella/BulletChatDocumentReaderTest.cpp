#include "BulletChat/BulletChatDocumentReader.h"

#include <gtest/gtest.h>

namespace
{
TArray<FBulletChatData> Read(const TCHAR* Json)
{
	TArray<FBulletChatData> Records;
	FBulletChatDocumentReader::ReadDocument(Json, Records);
	return Records;
}
} // namespace

TEST(BulletChatDocumentReader, ReadsEveryKeyOfEachObjectInDatasAndSkipsOtherElements)
{
	const TArray<FBulletChatData> Records =
	    Read(TEXT("{\"other\":1,\"datas\":[{\"id\":7.9,\"post_id\":-7.9,\"bullet_chat_author_id\":12,"
	              "\"bullet_chat_author\":\"Ada\",\"bullet_chat_date\":\"2026.04.12-19.15.44\",\"time\":\"00:01:05\","
	              "\"bullet_chat_content\":\"hello\",\"fabulous\":3,\"extra\":[1,{}]},"
	              "5,\"text\",[{\"id\":1}],{\"bullet_chat_content\":\"last\"}]}"));
	ASSERT_EQ(Records.Num(), 2);
	const FBulletChatData& First = Records[0];
	EXPECT_EQ(First.ID, 7);
	EXPECT_TRUE(First.bHasID);
	EXPECT_EQ(First.PostID, -7);
	EXPECT_EQ(First.AuthorID, 12);
	EXPECT_EQ(First.Author, TEXT("Ada"));
	EXPECT_EQ(First.Date, FDateTime(2026, 4, 12, 19, 15, 44));
	EXPECT_EQ(First.Time, FTimespan(0, 1, 5));
	EXPECT_EQ(First.Content, TEXT("hello"));
	EXPECT_EQ(First.Fabulous, 3);

	const FBulletChatData& Last = Records[1];
	EXPECT_EQ(Last.Content, TEXT("last"));
	EXPECT_FALSE(Last.bHasID);
	EXPECT_EQ(Last.ID, 0);
	EXPECT_EQ(Last.Time, FTimespan(0));
}

TEST(BulletChatDocumentReader, NumbersAreClampedToInt32AndBadTimesStayZero)
{
	const TArray<FBulletChatData> Records =
	    Read(TEXT("{\"datas\":[{\"id\":1e12,\"post_id\":-1e12,\"fabulous\":\"12\",\"bullet_chat_author_id\":true,"
	              "\"time\":\"1:75:00\",\"bullet_chat_date\":\"yesterday\",\"bullet_chat_author\":5},"
	              "{\"id\":null,\"time\":\"1.00:00:05\"},{\"id\":\"x\"}]}"));
	ASSERT_EQ(Records.Num(), 3);
	EXPECT_EQ(Records[0].ID, MAX_int32);
	EXPECT_EQ(Records[0].PostID, MIN_int32);
	EXPECT_EQ(Records[0].Fabulous, 12) << "a number given as text is read";
	EXPECT_EQ(Records[0].AuthorID, 1);
	EXPECT_EQ(Records[0].Time, FTimespan(0));
	EXPECT_EQ(Records[0].Date, FDateTime(0));
	EXPECT_EQ(Records[0].Author, TEXT("5"));
	EXPECT_FALSE(Records[1].bHasID);
	EXPECT_EQ(Records[1].Time, FTimespan(1, 0, 0, 5, 0));
	EXPECT_FALSE(Records[2].bHasID) << "text that is no number gives no ID";
}

TEST(BulletChatDocumentReader, RefusesTextThatIsNotOneObjectWithADatasArray)
{
	const TCHAR* const Refused[] = {TEXT(""),
	                                TEXT("not json"),
	                                TEXT("[{\"id\":1}]"),
	                                TEXT("{\"datas\":5}"),
	                                TEXT("{\"other\":[]}"),
	                                TEXT("{\"datas\":[{\"id\":1}]} trailing"),
	                                TEXT("{\"datas\":[{\"id\":1},]}"),
	                                TEXT("{\"datas\":[{\"id\":1}")};
	for (const TCHAR* Json : Refused)
	{
		TArray<FBulletChatData> Records;
		EXPECT_FALSE(FBulletChatDocumentReader::ReadDocument(Json, Records)) << TCHAR_TO_UTF8(Json);
		EXPECT_EQ(Records.Num(), 0) << TCHAR_TO_UTF8(Json);
	}
	TArray<FBulletChatData> Records;
	EXPECT_TRUE(FBulletChatDocumentReader::ReadDocument(TEXT(" {\"datas\":[{\"id\":1}]}\n"), Records));
	EXPECT_EQ(Records.Num(), 1);
}
