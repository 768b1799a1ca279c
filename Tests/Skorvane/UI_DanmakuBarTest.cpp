#include "DanmakuScreen.h"

#include "Components/Button.h"
#include "Components/CheckBox.h"
#include "Components/EditableText.h"
#include "Components/TextBlock.h"

#include <gtest/gtest.h>

namespace
{
FString FieldText(FDanmakuScreen& Screen)
{
	return FDanmakuScreen::Child<UEditableText>(Screen.Bar, TEXT("InputDanmakuText"))->GetText().ToString();
}

FString CountText(FDanmakuScreen& Screen)
{
	return FDanmakuScreen::Child<UTextBlock>(Screen.Bar, TEXT("TextNum"))->GetText().ToString();
}

// A playing lesson, a second in.
void StartLesson(FDanmakuScreen& Screen)
{
	Screen.OpenLesson();
	Screen.PlayUntil(1.0);
}
} // namespace

TEST(UI_DanmakuBar, TypingStopsAtTheLimitAndCounts)
{
	FDanmakuScreen Screen;
	Screen.Step();
	EXPECT_EQ(CountText(Screen), TEXT("0/100"));

	Screen.Click(FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("InputDanmakuText")));
	Screen.Type(TEXT("hello"));
	EXPECT_EQ(CountText(Screen), TEXT("5/100"));

	Screen.Type(FString::ChrN(96, TEXT('x')));
	EXPECT_EQ(FieldText(Screen), TEXT("hello") + FString::ChrN(95, TEXT('x')));
	EXPECT_EQ(CountText(Screen), TEXT("100/100"));

	FDanmakuScreen::Child<UEditableText>(Screen.Bar, TEXT("InputDanmakuText"))->SetText(FText::GetEmpty());
	Screen.Type(FString::ChrN(150, TEXT('a')) + FString::ChrN(100, TEXT('b')));
	EXPECT_EQ(FieldText(Screen), FString::ChrN(100, TEXT('a')));
	EXPECT_EQ(CountText(Screen), TEXT("100/100"));
}

TEST(UI_DanmakuBar, CutAtTheLimitNeverSplitsAnEmoji)
{
	FDanmakuScreen Screen;
	Screen.Step();
	const FString Emoji = FString(UTF8_TO_TCHAR("\xF0\x9F\x98\x80")); // one emoji, two UTF-16 units
	ASSERT_EQ(Emoji.Len(), 2);

	Screen.Click(FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("InputDanmakuText")));
	Screen.Type(FString::ChrN(99, TEXT('a')) + Emoji + TEXT("b"));
	EXPECT_EQ(FieldText(Screen), FString::ChrN(99, TEXT('a')));
	EXPECT_EQ(CountText(Screen), TEXT("99/100"));
}

TEST(UI_DanmakuBar, EnterSendsOnceWithTimeUrlAndStyle)
{
	FDanmakuScreen Screen;
	StartLesson(Screen);

	// Pick bottom, small, red in the style panel.
	Screen.Hover(FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("DanmakuNodeSettingButton")));
	Screen.Hover(Screen.Panel);
	Screen.Click(FDanmakuScreen::Child<UWidget>(Screen.Panel, TEXT("Bottom")));
	Screen.Click(FDanmakuScreen::Child<UWidget>(Screen.Panel, TEXT("Small")));
	Screen.Click(FDanmakuScreen::Child<UWidget>(Screen.Panel, TEXT("C_FE0302")));

	Screen.SendComment(TEXT("  first!  "));

	ASSERT_EQ(Screen.HostDouble->Sent.Num(), 1);
	const FSentDanmaku& Sent = Screen.HostDouble->Sent[0];
	EXPECT_EQ(Sent.VideoURL, Screen.Player->GetUrl());
	EXPECT_EQ(Sent.Content, TEXT("  first!  "));
	EXPECT_EQ(Sent.Mode, EDanmakuMode::BOTTOM);
	EXPECT_EQ(Sent.FontSize, 18);
	EXPECT_EQ(Sent.FontColor, TEXT("#FE0302FF"));
	EXPECT_GE(Sent.SpawnTime, FTimespan::FromSeconds(1.0).GetTicks());
	EXPECT_LE(Sent.SpawnTime, Screen.Player->GetTime().GetTicks());
	EXPECT_EQ(FieldText(Screen), TEXT(""));
	EXPECT_EQ(CountText(Screen), TEXT("0/100"));

	UWidget* SendButton = FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("SendDanmakuButton"));
	Screen.Click(SendButton);
	EXPECT_EQ(Screen.HostDouble->Sent.Num(), 1);

	Screen.Click(FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("InputDanmakuText")));
	Screen.Type(TEXT("by button"));
	Screen.Click(SendButton);
	ASSERT_EQ(Screen.HostDouble->Sent.Num(), 2);
	EXPECT_EQ(Screen.HostDouble->Sent[1].Content, TEXT("by button"));
	EXPECT_EQ(FieldText(Screen), TEXT(""));
}

TEST(UI_DanmakuBar, BlankTextIsClearedAndNotSent)
{
	FDanmakuScreen Screen;
	StartLesson(Screen);

	Screen.SendComment(TEXT("    "));
	EXPECT_TRUE(Screen.HostDouble->Sent.IsEmpty());
	EXPECT_EQ(FieldText(Screen), TEXT(""));
	EXPECT_EQ(CountText(Screen), TEXT("0/100"));

	// The field kept focus: typing goes on in it.
	Screen.Type(TEXT("ok"));
	EXPECT_EQ(FieldText(Screen), TEXT("ok"));
}

TEST(UI_DanmakuBar, NothingPlayingKeepsTheTypedText)
{
	FDanmakuScreen Screen;
	Screen.Step();

	Screen.SendComment(TEXT("hello"));
	EXPECT_TRUE(Screen.HostDouble->Sent.IsEmpty());
	EXPECT_EQ(FieldText(Screen), TEXT("hello"));
	EXPECT_EQ(CountText(Screen), TEXT("5/100"));
	Screen.Type(TEXT(" world"));
	EXPECT_EQ(FieldText(Screen), TEXT("hello world"));

	// Once the lesson plays, the same text goes out.
	StartLesson(Screen);
	Screen.PressEnter();
	ASSERT_EQ(Screen.HostDouble->Sent.Num(), 1);
	EXPECT_EQ(Screen.HostDouble->Sent[0].Content, TEXT("hello world"));
}

TEST(UI_DanmakuBar, NoMediaPlayerKeepsTheTypedText)
{
	FDanmakuScreen Screen(600.0, false);
	Screen.Wire(nullptr);
	Screen.Step();

	Screen.SendComment(TEXT("anyone?"));
	EXPECT_TRUE(Screen.HostDouble->Sent.IsEmpty());
	EXPECT_EQ(FieldText(Screen), TEXT("anyone?"));
}

TEST(UI_DanmakuBar, SwitchingOffDisablesInputAndSwitchingOnClearsIt)
{
	FDanmakuScreen Screen;
	StartLesson(Screen);
	UCheckBox* Toggle = FDanmakuScreen::Child<UCheckBox>(Screen.Bar, TEXT("OpenDanmakuButton"));
	UEditableText* Field = FDanmakuScreen::Child<UEditableText>(Screen.Bar, TEXT("InputDanmakuText"));

	Screen.Click(Toggle);
	EXPECT_FALSE(Toggle->IsChecked());
	EXPECT_FALSE(Field->GetIsEnabled());
	EXPECT_EQ(FieldText(Screen), TEXT("ClosedBullet"));
	EXPECT_EQ(FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("TextNum"))->GetVisibility(),
	          ESlateVisibility::Collapsed);
	EXPECT_EQ(FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("DanmakuNodeSettingButton"))->GetVisibility(),
	          ESlateVisibility::Collapsed);

	// Disabled: clicking send does nothing.
	Screen.Click(FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("SendDanmakuButton")));
	EXPECT_TRUE(Screen.HostDouble->Sent.IsEmpty());

	Screen.Click(Toggle);
	EXPECT_TRUE(Field->GetIsEnabled());
	EXPECT_EQ(FieldText(Screen), TEXT(""));
	EXPECT_EQ(CountText(Screen), TEXT("0/100"));
	EXPECT_EQ(FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("TextNum"))->GetVisibility(), ESlateVisibility::Visible);
}

TEST(UI_DanmakuBar, HandlersStayBoundOnceAcrossRebuilds)
{
	FDanmakuScreen Screen;
	StartLesson(Screen);
	Screen.TakeOffScreenAndBack();
	Screen.TakeOffScreenAndBack();

	Screen.SendComment(TEXT("by enter"));
	UWidget* SendButton = FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("SendDanmakuButton"));
	Screen.Click(FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("InputDanmakuText")));
	Screen.Type(TEXT("by button"));
	Screen.Click(SendButton);
	ASSERT_EQ(Screen.HostDouble->Sent.Num(), 2);
	EXPECT_EQ(Screen.HostDouble->Sent[0].Content, TEXT("by enter"));
	EXPECT_EQ(Screen.HostDouble->Sent[1].Content, TEXT("by button"));
	EXPECT_EQ(CountText(Screen), TEXT("0/100"));

	Screen.Click(FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("OpenDanmakuButton")));
	EXPECT_FALSE(FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("InputDanmakuText"))->GetIsEnabled());
}
