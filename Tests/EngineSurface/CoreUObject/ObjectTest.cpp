#include "ObjectTestTypes.h"

#include <gtest/gtest.h>

TEST(Object, ClassesAreRegisteredUnderTheirScriptPackage)
{
	UClass* Class = UTestNode::StaticClass();
	EXPECT_EQ(Class->GetName(), TEXT("TestNode"));
	EXPECT_EQ(Class->GetPathName(), TEXT("/Script/CoreUObjectTests.TestNode"));
	EXPECT_EQ(FindClassByPath(TEXT("/Script/CoreUObjectTests.TestLeaf")), UTestLeaf::StaticClass());
	EXPECT_EQ(UTestLeaf::StaticClass()->GetSuperClass(), UTestNode::StaticClass());
	EXPECT_EQ(UObject::StaticClass()->GetClass(), UClass::StaticClass());
}

TEST(Object, PropertyTableCarriesNamesFlagsAndMetadata)
{
	FProperty* Child = UTestLeaf::StaticClass()->FindPropertyByName(TEXT("Child"));
	ASSERT_NE(Child, nullptr);
	EXPECT_TRUE(Child->HasMetaData(TEXT("BindWidget")));
	EXPECT_EQ(Child->GetMetaData(TEXT("ClampMin")), TEXT("0"));
	EXPECT_EQ(Child->GetMetaData(TEXT("Category")), TEXT("Test"));
	EXPECT_TRUE(Child->HasAnyPropertyFlags(CPF_Edit));
	EXPECT_EQ(Child->GetType().GetReferencedClass(), UTestNode::StaticClass());
	EXPECT_EQ(UTestNode::StaticClass()->FindPropertyByName(TEXT("Hidden")), nullptr);
	EXPECT_NE(UTestNode::StaticClass()->FindFunctionByName(TEXT("OnSignal")), nullptr);
	EXPECT_EQ(UTestNode::StaticClass()->FindFunctionByName(TEXT("NotReflected")), nullptr);
}

TEST(Object, NewObjectSetsOuterBeforeTheConstructorRuns)
{
	UTestNode* Outer = NewObject<UTestNode>();
	UTestLeaf* Leaf = NewObject<UTestLeaf>(Outer);
	EXPECT_TRUE(Leaf->WorldSeenInConstructor);
	EXPECT_EQ(Leaf->GetOuter(), Outer);
	EXPECT_TRUE(Leaf->IsA<UTestNode>());
	EXPECT_EQ(Cast<UTestLeaf>(static_cast<UObject*>(Leaf)), Leaf);
	EXPECT_EQ(Cast<UTestLeaf>(static_cast<UObject*>(Outer)), nullptr);
	EXPECT_NE(Leaf->GetName(), Outer->GetName());
}

TEST(Object, AbstractClassesAndWrongSubclassesMakeNothing)
{
	EXPECT_EQ(NewObject<UTestAbstract>(), nullptr);
	EXPECT_EQ(NewObject<UTestLeaf>(nullptr, UTestNode::StaticClass()), nullptr);
	TSubclassOf<UTestLeaf> LeafClass(UTestNode::StaticClass());
	EXPECT_EQ(LeafClass.Get(), nullptr);
}

TEST(Object, EnumsAreRegisteredWithQualifiedNames)
{
	UEnum* Enum = StaticEnum<ETestMood>();
	ASSERT_NE(Enum, nullptr);
	// The header tool adds the _MAX entry one past the largest value, and NumEnums counts it.
	EXPECT_EQ(Enum->NumEnums(), 4);
	EXPECT_EQ(Enum->GetNameByValue(3).ToString(), TEXT("ETestMood::Busy"));
	EXPECT_EQ(Enum->GetValueByIndex(2), 4);
	EXPECT_EQ(Enum->GetNameStringByValue(0), TEXT("Calm"));
	EXPECT_EQ(Enum->GetNameByIndex(3).ToString(), TEXT("ETestMood::ETestMood_MAX"));
	EXPECT_EQ(Enum->GetValueByIndex(3), 5);
	EXPECT_TRUE(Enum->IsValidEnumValue(5));
	EXPECT_FALSE(Enum->IsValidEnumValue(1));
}

TEST(Object, PropertiesWriteAndReadTheirTextForm)
{
	UTestNode* Node = NewObject<UTestNode>();
	Node->Label = TEXT("say \"hi\"");
	Node->Mood = ETestMood::Away;
	Node->NodeClass = UTestLeaf::StaticClass();
	UTestNode* Copy = NewObject<UTestNode>();
	for (const TCHAR* Name : {TEXT("Label"), TEXT("Mood"), TEXT("NodeClass")})
	{
		FProperty* Property = UTestNode::StaticClass()->FindPropertyByName(Name);
		FString Text;
		ASSERT_TRUE(Property->ExportText_InContainer(Node, Text)) << TCHAR_TO_UTF8(Name);
		ASSERT_TRUE(Property->ImportText_InContainer(Text, Copy))
		    << TCHAR_TO_UTF8(Name) << " from " << TCHAR_TO_UTF8(*Text);
	}
	EXPECT_EQ(Copy->Label, TEXT("say \"hi\""));
	EXPECT_EQ(Copy->Mood, ETestMood::Away);
	EXPECT_EQ(Copy->NodeClass.Get(), UTestLeaf::StaticClass());
	FProperty* ClassProperty = UTestNode::StaticClass()->FindPropertyByName(TEXT("NodeClass"));
	EXPECT_FALSE(ClassProperty->ImportText_InContainer(TEXT("\"/Script/CoreUObject.Object\""), Copy));
	EXPECT_EQ(Copy->NodeClass.Get(), UTestLeaf::StaticClass());
}

TEST(Object, FunctionsWithoutParametersCanBeCalledByName)
{
	UTestNode* Node = NewObject<UTestNode>();
	EXPECT_TRUE(Node->CallFunctionByNameWithArguments(TEXT("Poke")));
	EXPECT_FALSE(Node->CallFunctionByNameWithArguments(TEXT("OnSignal")));
	EXPECT_FALSE(Node->CallFunctionByNameWithArguments(TEXT("Missing")));
	EXPECT_EQ(Node->Pokes, 1);
}
