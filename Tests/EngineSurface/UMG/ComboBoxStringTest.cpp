#include "UMGTestFixture.h"

using ComboBoxString = FUMGTest;

TEST_F(ComboBoxString, SelectingInCodeRaisesDirectOnlyWhenTheSelectionChanges)
{
	UTestFormWidget* Form = ShowForm();
	Form->Choice->SetSelectedOption(TEXT("A"));
	Form->Choice->SetSelectedOption(TEXT("C"));
	Form->Choice->SetSelectedIndex(1);
	Form->Choice->SetSelectedOption(TEXT("Z"));
	EXPECT_EQ(Form->Choice->GetSelectedOption(), TEXT("B"));
	EXPECT_EQ(Form->Events, TArray<FString>({TEXT("Selected C 3"), TEXT("Selected B 3")}));
}

TEST_F(ComboBoxString, UserOpensTheListAndClicksAnOption)
{
	UTestFormWidget* Form = ShowForm();
	ClickAt(CentreOf(Form->Choice));
	ASSERT_TRUE(Form->Choice->IsOpen());
	const FGeometry Row = Form->Choice->GetOptionGeometry(2);
	ClickAt(Row.GetAbsolutePosition() + Row.GetLocalSize() * 0.5);
	EXPECT_FALSE(Form->Choice->IsOpen());
	EXPECT_EQ(Form->Choice->GetSelectedOption(), TEXT("C"));
	EXPECT_EQ(Form->Events, TArray<FString>({TEXT("Selected C 2")}));
}

TEST_F(ComboBoxString, ClickElsewhereClosesTheListWithoutSelecting)
{
	UTestFormWidget* Form = ShowForm();
	ClickAt(CentreOf(Form->Choice));
	ClickAt(FVector2D(600.0, 400.0));
	EXPECT_FALSE(Form->Choice->IsOpen());
	EXPECT_TRUE(Form->Events.IsEmpty());

	Form->Choice->ClearOptions();
	EXPECT_EQ(Form->Choice->GetOptionCount(), 0);
	Form->Choice->AddOption(TEXT("Only"));
	EXPECT_EQ(Form->Choice->GetOptionCount(), 1);
}
