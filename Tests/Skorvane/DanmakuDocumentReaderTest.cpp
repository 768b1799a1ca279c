#include "DanmakuDocumentReader.h"
#include "Headless/Utf8String.h"

#include "DanmakuObjectModelReference.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
std::string Describe(const FDanmakuData& Data)
{
	return ToUtf8(FString::Printf(TEXT("id=%d post=%d user=%d name=[%s] date=%s spawn=%lld content=[%s] mode=%d "
	                                   "size=%d color=[%s]"),
	                              Data.DanmakuID, Data.PostID, Data.UserID, *Data.UserDisplayName,
	                              *Data.PostDate.ToString(), (long long)Data.SpawnTime, *Data.Content, int32(Data.Mode),
	                              Data.FontSize, *Data.FontColor));
}

// Reads Text both ways and expects the same answer and the same records (strings compared with case), with nothing
// logged by the reader. Returns the number of records, or -1 for a refused document.
int32 ExpectReadAsByTheObjectModel(const FString& Text)
{
	TArray<FDanmakuData> Expected;
	TArray<FDanmakuData> Actual;
	bool bExpected = false;
	bool bActual = false;
	TArray<FString> ActualLog;
	{
		FLogCapture Log;
		bExpected = ReadThroughObjectModel(Text, Expected);
	}
	{
		FLogCapture Log;
		bActual = FDanmakuDocumentReader::Read(Text, Actual);
		ActualLog = Log.Messages();
	}
	const std::string Document = ToUtf8(Text);
	EXPECT_EQ(bActual, bExpected) << Document;
	if (!bExpected)
	{
		// The object model's elements of a refused document are never filed.
		Expected.Reset();
	}
	EXPECT_EQ(Actual.Num(), Expected.Num()) << Document;
	for (int32 Index = 0; Index < FMath::Min(Actual.Num(), Expected.Num()); ++Index)
	{
		EXPECT_EQ(Describe(Actual[Index]), Describe(Expected[Index])) << Document;
	}
	EXPECT_EQ(ToUtf8(FString::Join(ActualLog, TEXT("\n"))), "") << Document;

	// The UTF-8 form hands over the same records one by one, for any text UTF-8 can hold.
	if (FromUtf8(Document).Equals(Text, ESearchCase::CaseSensitive))
	{
		TArray<FDanmakuData> Handed;
		FDanmakuDocumentReport Report;
		const bool bHanded = FDanmakuDocumentReader::Read(
		    FUtf8StringView(reinterpret_cast<const UTF8CHAR*>(Document.data()), int32(Document.size())),
		    [&Handed](FDanmakuData&& Record) { Handed.Add(MoveTemp(Record)); }, [&Handed] { Handed.Reset(); }, Report);
		EXPECT_EQ(bHanded, bActual) << Document;
		EXPECT_EQ(Report.bRead, bHanded) << Document;
		EXPECT_EQ(Report.Comments, bHanded ? Handed.Num() : 0) << Document;
		if (bHanded)
		{
			EXPECT_EQ(Handed.Num(), Actual.Num()) << Document;
			for (int32 Index = 0; Index < FMath::Min(Handed.Num(), Actual.Num()); ++Index)
			{
				EXPECT_EQ(Describe(Handed[Index]), Describe(Actual[Index])) << Document;
			}
		}
	}
	return bActual ? Actual.Num() : -1;
}

// Random comment documents with every kind of oddity a host might send: missing, repeated and differently cased
// keys, values of other types, nested values, non-object elements, other root keys, and damaged text.
class FDocumentMaker
{
public:
	explicit FDocumentMaker(uint32 Seed) : Random(Seed) {}

	FString Make()
	{
		FString Text = TEXT("{");
		TArray<FString> Fields;
		if (Chance(0.1))
		{
			Fields.Add(Key(TEXT("datas")) + TEXT(":") + AnyValue(1));
		}
		if (Chance(0.2))
		{
			Fields.Add(TEXT("\"other\":") + AnyValue(2));
		}
		if (Chance(0.95))
		{
			Fields.Add(Key(TEXT("datas")) + TEXT(":") + Datas());
		}
		Shuffle(Fields);
		Text += FString::Join(Fields, TEXT(",")) + TEXT("}");
		if (Chance(0.15))
		{
			Damage(Text);
		}
		return Text;
	}

private:
	bool Chance(double Probability) { return std::uniform_real_distribution<double>(0.0, 1.0)(Random) < Probability; }
	int32 Pick(int32 Count) { return std::uniform_int_distribution<int32>(0, Count - 1)(Random); }
	void Shuffle(TArray<FString>& Items)
	{
		for (int32 Index = Items.Num() - 1; Index > 0; --Index)
		{
			std::swap(Items[Index], Items[Pick(Index + 1)]);
		}
	}

	// The name, now and then in other letter cases, which the object model treats as the same field.
	FString Key(const TCHAR* Name)
	{
		FString Written = Name;
		if (Chance(0.1))
		{
			Written = Chance(0.5) ? Written.ToUpper() : Written.Left(1).ToUpper() + Written.RightChop(1);
		}
		return TEXT("\"") + Written + TEXT("\"");
	}

	FString Datas()
	{
		TArray<FString> Elements;
		const int32 Count = Pick(6);
		for (int32 Index = 0; Index < Count; ++Index)
		{
			Elements.Add(Chance(0.85) ? Element() : AnyValue(2));
		}
		return TEXT("[") + FString::Join(Elements, TEXT(",")) + TEXT("]");
	}

	FString Element()
	{
		static const TCHAR* const Names[] = {
		    TEXT("danmaku_id"),         TEXT("post_id"),           TEXT("user_id"),
		    TEXT("user_display_name"),  TEXT("danmaku_post_date"), TEXT("danmaku_spawn_time"),
		    TEXT("danmaku_content"),    TEXT("danmaku_mode"),      TEXT("danmaku_font_size"),
		    TEXT("danmaku_font_color"), TEXT("unknown"),           TEXT("danmaku")};
		TArray<FString> Fields;
		for (const TCHAR* Name : Names)
		{
			for (int32 Copy = Chance(0.85) ? (Chance(0.1) ? 2 : 1) : 0; Copy > 0; --Copy)
			{
				Fields.Add(Key(Name) + TEXT(":") + FieldValue(Name));
			}
		}
		Shuffle(Fields);
		return TEXT("{") + FString::Join(Fields, TEXT(",")) + TEXT("}");
	}

	// Mostly the type the field should have, sometimes any other.
	FString FieldValue(const FString& Name)
	{
		const bool bText = Name.Contains(TEXT("name")) || Name.Contains(TEXT("date")) ||
		                   Name.Contains(TEXT("content")) || Name.Contains(TEXT("color"));
		if (Chance(0.8))
		{
			return bText ? Text() : Number();
		}
		return AnyValue(2);
	}

	FString Number()
	{
		static const TCHAR* const Numbers[] = {TEXT("0"),
		                                       TEXT("-1"),
		                                       TEXT("12"),
		                                       TEXT("2.5"),
		                                       TEXT("-0.5"),
		                                       TEXT("1e3"),
		                                       TEXT("3E-2"),
		                                       TEXT("1e400"),
		                                       TEXT("-1e400"),
		                                       TEXT("2147483648"),
		                                       TEXT("123456789012345678901"),
		                                       TEXT("65400000"),
		                                       TEXT("-15000000")};
		return Numbers[Pick(UE_ARRAY_COUNT(Numbers))];
	}

	FString Text()
	{
		static const TCHAR* const Texts[] = {TEXT("\"\""),
		                                     TEXT("\"viewer7\""),
		                                     TEXT("\"前方高能\""),
		                                     TEXT("\"😂\""),
		                                     TEXT("\"a \\\"quoted\\\" \\\\ \\u00e9 \\ud83d\\ude00\""),
		                                     TEXT("\"2026.05.01-12.30.05\""),
		                                     TEXT("\"2026-05-01 12:30:05:250\""),
		                                     TEXT("\"2023.02.29-00.00.00\""),
		                                     TEXT("\"#FE0302\""),
		                                     TEXT("\"12\""),
		                                     TEXT("\"-3.5\""),
		                                     TEXT("\"1e2\""),
		                                     TEXT("\"a long comment that no small-string buffer holds\"")};
		return Texts[Pick(UE_ARRAY_COUNT(Texts))];
	}

	FString AnyValue(int32 Depth)
	{
		switch (Pick(Depth > 0 ? 8 : 6))
		{
			case 0:
				return Number();
			case 1:
				return Text();
			case 2:
				return Chance(0.5) ? TEXT("true") : TEXT("false");
			case 3:
				return TEXT("null");
			case 4:
				return TEXT("[]");
			case 5:
				return TEXT("{}");
			case 6:
				return TEXT("[") + AnyValue(Depth - 1) + TEXT(",") + AnyValue(Depth - 1) + TEXT("]");
			default:
				return TEXT("{\"danmaku_id\":") + AnyValue(Depth - 1) + TEXT(",\"datas\":[") + AnyValue(Depth - 1) +
				       TEXT("]}");
		}
	}

	// Cuts the text short, or drops, doubles or replaces one character.
	void Damage(FString& Text)
	{
		const int32 At = Pick(Text.Len());
		switch (Pick(4))
		{
			case 0:
				Text = Text.Left(At);
				break;
			case 1:
				Text.RemoveAt(At);
				break;
			case 2:
				Text.InsertAt(At, FString::Chr(Text[At]));
				break;
			default:
				Text[At] = TEXT(",:[]{}\"x0 ")[Pick(11)];
				break;
		}
	}

	std::mt19937 Random;
};
} // namespace

TEST(DanmakuDocumentReader, ReadsEveryFieldAsTheObjectModelDoes)
{
	const TCHAR* const Documents[] = {
	    TEXT("{\"datas\":[{\"danmaku_id\":1,\"post_id\":1001,\"user_id\":7,\"user_display_name\":\"viewer7\","
	         "\"danmaku_post_date\":\"2026.05.01-12.30.05\",\"danmaku_spawn_time\":12000000,"
	         "\"danmaku_content\":\"前方高能\",\"danmaku_mode\":1,\"danmaku_font_size\":24,"
	         "\"danmaku_font_color\":\"#FE0302\"}]}"),
	    // Missing keys: zero numbers and empty strings, with the warnings the getters log.
	    TEXT("{\"datas\":[{}]}"),
	    // Values of other types: numeric strings read as numbers, numbers and booleans as strings, the rest fails.
	    TEXT("{\"datas\":[{\"danmaku_id\":\"12\",\"post_id\":\"x\",\"user_id\":true,\"user_display_name\":3.5,"
	         "\"danmaku_post_date\":20260501,\"danmaku_spawn_time\":\"19000000\",\"danmaku_content\":false,"
	         "\"danmaku_mode\":null,\"danmaku_font_size\":[24],\"danmaku_font_color\":{\"hex\":\"#FFFFFF\"}}]}"),
	    // Out of range and fractional numbers.
	    TEXT("{\"datas\":[{\"danmaku_id\":1e400,\"post_id\":-2.9,\"danmaku_spawn_time\":1e300,\"danmaku_mode\":7.9,"
	         "\"danmaku_font_size\":-1e400}]}"),
	    // Keys in other cases, repeated keys (the last counts) and keys nobody reads.
	    TEXT("{\"DATAS\":[{\"Danmaku_Content\":\"first\",\"danmaku_content\":\"second\",\"extra\":{\"x\":[1]}}]}"),
	    // Non-object elements are skipped, the rest still read.
	    TEXT("{\"datas\":[1,\"two\",null,[{\"danmaku_id\":9}],{\"danmaku_id\":3}]}"),
	    // The last "datas" counts.
	    TEXT("{\"datas\":[{\"danmaku_id\":1}],\"other\":{\"datas\":5},\"datas\":[{\"danmaku_id\":2}]}"),
	    TEXT("{\"datas\":[{\"danmaku_id\":1}],\"datas\":{\"danmaku_id\":2}}"),
	};
	for (const TCHAR* Document : Documents)
	{
		ExpectReadAsByTheObjectModel(Document);
	}

	TArray<FDanmakuData> Records;
	ASSERT_TRUE(FDanmakuDocumentReader::Read(Documents[0], Records));
	ASSERT_EQ(Records.Num(), 1);
	EXPECT_EQ(Records[0].SpawnTime, 12000000);
	EXPECT_EQ(Records[0].PostDate, FDateTime(2026, 5, 1, 12, 30, 5));
	EXPECT_EQ(Records[0].Mode, EDanmakuMode::TOP);
	EXPECT_TRUE(Records[0].Content.Equals(FString(u"前方高能")));
}

TEST(DanmakuDocumentReader, RefusesWhatTheObjectModelRefuses)
{
	const TCHAR* const Documents[] = {
	    TEXT(""),
	    TEXT("not json"),
	    TEXT("[{\"danmaku_id\":1}]"),
	    TEXT("{}"),
	    TEXT("{\"datas\":7}"),
	    TEXT("{\"datas\":\"[]\"}"),
	    TEXT("{\"datas\":null}"),
	    // A fault after good elements refuses the whole document.
	    TEXT("{\"datas\":[{\"danmaku_id\":1},{\"danmaku_id\":2}"),
	    TEXT("{\"datas\":[{\"danmaku_id\":1}]} trailing"),
	    TEXT("{\"datas\":[{\"danmaku_id\":1,}]}"),
	};
	for (const TCHAR* Document : Documents)
	{
		ExpectReadAsByTheObjectModel(Document);
		TArray<FDanmakuData> Records;
		EXPECT_FALSE(FDanmakuDocumentReader::Read(Document, Records)) << ToUtf8(Document);
		EXPECT_TRUE(Records.IsEmpty());
	}
}

TEST(DanmakuDocumentReader, AgreesWithTheObjectModelOnRandomDocuments)
{
	FDocumentMaker Maker(20261208);
	int32 Refused = 0;
	int32 Records = 0;
	for (int32 Round = 0; Round < 1000 && !::testing::Test::HasFailure(); ++Round)
	{
		const int32 Read = ExpectReadAsByTheObjectModel(Maker.Make());
		Refused += Read < 0;
		Records += FMath::Max(Read, 0);
	}
	// The documents must exercise both outcomes, with many records among the accepted ones.
	EXPECT_GT(Refused, 50);
	EXPECT_LT(Refused, 300);
	EXPECT_GT(Records, 1000);
}
