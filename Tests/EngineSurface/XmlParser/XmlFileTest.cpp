#include "XmlFile.h"

#include "HAL/FileManager.h"
#include "Headless/Utf8String.h"
#include "Misc/FileHelper.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

TEST(XmlFile, DecodesEveryEntityAndCharacterReferenceWhateverEncodingIsDeclared)
{
	// The text is already decoded when it reaches the parser; a declared encoding cannot change it.
	const FXmlFile File(TEXT("<?xml version=\"1.0\" encoding=\"GBK\"?>\n"
	                         "<!DOCTYPE i [<!ENTITY lesson \"第一课\">]>\n"
	                         "<i q='a &amp; &quot;b&quot; &#x4E2D;'>&lt;&#x4E2D;&#25991;&gt; &#x1F600;&apos;&lesson;😂"
	                         "<![CDATA[<raw> &amp;]]></i>"),
	                    EConstructMethod::ConstructFromBuffer);
	ASSERT_TRUE(File.IsValid()) << TCHAR_TO_UTF8(*File.GetLastError());
	const FXmlNode* Root = File.GetRootNode();
	ASSERT_NE(Root, nullptr);
	EXPECT_EQ(Root->GetTag(), TEXT("i"));
	EXPECT_EQ(Root->GetAttribute(TEXT("q")), TEXT("a & \"b\" 中"));
	// Characters beyond the BMP, written or referenced, arrive as surrogate pairs.
	const FString Expected =
	    FString(TEXT("<中文> ")) + TEXT("\xD83D\xDE00") + TEXT("'第一课") + TEXT("\xD83D\xDE02") + TEXT("<raw> &amp;");
	EXPECT_EQ(Root->GetContent(), Expected);
}

TEST(XmlFile, RefusesDocumentsThatAreNotWellFormedAndSaysWhere)
{
	for (const TCHAR* Broken : {TEXT(""), TEXT("plain text"), TEXT("<i><d>open</i>"), TEXT("<i>&nosuch;</i>"),
	                            TEXT("<i></i><i></i>"), TEXT("<i a=\"1\" a=\"2\"/>"), TEXT("<i>&#0;</i>")})
	{
		const FXmlFile File(Broken, EConstructMethod::ConstructFromBuffer);
		EXPECT_FALSE(File.IsValid()) << TCHAR_TO_UTF8(Broken);
		EXPECT_EQ(File.GetRootNode(), nullptr);
		EXPECT_TRUE(File.GetLastError().StartsWith(TEXT("XML error at line"))) << TCHAR_TO_UTF8(*File.GetLastError());
	}
	const FXmlFile Mismatch(TEXT("<i>\n<d>x</e></i>"), EConstructMethod::ConstructFromBuffer);
	EXPECT_TRUE(Mismatch.GetLastError().StartsWith(TEXT("XML error at line 2, column 7")))
	    << TCHAR_TO_UTF8(*Mismatch.GetLastError());
}

TEST(XmlFile, LoadsFromAFileAndAReloadReplacesTheDocument)
{
	const FString Path = FromUtf8(
	    (std::filesystem::temp_directory_path() / ("XmlFileTest-" + std::to_string(getpid()) + ".xml")).string());
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("<i><d p=\"3\">from file</d></i>"), *Path));
	FXmlFile File(Path);
	ASSERT_TRUE(File.IsValid()) << TCHAR_TO_UTF8(*File.GetLastError());
	EXPECT_EQ(File.GetRootNode()->GetFirstChildNode()->GetContent(), TEXT("from file"));

	EXPECT_FALSE(File.LoadFile(Path + TEXT(".missing")));
	EXPECT_FALSE(File.IsValid());
	EXPECT_EQ(File.GetRootNode(), nullptr);
	EXPECT_TRUE(File.GetLastError().Contains(TEXT(".xml.missing")));

	ASSERT_TRUE(File.LoadFile(TEXT("<other/>"), EConstructMethod::ConstructFromBuffer));
	EXPECT_EQ(File.GetRootNode()->GetTag(), TEXT("other"));
	EXPECT_TRUE(File.GetRootNode()->GetChildrenNodes().IsEmpty());
	IFileManager::Get().Delete(*Path);
}

TEST(XmlFile, FreesADeeplyNestedDocumentWithoutRecursing)
{
	FString Text;
	for (int32 Depth = 0; Depth < 200000; ++Depth)
	{
		Text += TEXT("<a>");
	}
	for (int32 Depth = 0; Depth < 200000; ++Depth)
	{
		Text += TEXT("</a>");
	}
	FXmlFile File(Text, EConstructMethod::ConstructFromBuffer);
	ASSERT_TRUE(File.IsValid());
	File.Clear();
	EXPECT_EQ(File.GetRootNode(), nullptr);
}
