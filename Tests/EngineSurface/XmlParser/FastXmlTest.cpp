#include "FastXml.h"

#include "Headless/Utf8String.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace
{
// Writes down every call, and stops the parse at the element named StopAt.
class FCallSpy final : public IFastXmlCallback
{
public:
	TArray<FString> Calls;
	FString StopAt;

	virtual bool ProcessXmlDeclaration(const TCHAR* ElementData, int32 XmlFileLineNumber) override
	{
		Calls.Add(FString::Printf(TEXT("declaration %s @%d"), ElementData, XmlFileLineNumber));
		return true;
	}
	virtual bool ProcessElement(const TCHAR* ElementName, const TCHAR* ElementData, int32 XmlFileLineNumber) override
	{
		Calls.Add(FString::Printf(TEXT("element %s [%s] @%d"), ElementName, ElementData, XmlFileLineNumber));
		return StopAt != ElementName;
	}
	virtual bool ProcessAttribute(const TCHAR* AttributeName, const TCHAR* AttributeValue) override
	{
		Calls.Add(FString::Printf(TEXT("attribute %s=%s"), AttributeName, AttributeValue));
		return true;
	}
	virtual bool ProcessClose(const TCHAR* Element) override
	{
		Calls.Add(FString::Printf(TEXT("close %s"), Element));
		return true;
	}
	virtual bool ProcessComment(const TCHAR* Comment) override
	{
		Calls.Add(FString::Printf(TEXT("comment %s"), Comment));
		return true;
	}
};

bool Parse(FCallSpy& Spy, FString Text, FText& Error, int32& Line)
{
	TArray<TCHAR> Contents;
	Contents.Append(*Text, Text.Len());
	Contents.Add(TEXT('\0'));
	return FFastXml::ParseXmlFile(&Spy, TEXT(""), Contents.GetData(), nullptr, false, false, Error, Line);
}
} // namespace

TEST(FastXml, HandsEachElementWithItsTextThenItsAttributesInDocumentOrder)
{
	FCallSpy Spy;
	FText Error;
	int32 Line = -1;
	ASSERT_TRUE(Parse(Spy,
	                  TEXT("<?xml version=\"1.0\" encoding=\"GBK\"?>\n<i a=\"1\"><!-- note --><d p=\"x&amp;y\" q='2'>"
	                       "中 \xD83D\xDE00<b/>tail</d>\n</i>"),
	                  Error, Line))
	    << TCHAR_TO_UTF8(*Error.ToString());
	const TArray<FString> Expected = {TEXT("declaration version=\"1.0\" encoding=\"GBK\" @1"),
	                                  TEXT("element i [] @2"),
	                                  TEXT("attribute a=1"),
	                                  TEXT("comment  note "),
	                                  TEXT("element d [中 \xD83D\xDE00] @2"),
	                                  TEXT("attribute p=x&y"),
	                                  TEXT("attribute q=2"),
	                                  TEXT("element b [] @2"),
	                                  TEXT("close b"),
	                                  TEXT("close d"),
	                                  TEXT("close i")};
	EXPECT_EQ(ToUtf8(FString::Join(Spy.Calls, TEXT("\n"))), ToUtf8(FString::Join(Expected, TEXT("\n"))));

	// A character beyond the BMP that straddles the pieces the text is read in arrives whole.
	FString Long = TEXT("<i>");
	while (Long.Len() < (1 << 20) - 1)
	{
		Long += TEXT("a");
	}
	Long += TEXT("\xD83D\xDE00</i>");
	FCallSpy LongSpy;
	ASSERT_TRUE(Parse(LongSpy, Long, Error, Line)) << TCHAR_TO_UTF8(*Error.ToString());
	EXPECT_TRUE(LongSpy.Calls[0].EndsWith(TEXT("a\xD83D\xDE00] @1")));

	// Attributes after a short element, one far longer than any before it and ending in a character beyond the BMP,
	// each arrive whole and in order.
	FString Value;
	while (Value.Len() < 5000)
	{
		Value += TEXT("中a");
	}
	Value += TEXT("\xD83D\xDE00");
	FCallSpy AttributeSpy;
	ASSERT_TRUE(
	    Parse(AttributeSpy, TEXT("<i><b x='1'/><d p='") + Value + TEXT("' q='\xD83D\xDE00' r=''/></i>"), Error, Line))
	    << TCHAR_TO_UTF8(*Error.ToString());
	ASSERT_EQ(AttributeSpy.Calls.Num(), 10);
	EXPECT_EQ(AttributeSpy.Calls[4], TEXT("element d [] @1"));
	EXPECT_TRUE(AttributeSpy.Calls[5] == TEXT("attribute p=") + Value);
	EXPECT_EQ(AttributeSpy.Calls[6], TEXT("attribute q=\xD83D\xDE00"));
	EXPECT_EQ(AttributeSpy.Calls[7], TEXT("attribute r="));
}

TEST(FastXml, FailsWithTheLineOfTheFaultOrWhenTheCallbackStops)
{
	FCallSpy Spy;
	FText Error;
	int32 Line = 0;
	EXPECT_FALSE(Parse(Spy, TEXT("<i>\n<d>\n</i>"), Error, Line));
	EXPECT_EQ(Line, 3);
	EXPECT_FALSE(Error.ToString().IsEmpty());
	for (const TCHAR* Broken : {TEXT(""), TEXT("plain"), TEXT("<i a=\"1\" a=\"2\"/>"), TEXT("<i>&#0;</i>")})
	{
		FCallSpy Other;
		EXPECT_FALSE(Parse(Other, Broken, Error, Line)) << TCHAR_TO_UTF8(Broken);
	}

	FCallSpy Stopping;
	Stopping.StopAt = TEXT("d");
	EXPECT_FALSE(Parse(Stopping, TEXT("<i><d p=\"1\">a</d><d>b</d></i>"), Error, Line));
	EXPECT_EQ(Stopping.Calls.Num(), 2) << "nothing after the element that stopped it";
}

TEST(FastXml, ReadsAFileAPieceAtATimeAsItsText)
{
	// Over two megabytes of comments made mostly of characters of two to four bytes, shifted so that the file's
	// pieces end inside them; with a byte order mark, and broken on a late line.
	std::string Body;
	for (int32 Index = 0; Body.size() < 2500000; ++Index)
	{
		Body += "<d p=\"" + std::to_string(Index) + "\">";
		for (int32 Repeat = 0; Repeat < 20; ++Repeat)
		{
			Body += "é字😀";
		}
		Body += "</d>\n";
	}
	const std::string Path = (std::filesystem::temp_directory_path() / "fast-xml-pieces.xml").string();
	for (const std::string& Start : {std::string("<i>"), std::string("<i><!--x-->"), std::string("<i><!--xx-->"),
	                                 std::string("\xEF\xBB\xBF<i><!--xxx-->")})
	{
		for (const bool bBroken : {false, Start == "<i>"})
		{
			const std::string Document = Start + Body + (bBroken ? "<d></i>" : "</i>");
			std::ofstream(Path, std::ios::binary) << Document;
			FCallSpy FromFile;
			FCallSpy FromText;
			FText FileError;
			FText TextError;
			int32 FileLine = 0;
			int32 TextLine = 0;
			const bool bFileRead =
			    FFastXml::ParseXmlFile(&FromFile, *FromUtf8(Path), nullptr, nullptr, false, false, FileError, FileLine);
			// The text as the engine's loader gives it: no byte order mark.
			const size_t Mark = Document.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
			EXPECT_EQ(bFileRead, Parse(FromText, FromUtf8(Document.substr(Mark)), TextError, TextLine));
			EXPECT_EQ(bFileRead, !bBroken);
			EXPECT_EQ(FileLine, TextLine);
			EXPECT_TRUE(FromFile.Calls == FromText.Calls) << Start << " " << FromFile.Calls.Num();
		}
	}
	std::filesystem::remove(Path);
	FCallSpy Missing;
	FText Error;
	int32 Line = 0;
	EXPECT_FALSE(FFastXml::ParseXmlFile(&Missing, *FromUtf8(Path), nullptr, nullptr, false, false, Error, Line));
}
