#include "DanmakuScreen.h"

#include "Components/Button.h"
#include "Components/CheckBox.h"
#include "Components/EditableText.h"

#include <gtest/gtest.h>

namespace
{
// The viewer rests the pointer on the style button, then moves into the panel to pick a style.
class FStylePanelScreen : public FDanmakuScreen
{
public:
	FStylePanelScreen()
	{
		Step();
		Hover(Child<UWidget>(Bar, TEXT("DanmakuNodeSettingButton")));
		Hover(Panel);
	}

	UCheckBox* Box(const TCHAR* Name) { return Child<UCheckBox>(Panel, Name); }
	FString ColorText() { return Child<UEditableText>(Panel, TEXT("InputColorText"))->GetText().ToString(); }
	// Selects everything in the colour field, deletes it and types Text, as a viewer replaces a colour.
	void TypeColor(const FString& Text)
	{
		UEditableText* Field = Child<UEditableText>(Panel, TEXT("InputColorText"));
		Click(Field);
		Field->SetText(FText::GetEmpty());
		Type(Text);
	}
	TArray<FString> TickedColors()
	{
		TArray<FString> Ticked;
		for (const TCHAR* Name : {TEXT("C_FE0302"), TEXT("C_00CD00"), TEXT("C_4266BE"), TEXT("C_FFFFFF")})
		{
			if (Box(Name)->IsChecked())
			{
				Ticked.Add(Name);
			}
		}
		return Ticked;
	}
};
} // namespace

TEST(UI_DanmakuNodeSetting, StartsHiddenWithScrollNormalWhite)
{
	FDanmakuScreen Screen;
	Screen.Step();

	EXPECT_EQ(Screen.Panel->GetVisibility(), ESlateVisibility::Hidden);
	EXPECT_EQ(Screen.Panel->GetModel(), EDanmakuMode::SCROLL);
	EXPECT_EQ(Screen.Panel->GetFontSize(), 24);
	EXPECT_EQ(Screen.Panel->GetFontColor(), TEXT("#FFFFFFFF"));
}

TEST(UI_DanmakuNodeSetting, ModeAndSizeBoxesKeepExactlyOneTicked)
{
	FStylePanelScreen Screen;
	ASSERT_EQ(Screen.Panel->GetVisibility(), ESlateVisibility::Visible);

	Screen.Click(Screen.Box(TEXT("Top")));
	EXPECT_EQ(Screen.Panel->GetModel(), EDanmakuMode::TOP);
	EXPECT_FALSE(Screen.Box(TEXT("Scroll"))->IsChecked());

	Screen.Click(Screen.Box(TEXT("Top")));
	EXPECT_TRUE(Screen.Box(TEXT("Top"))->IsChecked());
	EXPECT_EQ(Screen.Panel->GetModel(), EDanmakuMode::TOP);

	Screen.Click(Screen.Box(TEXT("Bottom")));
	EXPECT_EQ(Screen.Panel->GetModel(), EDanmakuMode::BOTTOM);
	EXPECT_FALSE(Screen.Box(TEXT("Top"))->IsChecked());

	Screen.Click(Screen.Box(TEXT("Normal")));
	EXPECT_TRUE(Screen.Box(TEXT("Normal"))->IsChecked());
	EXPECT_EQ(Screen.Panel->GetFontSize(), 24);

	Screen.Click(Screen.Box(TEXT("Small")));
	EXPECT_FALSE(Screen.Box(TEXT("Normal"))->IsChecked());
	EXPECT_EQ(Screen.Panel->GetFontSize(), 18);
}

TEST(UI_DanmakuNodeSetting, PresetColourBoxSetsTextAndSwatch)
{
	FStylePanelScreen Screen;

	Screen.Click(Screen.Box(TEXT("C_FE0302")));
	EXPECT_EQ(Screen.TickedColors(), TArray<FString>({TEXT("C_FE0302")}));
	EXPECT_EQ(Screen.ColorText(), TEXT("#FE0302"));
	EXPECT_EQ(Screen.Panel->GetFontColor(), TEXT("#FE0302FF"));

	Screen.TypeColor(TEXT("12"));
	Screen.Click(Screen.Box(TEXT("C_FE0302")));
	EXPECT_EQ(Screen.TickedColors(), TArray<FString>({TEXT("C_FE0302")}));
	EXPECT_EQ(Screen.ColorText(), TEXT("#FE0302"));

	// Clicking the ticked box leaves it ticked.
	Screen.Click(Screen.Box(TEXT("C_FE0302")));
	EXPECT_EQ(Screen.TickedColors(), TArray<FString>({TEXT("C_FE0302")}));
}

TEST(UI_DanmakuNodeSetting, TypedColourSelectsMatchingPresetInAnyCase)
{
	FStylePanelScreen Screen;

	Screen.TypeColor(TEXT("#fe0302"));
	EXPECT_EQ(Screen.TickedColors(), TArray<FString>({TEXT("C_FE0302")}));
	EXPECT_EQ(Screen.ColorText(), TEXT("#FE0302"));
	EXPECT_EQ(Screen.Panel->GetFontColor(), TEXT("#FE0302FF"));

	Screen.TypeColor(TEXT("4266be"));
	EXPECT_EQ(Screen.TickedColors(), TArray<FString>({TEXT("C_4266BE")}));

	Screen.TypeColor(TEXT("#00cd00"));
	EXPECT_EQ(Screen.TickedColors(), TArray<FString>({TEXT("C_00CD00")}));
	EXPECT_EQ(Screen.Panel->GetFontColor(), TEXT("#00CD00FF"));
}

TEST(UI_DanmakuNodeSetting, TypedCustomColourTintsSwatchAndUnticksPresets)
{
	FStylePanelScreen Screen;

	Screen.TypeColor(TEXT("#12ab34"));
	EXPECT_TRUE(Screen.TickedColors().IsEmpty());
	EXPECT_EQ(Screen.ColorText(), TEXT("#12ab34"));
	EXPECT_EQ(Screen.Panel->GetFontColor(), TEXT("#12AB34FF"));

	Screen.TypeColor(TEXT("#FE0302AB99"));
	EXPECT_EQ(Screen.ColorText(), TEXT("#FE0302"));
	EXPECT_EQ(Screen.Panel->GetFontColor(), TEXT("#FE0302FF"));
}

TEST(UI_DanmakuNodeSetting, UnreadableColourKeepsPreviousSwatch)
{
	FStylePanelScreen Screen;
	Screen.TypeColor(TEXT("#12ab34"));

	Screen.TypeColor(TEXT(""));
	EXPECT_EQ(Screen.ColorText(), TEXT("#"));
	EXPECT_EQ(Screen.Panel->GetFontColor(), TEXT("#12AB34FF"));

	Screen.TypeColor(TEXT("x#12zz"));
	EXPECT_EQ(Screen.ColorText(), TEXT("#12"));
	EXPECT_TRUE(Screen.TickedColors().IsEmpty());
	EXPECT_EQ(Screen.Panel->GetFontColor(), TEXT("#12AB34FF"));
}

TEST(UI_DanmakuNodeSetting, HidesAShortWhileAfterThePointerLeaves)
{
	FDanmakuScreen Screen;
	Screen.Step();
	UWidget* StyleButton = FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("DanmakuNodeSettingButton"));

	Screen.Hover(StyleButton);
	EXPECT_EQ(Screen.Panel->GetVisibility(), ESlateVisibility::Visible);

	Screen.MoveMouseAway();
	Screen.StepFor(0.65);
	EXPECT_EQ(Screen.Panel->GetVisibility(), ESlateVisibility::Visible);
	Screen.StepFor(0.15);
	EXPECT_EQ(Screen.Panel->GetVisibility(), ESlateVisibility::Hidden);

	// Into the panel within the delay: it stays; out of the panel: it hides after the delay.
	Screen.Hover(StyleButton);
	Screen.MoveMouseAway();
	Screen.StepFor(0.5);
	Screen.Hover(Screen.Panel);
	Screen.StepFor(1.5);
	EXPECT_EQ(Screen.Panel->GetVisibility(), ESlateVisibility::Visible);

	Screen.MoveMouseAway();
	Screen.StepFor(0.65);
	EXPECT_EQ(Screen.Panel->GetVisibility(), ESlateVisibility::Visible);
	Screen.StepFor(0.15);
	EXPECT_EQ(Screen.Panel->GetVisibility(), ESlateVisibility::Hidden);
}

TEST(UI_DanmakuNodeSetting, HandlersStayBoundOnceAcrossRebuilds)
{
	FStylePanelScreen Screen;
	Screen.TakeOffScreenAndBack();
	Screen.TakeOffScreenAndBack();
	Screen.Hover(FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("DanmakuNodeSettingButton")));
	Screen.Hover(Screen.Panel);

	Screen.Click(Screen.Box(TEXT("Top")));
	EXPECT_TRUE(Screen.Box(TEXT("Top"))->IsChecked());
	EXPECT_FALSE(Screen.Box(TEXT("Scroll"))->IsChecked());
	Screen.Click(Screen.Box(TEXT("C_4266BE")));
	EXPECT_EQ(Screen.TickedColors(), TArray<FString>({TEXT("C_4266BE")}));
	EXPECT_EQ(Screen.Panel->GetFontColor(), TEXT("#4266BEFF"));
}
