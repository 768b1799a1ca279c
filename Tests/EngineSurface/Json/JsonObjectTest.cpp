#include "Dom/JsonObject.h"
#include "Headless/Utf8String.h"

#include "Serialization/JsonSerializer.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

namespace
{
TSharedPtr<FJsonObject> ParseObject(const TCHAR* Text)
{
	TSharedPtr<FJsonObject> Object;
	EXPECT_TRUE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Object)) << ToUtf8(Text);
	return Object;
}

} // namespace

TEST(JsonObject, MissingFieldsLogAndReadAsEmpty)
{
	const TSharedPtr<FJsonObject> Object = ParseObject(TEXT("{}"));
	FLogCapture Log;

	EXPECT_EQ(Object->GetNumberField(TEXT("danmaku_id")), 0.0);
	EXPECT_TRUE(Object->GetStringField(TEXT("danmaku_content")).IsEmpty());
	EXPECT_TRUE(Object->GetArrayField(TEXT("datas")).IsEmpty());
	EXPECT_FALSE(Object->GetBoolField(TEXT("flag")));
	EXPECT_TRUE(Object->GetObjectField(TEXT("child")).IsValid());
	EXPECT_EQ(Log.MessagesOf(TEXT("LogJson")).Num() >= 5, true);

	int64 SpawnTime = 17;
	double Number = 3.0;
	FString String = TEXT("kept");
	const TArray<TSharedPtr<FJsonValue>>* Array = nullptr;
	EXPECT_FALSE(Object->TryGetNumberField(TEXT("danmaku_spawn_time"), SpawnTime));
	EXPECT_FALSE(Object->TryGetNumberField(TEXT("x"), Number));
	EXPECT_FALSE(Object->TryGetStringField(TEXT("x"), String));
	EXPECT_FALSE(Object->TryGetArrayField(TEXT("x"), Array));
	EXPECT_FALSE(Object->HasField(TEXT("x")));
}

TEST(JsonObject, NumbersAndStringsConvertAsTheEngineDoes)
{
	const TSharedPtr<FJsonObject> Object = ParseObject(TEXT(
	    "{\"num_text\": \"42.5\", \"word\": \"abc\", \"whole\": 3, \"half\": 0.5, \"flag\": true, \"list\": [1]}"));

	EXPECT_EQ(Object->GetNumberField(TEXT("num_text")), 42.5);
	EXPECT_EQ(Object->GetNumberField(TEXT("word")), 0.0);
	EXPECT_TRUE(Object->GetStringField(TEXT("whole")).Equals(TEXT("3")));
	EXPECT_TRUE(Object->GetStringField(TEXT("half")).Equals(TEXT("0.5")));
	EXPECT_TRUE(Object->GetStringField(TEXT("flag")).Equals(TEXT("true")));
	EXPECT_TRUE(Object->GetStringField(TEXT("list")).IsEmpty());

	double Number = 0.0;
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("num_text"), Number));
	EXPECT_EQ(Number, 42.5);
	EXPECT_FALSE(Object->TryGetNumberField(TEXT("word"), Number));
	EXPECT_FALSE(Object->TryGetNumberField(TEXT("list"), Number));
	EXPECT_TRUE(Object->HasTypedField<EJson::String>(TEXT("num_text")));
	EXPECT_FALSE(Object->HasTypedField<EJson::Number>(TEXT("num_text")));
}

TEST(JsonObject, IntegerReadsRoundAndNeverOverflow)
{
	const TSharedPtr<FJsonObject> Object = ParseObject(
	    TEXT("{\"spawn\": 12000000, \"frac\": 2.5, \"neg\": -2.5, \"big\": 1e30, \"small\": -1e30, \"edge\": "
	         "9223372036854775807, \"i32max\": 2147483647, \"i32over\": 2147483648, \"minus\": -1}"));

	int64 Int64 = 0;
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("spawn"), Int64));
	EXPECT_EQ(Int64, 12000000);
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("frac"), Int64));
	EXPECT_EQ(Int64, 3);
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("neg"), Int64));
	EXPECT_EQ(Int64, -3);
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("big"), Int64));
	EXPECT_EQ(Int64, MAX_int64);
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("small"), Int64));
	EXPECT_EQ(Int64, MIN_int64);
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("edge"), Int64));
	EXPECT_EQ(Int64, MAX_int64);

	int32 Int32 = 5;
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("i32max"), Int32));
	EXPECT_EQ(Int32, MAX_int32);
	EXPECT_FALSE(Object->TryGetNumberField(TEXT("i32over"), Int32));
	EXPECT_FALSE(Object->TryGetNumberField(TEXT("big"), Int32));
	EXPECT_EQ(Int32, MAX_int32);

	uint32 UInt32 = 0;
	EXPECT_FALSE(Object->TryGetNumberField(TEXT("minus"), UInt32));
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("i32over"), UInt32));
	EXPECT_EQ(UInt32, 2147483648u);
	uint64 UInt64 = 7;
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("minus"), UInt64));
	EXPECT_EQ(UInt64, 0u);
	EXPECT_EQ(Object->GetIntegerField(TEXT("frac")), 3);
}

TEST(JsonObject, DuplicateKeyKeepsTheLastValueAndNamesIgnoreCase)
{
	const TSharedPtr<FJsonObject> Object = ParseObject(TEXT("{\"a\": 1, \"b\": 2, \"a\": 3}"));

	EXPECT_EQ(Object->Values.Num(), 2);
	EXPECT_EQ(Object->GetNumberField(TEXT("a")), 3.0);
	EXPECT_EQ(Object->GetNumberField(TEXT("B")), 2.0);
}

TEST(JsonObject, SettersReplaceFields)
{
	FJsonObject Object;
	Object.SetNumberField(TEXT("n"), 1.0);
	Object.SetNumberField(TEXT("n"), 2.0);
	Object.SetStringField(TEXT("s"), TEXT("text"));
	Object.SetArrayField(TEXT("a"), {MakeShared<FJsonValueBoolean>(true)});
	Object.RemoveField(TEXT("s"));

	EXPECT_EQ(Object.GetNumberField(TEXT("n")), 2.0);
	EXPECT_FALSE(Object.HasField(TEXT("s")));
	EXPECT_TRUE(Object.GetArrayField(TEXT("a"))[0]->AsBool());
}
