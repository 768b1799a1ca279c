#include "XmlFile.h"

#include "HAL/FileManager.h"
#include "Headless/Utf8String.h"
#include "Misc/FileHelper.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

TEST(XmlFile, ReadsElementsAttributesAndDecodedTextFromABuffer)
{
	const FXmlFile File(TEXT("<?xml version=\"1.0\" encoding=\"GBK\"?>\n"
	                         "<!DOCTYPE i [<!ENTITY lesson \"第一课\">]>\n"
	                         "<i><chatid>7</chatid><d p=\"1.5,1\" q='a &amp; &quot;b&quot;'>&lt;&#x4E2D;&#25991;&gt; "
	                         "&#x1F600;&apos;&lesson;😂</d><d p=\"2\"/></i>"),
	                    EConstructMethod::ConstructFromBuffer);
	ASSERT_TRUE(File.IsValid()) << TCHAR_TO_UTF8(*File.GetLastError());
	const FXmlNode* Root = File.GetRootNode();
	ASSERT_NE(Root, nullptr);
	EXPECT_EQ(Root->GetTag(), TEXT("i"));
	ASSERT_EQ(Root->GetChildrenNodes().Num(), 3);
	EXPECT_EQ(Root->FindChildNode(TEXT("chatid"))->GetContent(), TEXT("7"));
	EXPECT_EQ(Root->FindChildNode(TEXT("missing")), nullptr);

	const FXmlNode* Comment = Root->FindChildNode(TEXT("d"));
	ASSERT_EQ(Comment, Root->GetChildrenNodes()[1]);
	EXPECT_EQ(Root->GetFirstChildNode()->GetNextNode(), Comment);
	EXPECT_EQ(Comment->GetAttribute(TEXT("p")), TEXT("1.5,1"));
	EXPECT_EQ(Comment->GetAttribute(TEXT("q")), TEXT("a & \"b\""));
	EXPECT_EQ(Comment->GetAttribute(TEXT("absent")), TEXT(""));
	ASSERT_EQ(Comment->GetAttributes().Num(), 2);
	EXPECT_EQ(Comment->GetAttributes()[1].GetTag(), TEXT("q"));
	// Characters beyond the BMP, written or referenced, arrive as surrogate pairs.
	const FString Expected = FString(TEXT("<中文> ")) + TEXT("\xD83D\xDE00") + TEXT("'第一课") + TEXT("\xD83D\xDE02");
	EXPECT_EQ(Comment->GetContent(), Expected);
	EXPECT_EQ(Comment->GetNextNode()->GetAttribute(TEXT("p")), TEXT("2"));
	EXPECT_EQ(Comment->GetNextNode()->GetNextNode(), nullptr);
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
