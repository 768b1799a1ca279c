#include "JsonRecordReader.h"
#include "Headless/Utf8String.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const FJsonRecordReader& NameAndAgeReader()
{
	static const FJsonRecordReader Reader({TEXT("name"), TEXT("age")});
	return Reader;
}

// Each record as "name|age" (the age's type number when it is not a number), and "restart" where a later
// "datas" replaced what came before; "refused" ends a refused document.
std::string Records(const FString& Json)
{
	TArray<FString> Written;
	const auto Write = [&Written](const TArray<FJsonRecordField>& Fields)
	{
		const FJsonRecordField& Age = Fields[1];
		Written.Add(Fields[0].GetString() + TEXT("|") +
		            (Age.Type == EJson::Number ? Age.GetString() : FString::FromInt(int32(Age.Type))));
	};
	const bool bRead =
	    NameAndAgeReader().ReadDocument(FStringView(Json), Write, [&Written] { Written.Add(TEXT("restart")); });
	// The same text as UTF-8 must give the same.
	TArray<FString> FromUtf8 = MoveTemp(Written);
	Written.Reset();
	const std::string Bytes = ToUtf8(Json);
	const bool bReadUtf8 = NameAndAgeReader().ReadDocument(
	    FUtf8StringView(reinterpret_cast<const UTF8CHAR*>(Bytes.data()), int32(Bytes.size())), Write,
	    [&Written] { Written.Add(TEXT("restart")); });
	EXPECT_EQ(bRead, bReadUtf8) << Bytes;
	EXPECT_EQ(FString::Join(Written, TEXT(" ")), FString::Join(FromUtf8, TEXT(" "))) << Bytes;
	if (!bRead)
	{
		Written.Add(TEXT("refused"));
	}
	return ToUtf8(FString::Join(Written, TEXT(" ")));
}
} // namespace

TEST(JsonRecordReader, KeepsTheNamedFieldsOfEachRecordWhateverTheirOrderOrCase)
{
	// Keys in any order and case, repeated (the last counts), missing (None, type 0) or of another kind (an object,
	// type 6); elements
	// that are not objects are skipped.
	EXPECT_EQ(Records(TEXT(R"({"x": {"datas": 1}, "datas": [
		{"name": "ann", "age": 30},
		{"AGE": 41, "Name": "bo", "other": [1, {"name": "no"}]},
		7, [{"name": "skipped"}],
		{"name": "cy", "name": "cid"},
		{"age": {"n": 1}, "name": 5}
	]})")),
	          "ann|30 bo|41 cid|0 5|6");

	// A later "datas" replaces the records before it; one that is not an array refuses the document.
	EXPECT_EQ(Records(TEXT(R"({"datas": [{"name": "a"}], "datas": [{"name": "b"}]})")), "a|0 restart b|0");
	EXPECT_EQ(Records(TEXT(R"({"datas": [{"name": "a"}], "datas": 3})")), "a|0 restart refused");
	for (const TCHAR* Refused :
	     {TEXT(""), TEXT("[]"), TEXT(R"({"data": []})"), TEXT(R"({"datas": []} x)"), TEXT(R"({"datas": [{]})")})
	{
		EXPECT_TRUE(Records(Refused).ends_with("refused")) << TCHAR_TO_UTF8(Refused);
	}

	// A single record stands alone: an object and nothing after it.
	TArray<FJsonRecordField> Fields;
	ASSERT_TRUE(NameAndAgeReader().ReadRecord(TEXT(R"( {"age": "12", "name": "dee"} )"), Fields));
	EXPECT_EQ(Fields[0].GetString(), TEXT("dee"));
	EXPECT_FALSE(NameAndAgeReader().ReadRecord(TEXT(R"({"name": "dee"} {})"), Fields));
	EXPECT_FALSE(NameAndAgeReader().ReadRecord(TEXT(R"(["dee"])"), Fields));
}

TEST(JsonRecordReader, ConvertsFieldsAsTheJsonLayerDoes)
{
	const auto FieldOf = [](const TCHAR* Value)
	{
		TArray<FJsonRecordField> Fields;
		EXPECT_TRUE(NameAndAgeReader().ReadRecord(FString::Printf(TEXT("{\"age\": %s}"), Value), Fields)) << TCHAR_TO_UTF8(Value);
		return Fields.Num() == 2 ? Fields[1] : FJsonRecordField();
	};
	// Truncated toward zero, saturated beyond int32, 0 for what is no number.
	EXPECT_EQ(FieldOf(TEXT("-12.9")).GetClampedInt32(), -12);
	EXPECT_EQ(FieldOf(TEXT("\"12.9\"")).GetClampedInt32(), 12);
	EXPECT_EQ(FieldOf(TEXT("1e300")).GetClampedInt32(), MAX_int32);
	EXPECT_EQ(FieldOf(TEXT("-1e300")).GetClampedInt32(), MIN_int32);
	EXPECT_EQ(FieldOf(TEXT("true")).GetClampedInt32(), 1);
	EXPECT_EQ(FieldOf(TEXT("\"twelve\"")).GetClampedInt32(), 0);
	EXPECT_EQ(FieldOf(TEXT("null")).GetClampedInt32(), 0);
	EXPECT_EQ(FJsonRecordField().GetClampedInt32(), 0);

	int64 Ticks = 0;
	EXPECT_TRUE(FieldOf(TEXT("\"90000000000\"")).TryGetNumber(Ticks));
	EXPECT_EQ(Ticks, 90000000000);
	EXPECT_FALSE(FieldOf(TEXT("[1]")).TryGetNumber(Ticks));

	EXPECT_EQ(FieldOf(TEXT("2.5")).GetString(), TEXT("2.5"));
	EXPECT_EQ(FieldOf(TEXT("false")).GetString(), TEXT("false"));
	EXPECT_EQ(FieldOf(TEXT("{}")).GetString(), TEXT(""));
}
