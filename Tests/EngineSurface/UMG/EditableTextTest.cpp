#include "UMGTestFixture.h"

using EditableText = FUMGTest;

TEST_F(EditableText, SetTextRaisesChangedOnlyWhenTheTextDiffers)
{
	UTestFormWidget* Form = ShowForm();
	Form->Input->SetText(FText::FromString(TEXT("abc")));
	Form->Input->SetText(FText::FromString(TEXT("abc")));
	Form->Input->SetText(FText::FromString(TEXT("ABC")));
	EXPECT_EQ(Form->Events, TArray<FString>({TEXT("Changed abc"), TEXT("Changed ABC")}));
}

TEST_F(EditableText, TypingGoesToTheClickedFieldAndEnterCommits)
{
	UTestFormWidget* Form = ShowForm();
	App.TypeText(TEXT("lost"));
	App.Tick(Frame);
	EXPECT_TRUE(Form->Events.IsEmpty()) << "nothing has focus yet";

	ClickAt(CentreOf(Form->Input));
	EXPECT_TRUE(Form->Input->HasKeyboardFocus());
	App.TypeText(TEXT("hi"));
	App.TypeText(TEXT("!"));
	App.PressBackspace();
	App.PressEnter();
	App.Tick(Frame);
	EXPECT_EQ(Form->Events,
	          TArray<FString>({TEXT("Changed hi"), TEXT("Changed hi!"), TEXT("Changed hi"), TEXT("Committed hi 1")}));
	EXPECT_EQ(Form->Input->GetText().ToString(), TEXT("hi"));
}

TEST_F(EditableText, MovingFocusAwayCommitsAndClearingFocusCommitsAsCleared)
{
	UTestFormWidget* Form = ShowForm();
	ClickAt(CentreOf(Form->Input));
	App.TypeText(TEXT("x"));
	ClickAt(CentreOf(Form->Other));
	EXPECT_TRUE(Form->Other->HasKeyboardFocus());
	EXPECT_EQ(Form->Events.Last(), TEXT("Committed x 2"));

	ClickAt(CentreOf(Form->Input));
	App.ClearFocus();
	App.Tick(Frame);
	EXPECT_EQ(Form->Events.Last(), TEXT("Committed x 3"));
	EXPECT_FALSE(Form->Input->HasKeyboardFocus());
}

TEST_F(EditableText, ClickingAButtonTakesFocusFromTheField)
{
	UTestFormWidget* Form = ShowForm();
	ClickAt(CentreOf(Form->Input));
	Form->Events.Empty();
	ClickAt(CentreOf(Form->OkButton));
	const int32 Committed = Form->Events.Find(TEXT("Committed  2"));
	EXPECT_NE(Committed, INDEX_NONE);
	EXPECT_LT(Committed, Form->Events.Find(TEXT("Clicked"))) << "focus moves on the press, the click comes on release";
	EXPECT_FALSE(Form->Input->HasKeyboardFocus());
}

TEST_F(EditableText, DisabledOrReadOnlyFieldTakesNoTyping)
{
	UTestFormWidget* Form = ShowForm();
	Form->Input->SetIsReadOnly(true);
	ClickAt(CentreOf(Form->Input));
	App.TypeText(TEXT("a"));
	App.Tick(Frame);
	EXPECT_TRUE(Form->Input->GetText().IsEmpty());

	Form->Input->SetIsReadOnly(false);
	Form->Input->SetIsEnabled(false);
	App.TypeText(TEXT("b"));
	App.Tick(Frame);
	EXPECT_TRUE(Form->Input->GetText().IsEmpty());
}
