#include "Serialization/JsonSerializer.h"
#include "Headless/Utf8String.h"

#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace
{
TSharedPtr<FJsonValue> Parse(const FString& Text)
{
	TSharedPtr<FJsonValue> Value;
	const bool bParsed = FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Value);
	EXPECT_EQ(bParsed, Value.IsValid());
	return Value;
}

bool Accepts(const FString& Text)
{
	return Parse(Text).IsValid();
}
} // namespace

TEST(JsonSerializer, ReadsNestedDocumentWithEveryKindOfValue)
{
	TSharedPtr<FJsonObject> Root;
	ASSERT_TRUE(
	    FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(TEXT(
	                                     " {\"datas\": [ {\"id\": -12.5e1, \"ok\": true, \"no\": false, \"none\": null,"
	                                     " \"text\": \"a\\\"b\\\\c\\/d\\n\\u00e9\\ud83d\\ude00\"}, [] , {} ] }\r\n")),
	                                 Root));

	const TArray<TSharedPtr<FJsonValue>>& Datas = Root->GetArrayField(TEXT("datas"));
	ASSERT_EQ(Datas.Num(), 3);
	const TSharedPtr<FJsonObject>& First = Datas[0]->AsObject();
	EXPECT_EQ(First->GetNumberField(TEXT("id")), -125.0);
	EXPECT_TRUE(First->GetBoolField(TEXT("ok")));
	EXPECT_FALSE(First->GetBoolField(TEXT("no")));
	EXPECT_TRUE(First->GetField<EJson::None>(TEXT("none"))->IsNull());
	EXPECT_TRUE(First->GetStringField(TEXT("text")).Equals(FString(u"a\"b\\c/d\n\u00e9\U0001F600")));
	EXPECT_EQ(Datas[1]->Type, EJson::Array);
	EXPECT_TRUE(Datas[1]->AsArray().IsEmpty());
	EXPECT_EQ(Datas[2]->Type, EJson::Object);
}

TEST(JsonSerializer, ObjectRootIsRequiredOnlyForTheObjectForm)
{
	TSharedPtr<FJsonObject> Object;
	EXPECT_FALSE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(TEXT("[1, 2]")), Object));
	EXPECT_FALSE(Object.IsValid());
	ASSERT_TRUE(Accepts(TEXT("42")));
	EXPECT_EQ(Parse(TEXT("42"))->AsNumber(), 42.0);
	EXPECT_TRUE(Accepts(TEXT("\"just text\"")));
}

TEST(JsonSerializer, RejectsWhatStrictJsonForbids)
{
	const TCHAR* Rejected[] = {
	    TEXT(""),
	    TEXT("   "),
	    TEXT("[1,]"),
	    TEXT("{\"a\":1,}"),
	    TEXT("[1] // comment"),
	    TEXT("/* c */ [1]"),
	    TEXT("[01]"),
	    TEXT("[-]"),
	    TEXT("[1.]"),
	    TEXT("[.5]"),
	    TEXT("[1e]"),
	    TEXT("[+1]"),
	    TEXT("[NaN]"),
	    TEXT("[Infinity]"),
	    TEXT("['single']"),
	    TEXT("[\"\\x41\"]"),
	    TEXT("[\"\\u12G4\"]"),
	    TEXT("[\"tab\there\"]"),
	    TEXT("[\"unterminated]"),
	    TEXT("{\"a\" 1}"),
	    TEXT("{a:1}"),
	    TEXT("[1] [2]"),
	    TEXT("[1] x"),
	    TEXT("[tru]"),
	    TEXT("{\"a\":1"),
	};
	for (const TCHAR* Text : Rejected)
	{
		EXPECT_FALSE(Accepts(Text)) << ToUtf8(Text);
	}
	const auto Reader = TJsonReaderFactory<>::Create(TEXT("[1,]"));
	TSharedPtr<FJsonValue> Value;
	FJsonSerializer::Deserialize(Reader, Value);
	EXPECT_FALSE(Reader->GetErrorMessage().IsEmpty());
}

TEST(JsonSerializer, DeepNestingIsRefusedWithoutExhaustingTheStack)
{
	const FString Deep = FString::ChrN(1000000, u'[') + FString::ChrN(1000000, u']');
	EXPECT_FALSE(Accepts(Deep));
	EXPECT_FALSE(Accepts(FString::ChrN(1000000, u'{')));
	EXPECT_TRUE(Accepts(FString::ChrN(500, u'[') + FString::ChrN(500, u']')));
}

TEST(JsonSerializer, LoneSurrogatesAndHugeNumbersDoNotBreakTheReader)
{
	EXPECT_TRUE(Parse(TEXT("[\"\\ud800\"]")).IsValid());
	const TSharedPtr<FJsonValue> Huge = Parse(TEXT("[1e400, -1e400, 1e-400]"));
	ASSERT_TRUE(Huge.IsValid());
	int64 Clamped = 0;
	EXPECT_TRUE(Huge->AsArray()[0]->TryGetNumber(Clamped));
	EXPECT_EQ(Clamped, MAX_int64);
	EXPECT_EQ(Huge->AsArray()[2]->AsNumber(), 0.0);
}

TEST(JsonSerializer, ConformanceSuiteAcceptsYesRejectsNoAndSurvivesTheRest)
{
	const FString Folder = FString(SHARED_TESTDATA_DIR) + TEXT("/json-conformance/test_parsing/");
	TArray<FString> Files;
	IFileManager::Get().FindFiles(Files, *Folder, TEXT("json"));
	ASSERT_GT(Files.Num(), 300);

	int32 Yes = 0, YesAccepted = 0, No = 0, NoRejected = 0, Either = 0, EitherAccepted = 0;
	for (const FString& File : Files)
	{
		FString Text;
		ASSERT_TRUE(FFileHelper::LoadFileToString(Text, *(Folder + File)));
		const bool bAccepted = Accepts(Text);
		if (File.StartsWith(TEXT("y_")))
		{
			++Yes;
			YesAccepted += bAccepted;
			EXPECT_TRUE(bAccepted) << ToUtf8(File);
		}
		else if (File.StartsWith(TEXT("n_")))
		{
			++No;
			NoRejected += !bAccepted;
			EXPECT_FALSE(bAccepted) << ToUtf8(File);
		}
		else
		{
			++Either;
			EitherAccepted += bAccepted;
		}
	}
	std::printf("JSON conformance: y_ %d/%d accepted, n_ %d/%d rejected, i_ %d ran without crashing (%d accepted)\n",
	            YesAccepted, Yes, NoRejected, No, Either, EitherAccepted);
	EXPECT_GT(Yes, 0);
	EXPECT_GT(No, 0);
}
