#include "XmlNode.h"

#include "XmlFile.h"

#include <gtest/gtest.h>

TEST(XmlNode, NavigatesChildrenSiblingsAndAttributes)
{
	const FXmlFile File(TEXT("<i><chatid>7</chatid><d p=\"1.5,1\" q=\"x\">first</d><d p=\"2\"/></i>"),
	                    EConstructMethod::ConstructFromBuffer);
	ASSERT_TRUE(File.IsValid()) << TCHAR_TO_UTF8(*File.GetLastError());
	const FXmlNode* Root = File.GetRootNode();
	ASSERT_EQ(Root->GetChildrenNodes().Num(), 3);
	EXPECT_EQ(Root->FindChildNode(TEXT("chatid"))->GetContent(), TEXT("7"));
	EXPECT_EQ(Root->FindChildNode(TEXT("missing")), nullptr);

	const FXmlNode* First = Root->FindChildNode(TEXT("d"));
	EXPECT_EQ(First, Root->GetChildrenNodes()[1]) << "the first child of that tag";
	EXPECT_EQ(Root->GetFirstChildNode()->GetNextNode(), First);
	EXPECT_EQ(First->GetAttribute(TEXT("p")), TEXT("1.5,1"));
	EXPECT_EQ(First->GetAttribute(TEXT("absent")), TEXT(""));
	ASSERT_EQ(First->GetAttributes().Num(), 2);
	EXPECT_EQ(First->GetAttributes()[1].GetTag(), TEXT("q"));
	EXPECT_EQ(First->GetAttributes()[1].GetValue(), TEXT("x"));
	EXPECT_EQ(First->GetContent(), TEXT("first"));

	const FXmlNode* Last = First->GetNextNode();
	ASSERT_NE(Last, nullptr);
	EXPECT_EQ(Last->GetAttribute(TEXT("p")), TEXT("2"));
	EXPECT_EQ(Last->GetContent(), TEXT(""));
	EXPECT_TRUE(Last->GetChildrenNodes().IsEmpty());
	EXPECT_EQ(Last->GetNextNode(), nullptr);
	EXPECT_EQ(Root->GetNextNode(), nullptr);
}
