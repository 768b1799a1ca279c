#include "Serialization/JsonReader.h"
#include "HAL/FileManager.h"
#include "Headless/Utf8String.h"
#include "Serialization/MemoryReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace
{
// Every token of a text, written as the reader reports it: "Name=Kind:Value", or "error" at the end on failure.
template <class CharType>
FString Tokens(TJsonReader<CharType>& Reader)
{
	TArray<FString> Written;
	EJsonNotation Notation = EJsonNotation::Null;
	while (Reader.ReadNext(Notation))
	{
		FString Token = Reader.GetIdentifier().IsEmpty() ? FString() : Reader.GetIdentifier() + TEXT("=");
		switch (Notation)
		{
			case EJsonNotation::ObjectStart:
				Token += TEXT("{");
				break;
			case EJsonNotation::ObjectEnd:
				Token += TEXT("}");
				break;
			case EJsonNotation::ArrayStart:
				Token += TEXT("[");
				break;
			case EJsonNotation::ArrayEnd:
				Token += TEXT("]");
				break;
			case EJsonNotation::String:
				Token += TEXT("s:") + Reader.GetValueAsString();
				break;
			case EJsonNotation::Number:
				Token += TEXT("n:") + FString::SanitizeFloat(Reader.GetValueAsNumber(), 0);
				break;
			case EJsonNotation::Boolean:
				Token += Reader.GetValueAsBoolean() ? TEXT("true") : TEXT("false");
				break;
			case EJsonNotation::Null:
				Token += TEXT("null");
				break;
			case EJsonNotation::Error:
				Token += TEXT("?");
				break;
		}
		Written.Add(Token);
	}
	if (Notation == EJsonNotation::Error)
	{
		Written.Add(TEXT("error"));
	}
	return FString::Join(Written, TEXT(" "));
}

FString Tokens(const TCHAR* Text)
{
	return Tokens(*TJsonReaderFactory<>::Create(Text));
}

FUtf8StringView Utf8View(const std::string& Bytes)
{
	return FUtf8StringView(reinterpret_cast<const UTF8CHAR*>(Bytes.data()), int32(Bytes.size()));
}

// The tokens and the error message of the bytes read from an archive, as units of CharType.
template <class CharType>
FString StreamedTokens(const std::string& Bytes)
{
	TArray<uint8> Stored;
	Stored.Append(reinterpret_cast<const uint8*>(Bytes.data()), int32(Bytes.size()));
	FMemoryReader Archive(Stored);
	const auto Reader = TJsonReaderFactory<CharType>::Create(&Archive);
	return Tokens(*Reader) + TEXT(" | ") + Reader->GetErrorMessage();
}

FString ViewTokens(const std::string& Bytes)
{
	const auto Reader = TJsonReaderFactory<UTF8CHAR>::CreateFromView(Utf8View(Bytes));
	return Tokens(*Reader) + TEXT(" | ") + Reader->GetErrorMessage();
}
} // namespace

TEST(JsonReader, ReportsEveryTokenWithItsFieldName)
{
	// Compared as bytes: FString's == ignores case, and names keep theirs.
	EXPECT_EQ(ToUtf8(Tokens(
	              TEXT(" {\"a\": [1, -2.5e1, \"x\\ny\"], \"B\": {\"c\": true, \"d\": null}, \"e\": {}, \"f\": []} "))),
	          "{ a=[ n:1 n:-25 s:x\ny ] B={ c=true d=null } e={ } f=[ ] }");
	EXPECT_EQ(Tokens(TEXT("42")), TEXT("n:42"));
	// Whole numbers too long to add up exactly keep their value.
	const TSharedRef<TJsonReader<>> Long = TJsonReaderFactory<>::Create(TEXT("-123456789012345678901234567890"));
	EJsonNotation LongNotation = EJsonNotation::Null;
	ASSERT_TRUE(Long->ReadNext(LongNotation));
	EXPECT_EQ(Long->GetValueAsNumber(), -1.2345678901234568e29);
	EXPECT_EQ(Tokens(TEXT("\"\\ud83d\\ude00\"")), FString(u"s:\U0001F600"));

	// A number's text as it is written, for callers to whom "1" and "1.0" differ; from UTF-8 the same.
	const std::string Numbers = "[1.0, -2.50e1, 7]";
	const TSharedRef<TJsonReader<UTF8CHAR>> Reader = TJsonReaderFactory<UTF8CHAR>::CreateFromView(Utf8View(Numbers));
	TArray<FString> Written;
	EJsonNotation Notation = EJsonNotation::Null;
	while (Reader->ReadNext(Notation))
	{
		if (Notation == EJsonNotation::Number)
		{
			Written.Add(Reader->GetValueAsNumberString());
		}
	}
	EXPECT_EQ(Written, TArray<FString>({TEXT("1.0"), TEXT("-2.50e1"), TEXT("7")}));
	const TSharedRef<TJsonReader<>> TextReader = TJsonReaderFactory<>::Create(TEXT("0.50"));
	ASSERT_TRUE(TextReader->ReadNext(Notation));
	EXPECT_EQ(TextReader->GetValueAsNumberString(), TEXT("0.50"));
}

TEST(JsonReader, StopsWithErrorAtTheFirstFault)
{
	// Tokens before the fault are still reported, then the error ends the read.
	EXPECT_EQ(Tokens(TEXT("[1, 2,]")), TEXT("[ n:1 n:2 error"));
	EXPECT_EQ(Tokens(TEXT("{\"a\":1 \"b\":2}")), TEXT("{ a=n:1 error"));
	EXPECT_EQ(Tokens(TEXT("[1] [2]")), TEXT("[ n:1 ] error"));
	EXPECT_EQ(Tokens(TEXT("[1")), TEXT("[ n:1 error"));
	EXPECT_EQ(Tokens(TEXT("")), TEXT("error"));
	EXPECT_EQ(Tokens(TEXT("{\"a\" 1}")), TEXT("{ error"));

	const auto Reader = TJsonReaderFactory<>::Create(TEXT("[true, nul]"));
	Tokens(*Reader);
	EXPECT_EQ(Reader->GetErrorMessage(), TEXT("Unexpected character. Line: 1 Ch: 11"));
	const auto Multiline = TJsonReaderFactory<>::Create(TEXT("{\n  \"a\": 1,\n  \"b\": tru\n}"));
	Tokens(*Multiline);
	EXPECT_EQ(Multiline->GetErrorMessage(), TEXT("Unexpected character. Line: 3 Ch: 11"));
	// Once failed, the reader stays failed.
	EJsonNotation Notation = EJsonNotation::Null;
	EXPECT_FALSE(Reader->ReadNext(Notation));
	EXPECT_EQ(Notation, EJsonNotation::Error);
}

TEST(JsonReader, SkipsWholeContainersAndOnlyTheKindAsked)
{
	const auto Reader =
	    TJsonReaderFactory<>::Create(TEXT("{\"skip\": {\"x\": [1, {\"y\": []}], \"z\": \"}\"}, \"keep\": [[], 3]}"));
	EJsonNotation Notation = EJsonNotation::Null;
	ASSERT_TRUE(Reader->ReadNext(Notation));
	ASSERT_TRUE(Reader->ReadNext(Notation));
	ASSERT_EQ(Notation, EJsonNotation::ObjectStart);
	EXPECT_FALSE(Reader->SkipArray());
	ASSERT_TRUE(Reader->SkipObject());
	ASSERT_TRUE(Reader->ReadNext(Notation));
	EXPECT_EQ(Reader->GetIdentifier(), TEXT("keep"));
	ASSERT_TRUE(Reader->ReadNext(Notation));
	ASSERT_EQ(Notation, EJsonNotation::ArrayStart);
	ASSERT_TRUE(Reader->SkipArray());
	EXPECT_EQ(Tokens(*Reader), TEXT("n:3 ] }"));

	// A skip that runs into a fault fails.
	const auto Broken = TJsonReaderFactory<>::Create(TEXT("[[1, 2 3]]"));
	ASSERT_TRUE(Broken->ReadNext(Notation));
	ASSERT_TRUE(Broken->ReadNext(Notation));
	EXPECT_FALSE(Broken->SkipArray());
}

TEST(JsonReader, ViewReaderReadsTheCallersTextInPlace)
{
	const FString Text = TEXT("{\"a\": [\"b\", 2]}");
	const FString Copied = Tokens(*TJsonReaderFactory<>::Create(Text));
	EXPECT_EQ(Tokens(*TJsonReaderFactory<>::CreateFromView(Text)), Copied);
	// A view of part of a text reads only that part.
	EXPECT_EQ(Tokens(*TJsonReaderFactory<>::CreateFromView(FStringView(*Text + 6, 8))), TEXT("[ s:b n:2 ]"));
}

TEST(JsonReader, NestingBeyondTheLimitIsAnError)
{
	const FString Limit = FString::ChrN(TJsonReader<>::MaxDepth, u'[') + FString::ChrN(TJsonReader<>::MaxDepth, u']');
	EXPECT_FALSE(Tokens(*TJsonReaderFactory<>::Create(Limit)).EndsWith(TEXT("error")));
	const FString Deeper = TEXT("[") + Limit + TEXT("]");
	EXPECT_TRUE(Tokens(*TJsonReaderFactory<>::Create(Deeper)).EndsWith(TEXT("error")));
}

TEST(JsonReader, Utf8ReaderReadsAsTheTextReaderDoes)
{
	// Every conformance file, malformed UTF-8 included, gives the same tokens from its bytes as from its text.
	const FString Folder = FString(SHARED_TESTDATA_DIR) + TEXT("/json-conformance/test_parsing/");
	TArray<FString> Files;
	IFileManager::Get().FindFiles(Files, *Folder, TEXT("json"));
	ASSERT_GT(Files.Num(), 300);
	for (const FString& File : Files)
	{
		std::ifstream Stream(ToUtf8(Folder + File), std::ios::binary);
		const std::string Bytes((std::istreambuf_iterator<char>(Stream)), std::istreambuf_iterator<char>());
		// Padded too, so that every string has the sixteen bytes after it that the block scan wants.
		for (const std::string& Text : {Bytes, Bytes + std::string(32, ' ')})
		{
			EXPECT_EQ(Tokens(*TJsonReaderFactory<UTF8CHAR>::CreateFromView(Utf8View(Text))),
			          Tokens(*TJsonReaderFactory<>::Create(FromUtf8(Text))))
			    << ToUtf8(File);
		}
	}

	// Escapes after text, text after escapes, and a character cut short before the quote (each byte replaced).
	EXPECT_EQ(Tokens(*TJsonReaderFactory<UTF8CHAR>::CreateFromView(u8"{\"名前\": \"é\\n\u00e9\\u00e9ü😀\"}")),
	          FString(u"{ 名前=s:é\né\u00e9ü😀 }"));
	EXPECT_EQ(Tokens(*TJsonReaderFactory<UTF8CHAR>::CreateFromView(Utf8View("[\"a\xE2\x82\"]"))),
	          FString(u"[ s:a\uFFFD\uFFFD ]"));

	// Every control character is refused, however long the string around it.
	const std::string Padding(32, 'a');
	EXPECT_EQ(
	    Tokens(*TJsonReaderFactory<UTF8CHAR>::CreateFromView(Utf8View("[\"" + Padding + "\x1F" + Padding + "\"]"))),
	    TEXT("[ error"));

	// A fault's character counts characters, not bytes.
	const auto Reader = TJsonReaderFactory<UTF8CHAR>::CreateFromView(u8"[\"é\", nul]");
	EXPECT_EQ(Tokens(*Reader), TEXT("[ s:é error"));
	EXPECT_EQ(Reader->GetErrorMessage(), TEXT("Unexpected character. Line: 1 Ch: 10"));
}

TEST(JsonReader, StreamReaderReadsAsTheViewReaderDoes)
{
	const FString Folder = FString(SHARED_TESTDATA_DIR) + TEXT("/json-conformance/test_parsing/");
	TArray<FString> Files;
	IFileManager::Get().FindFiles(Files, *Folder, TEXT("json"));
	for (const FString& File : Files)
	{
		std::ifstream Stream(ToUtf8(Folder + File), std::ios::binary);
		const std::string Bytes((std::istreambuf_iterator<char>(Stream)), std::istreambuf_iterator<char>());
		EXPECT_EQ(StreamedTokens<UTF8CHAR>(Bytes), ViewTokens(Bytes)) << ToUtf8(File);
	}

	// A document of several pieces, whose ends fall inside characters, numbers, escapes and a string longer than a
	// piece; cut short, or broken on a later line, it fails where the whole text would.
	std::string Document = "{\"datas\": [";
	for (int32 Index = 0; Document.size() < 300000; ++Index)
	{
		Document += "{\"n\": " + std::to_string(Index * 7919 % 100003) + ".25e1, \"t\": \"" +
		            std::string(size_t(Index % 13), 'x') + "é字😀\\u00e9\\n\"}," + (Index % 3 == 0 ? "\n\n" : "\n");
		if (Index == 40)
		{
			Document += "\"" + std::string(70000, 'y') + "\",\n\"";
			for (int32 Repeat = 0; Repeat < 20000; ++Repeat)
			{
				Document += "é字😀";
			}
			Document += "\",\n";
		}
	}
	Document += "null]}";
	// Shifted by up to one period of the long string's characters, a piece ends within each byte of them.
	for (int32 Shift = 0; Shift < 9; ++Shift)
	{
		const std::string Shifted = std::string(size_t(Shift), ' ') + Document;
		const FString Whole = StreamedTokens<UTF8CHAR>(Shifted);
		EXPECT_EQ(Whole, ViewTokens(Shifted)) << Shift;
		EXPECT_TRUE(Whole.EndsWith(TEXT("] } | ")));
	}
	for (const size_t Cut : {65535, 65537, 131071, 131072, 131074, 196609, 250001})
	{
		EXPECT_EQ(StreamedTokens<UTF8CHAR>(Document.substr(0, Cut)), ViewTokens(Document.substr(0, Cut))) << Cut;
		// The array ends early, on a line that starts with two characters of several bytes: the root object then
		// meets the next record's '{'.
		std::string Broken = Document;
		const size_t Insert = Cut + Broken.substr(Cut).find('\n') + 1;
		Broken.insert(Insert, "\"é字\"]");
		const std::string Before = Broken.substr(0, Insert + 8);
		const size_t LineStart = Before.rfind('\n') + 1;
		const int64 Characters = std::count_if(Before.begin() + LineStart, Before.end(),
		                                       [](char Byte) { return (uint8(Byte) & 0xC0) != 0x80; });
		const FString Where = FString::Printf(
		    TEXT("Line: %d Ch: %d"), int32(std::count(Before.begin(), Before.end(), '\n') + 1), int32(Characters + 1));
		const FString Streamed = StreamedTokens<UTF8CHAR>(Broken);
		EXPECT_TRUE(Streamed.EndsWith(Where)) << Cut << ": " << ToUtf8(Streamed.Right(40)) << " " << ToUtf8(Where);
		EXPECT_EQ(Streamed, ViewTokens(Broken)) << Cut;
	}

	// An archive of UTF-16 units reads as the text does.
	const FString Text = FromUtf8(Document);
	EXPECT_EQ(StreamedTokens<TCHAR>(std::string(reinterpret_cast<const char*>(*Text), size_t(Text.Len()) * 2)),
	          Tokens(*TJsonReaderFactory<>::Create(Text)) + TEXT(" | "));
}
