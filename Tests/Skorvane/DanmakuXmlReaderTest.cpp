#include "DanmakuXmlReader.h"

#include "Logging/LogMacros.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

namespace
{
TArray<FDanmakuData> ReadOk(const FString& Xml, int32* OutSkipped = nullptr, int32* OutMasked = nullptr)
{
	TArray<FDanmakuData> Records;
	EXPECT_TRUE(FDanmakuXmlReader::Read(Xml, Records, OutSkipped, OutMasked)) << TCHAR_TO_UTF8(*Xml);
	return Records;
}

FString Document(const FString& Comments)
{
	return FString(TEXT("<?xml version=\"1.0\" encoding=\"UTF-8\"?><i><chatserver>chat.example</chatserver>"
	                    "<chatid>42</chatid><maxlimit>3000</maxlimit>")) +
	       Comments + TEXT("</i>");
}
} // namespace

TEST(DanmakuXmlReader, MapsEveryModeAndReadsEachFieldOfAComment)
{
	const TArray<FDanmakuData> Records = ReadOk(
	    Document(TEXT("<d p=\"12.3456789,1,25,16646914,1712949344,0,9f3a1b2c,31415926\">one</d>"
	                  "<d p=\"0.05,2,18,0\">two</d><d p=\"3,3,36,255\">three</d><d p=\"4,4,25,16777215\">bottom</d>"
	                  "<d p=\"5,5,25,65280\">top</d><d p=\"6,6,25,16777215\">reverse</d>"
	                  "<d p=\"7,7,25,16777215\">[0,0,\"1-1\",4.5,\"advanced\"]</d><d p=\"8,8,25,0\">code</d>")));
	ASSERT_EQ(Records.Num(), 8);

	const EDanmakuMode Expected[] = {EDanmakuMode::SCROLL, EDanmakuMode::SCROLL, EDanmakuMode::SCROLL,
	                                 EDanmakuMode::BOTTOM, EDanmakuMode::TOP,    EDanmakuMode::REVERSE,
	                                 EDanmakuMode(7),      EDanmakuMode(8)};
	for (int32 Index = 0; Index < Records.Num(); ++Index)
	{
		EXPECT_EQ(Records[Index].Mode, Expected[Index]) << "comment " << Index;
	}

	const FDanmakuData& First = Records[0];
	EXPECT_EQ(First.SpawnTime, 123456789);
	EXPECT_EQ(First.FontSize, 25);
	EXPECT_EQ(First.FontColor, TEXT("#FE0302"));
	EXPECT_EQ(First.PostDate, FDateTime(2024, 4, 12, 19, 15, 44));
	EXPECT_EQ(First.UserDisplayName, TEXT("9f3a1b2c"));
	EXPECT_EQ(First.DanmakuID, 31415926);
	EXPECT_EQ(First.Content, TEXT("one"));

	// A comment with only the four fields the format requires.
	EXPECT_EQ(Records[1].SpawnTime, 500000);
	EXPECT_EQ(Records[1].FontColor, TEXT("#000000"));
	EXPECT_EQ(Records[1].PostDate, FDateTime());
	EXPECT_EQ(Records[1].DanmakuID, 0);
	EXPECT_EQ(Records[1].UserDisplayName, TEXT(""));
	EXPECT_EQ(Records[2].FontColor, TEXT("#0000FF"));
	EXPECT_EQ(Records[4].FontColor, TEXT("#00FF00"));
	EXPECT_EQ(Records[6].Content, TEXT("[0,0,\"1-1\",4.5,\"advanced\"]"));
}

TEST(DanmakuXmlReader, DecodesEntitiesAndKeepsCharactersBeyondTheBmp)
{
	const TArray<FDanmakuData> Records = ReadOk(
	    TEXT("<!DOCTYPE i [<!ENTITY course \"线性代数\">]><i>"
	         "<d p=\"1&#44;1,25,16777215\">&lt;b&gt;bold&lt;/b&gt; &amp; &quot;quoted&quot; &apos;single&apos;</d>"
	         "<d p=\"2,1,25,16777215\">&#x1F600;&#128514; 𠮷野家 &#20013;&#x6587; &course;</d>"
	         "<d p=\"3,1,25,16777215\"><![CDATA[<not a tag> & raw]]>  spaced  </d></i>"));
	ASSERT_EQ(Records.Num(), 3);
	EXPECT_EQ(Records[0].SpawnTime, 10000000);
	EXPECT_EQ(Records[0].Content, TEXT("<b>bold</b> & \"quoted\" 'single'"));

	const FString Emoji = Records[1].Content;
	const FString Expected = FString(TEXT("\xD83D\xDE00\xD83D\xDE02 \xD842\xDFB7野家 中文 线性代数"));
	EXPECT_EQ(Emoji, Expected);
	EXPECT_EQ(Emoji.Len(), Expected.Len()) << "each non-BMP character is one surrogate pair";
	EXPECT_EQ(Records[2].Content, TEXT("<not a tag> & raw  spaced  "));
}

TEST(DanmakuXmlReader, IdsBeyondTheRecordsRangeKeepTheCommentWithMinusItsPosition)
{
	const TArray<FDanmakuData> Records =
	    ReadOk(Document(TEXT("<d p=\"1,1,25,0,0,0,u,2147483647\">max</d>"
	                         "<d p=\"1,1,25,0,0,0,u,2147483648\">just beyond</d>"
	                         "<d p=\"1,1,25,0,0,0,u,45786327839981568\">row id</d>"
	                         "<d p=\"1,1,25,0,0,0,u,123456789012345678901234567890\">beyond 64 bits</d>"
	                         "<d p=\"1,1,25,0,0,0,u,\">empty id</d>"
	                         "<d p=\"1,1,25,0,0,0,u,18446744073709551621\">wraps around 64 bits</d>"
	                         "<d p=\"1,18446744073709551620,25,0\">mode that wraps to 4</d>")));
	ASSERT_EQ(Records.Num(), 6) << "a mode of twenty digits is refused, not read as 4";
	EXPECT_EQ(Records[5].DanmakuID, -6) << "twenty digits are beyond the range, not a small id";
	EXPECT_EQ(Records[0].DanmakuID, MAX_int32);
	EXPECT_EQ(Records[1].DanmakuID, -2);
	EXPECT_EQ(Records[2].DanmakuID, -3);
	EXPECT_EQ(Records[3].DanmakuID, -4);
	EXPECT_EQ(Records[3].Content, TEXT("beyond 64 bits"));
	EXPECT_EQ(Records[4].DanmakuID, 0);
}

TEST(DanmakuXmlReader, BadOrMissingAttributesSkipOnlyThatCommentWithALogLine)
{
	FLogCapture Log;
	int32 Skipped = -1;
	int32 Masked = -1;
	const TArray<FDanmakuData> Records = ReadOk(
	    Document(TEXT("<d p=\"1,1,25,0\">kept 1</d>"
	                  "<d>no p</d><d q=\"1,1,25,0\">other attribute</d><d p=\"1,1\">two fields</d>"
	                  "<d p=\"abc,1,25,0\">bad time</d><d p=\"nan,1,25,0\">nan time</d>"
	                  "<d p=\"1e300,1,25,0\">huge time</d><d p=\"1,0,25,0\">mode 0</d>"
	                  "<d p=\"1,-1,25,0\">negative mode</d><d p=\"1,x,25,0\">mode x</d>"
	                  "<d p=\"1,1,-3,0\">negative size</d><d p=\"1,1,25,9223372036854775807\">largest colour</d>"
	                  "<d p=\"1,1,25,#FF0000\">hex colour</d><d p=\"1,1,25,0,yester&#9;day"
	                  "yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy\">"
	                  "bad post time</d>"
	                  "<d p=\"1,1,25,0,0,0,u,12ab\">bad id</d><d p=\"1,1,25,9223372036854775808\">colour beyond</d>"
	                  "<d p=\" -2.5 , 1 , 25 , 0 \">kept 2</d>")),
	    &Skipped, &Masked);
	ASSERT_EQ(Records.Num(), 3);
	EXPECT_EQ(Records[0].Content, TEXT("kept 1"));
	// Players of the format keep the low 24 bits of a larger colour.
	EXPECT_EQ(Records[1].Content, TEXT("largest colour"));
	EXPECT_EQ(Records[1].FontColor, TEXT("#FFFFFF"));
	EXPECT_EQ(Masked, 1);
	EXPECT_EQ(Records[2].Content, TEXT("kept 2"));
	EXPECT_EQ(Records[2].SpawnTime, -25000000);
	EXPECT_EQ(Skipped, 14);
	ASSERT_EQ(Log.Messages().Num(), 14);
	EXPECT_EQ(Log.Messages()[0], TEXT("Danmaku XML comment 2 skipped: no p attribute"));
	EXPECT_EQ(Log.Messages()[3], TEXT("Danmaku XML comment 5 skipped: bad time 'abc'"));
	EXPECT_EQ(Log.Messages()[10], TEXT("Danmaku XML comment 13 skipped: bad colour '#FF0000'"));
	// A long or hostile field is quoted short, its control characters escaped.
	EXPECT_EQ(Log.Messages()[11], TEXT("Danmaku XML comment 14 skipped: bad post time 'yester\\x09day") +
	                                  FString::ChrN(50, TEXT('y')) + TEXT("…'"));
	EXPECT_EQ(Log.Messages()[13], TEXT("Danmaku XML comment 16 skipped: bad colour '9223372036854775808'"));
}

TEST(DanmakuXmlReader, ManySkippedCommentsAreCountedNotEachLogged)
{
	FLogCapture Log;
	FString Comments;
	for (int32 Index = 0; Index < 500; ++Index)
	{
		Comments += TEXT("<d p=\"x\">bad</d>");
	}
	int32 Skipped = 0;
	EXPECT_TRUE(ReadOk(Document(Comments), &Skipped).IsEmpty());
	EXPECT_EQ(Skipped, 500);
	ASSERT_LT(Log.Messages().Num(), 30);
	EXPECT_EQ(Log.Messages().Last(), TEXT("Danmaku XML: 480 more comments skipped, 500 in all"));
}

TEST(DanmakuXmlReader, BrokenDocumentsGiveNoRecords)
{
	FLogCapture Log;
	for (const TCHAR* Broken : {TEXT(""), TEXT("{\"datas\": []}"), TEXT("<i><d p=\"1,1,25,0\">unclosed</i>"),
	                            TEXT("<i><d p=\"1,1,25,0\">&bogus;</d></i>"), TEXT("<i><d p=\"1,1,25,0\">fine</d>"),
	                            TEXT("<packet><d p=\"1,1,25,0\">wrong root</d></packet>"), TEXT("<i/><i/>")})
	{
		TArray<FDanmakuData> Records;
		Records.Add(FDanmakuData());
		EXPECT_FALSE(FDanmakuXmlReader::Read(Broken, Records)) << TCHAR_TO_UTF8(Broken);
		EXPECT_TRUE(Records.IsEmpty()) << TCHAR_TO_UTF8(Broken);
	}
	EXPECT_TRUE(Log.Messages().ContainsByPredicate([](const FString& Line)
	                                               { return Line.Contains(TEXT("its root is <packet>, not <i>")); }));
	// An empty <i> is a document with no comments, not a broken one.
	EXPECT_TRUE(ReadOk(TEXT("<i></i>")).IsEmpty());

	// XML names are case-sensitive: neither <I> nor <D> nor P is the format's.
	TArray<FDanmakuData> Records;
	EXPECT_FALSE(FDanmakuXmlReader::Read(TEXT("<I><d p=\"1,1,25,0\">upper root</d></I>"), Records));
	int32 Skipped = 0;
	const TArray<FDanmakuData> Kept = ReadOk(
	    TEXT("<i><D p=\"1,1,25,0\">upper tag</D><d P=\"1,1,25,0\">upper attribute</d><d p=\"1,1,25,0\">kept</d></i>"),
	    &Skipped);
	ASSERT_EQ(Kept.Num(), 1);
	EXPECT_EQ(Kept[0].Content, TEXT("kept"));
	EXPECT_EQ(Skipped, 1) << "the <d> whose attribute is P has no p";
}
