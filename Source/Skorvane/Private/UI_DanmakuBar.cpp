#include "UI_DanmakuBar.h"

#include "Components/Button.h"
#include "Components/CheckBox.h"
#include "Components/EditableText.h"
#include "Components/TextBlock.h"
#include "Kismet/KismetStringLibrary.h"
#include "MediaPlayer.h"
#include "UI_DanmakuNodeSetting.h"

#define LOCTEXT_NAMESPACE "UUI_DanmakuBar"

namespace
{
bool IsHighSurrogate(TCHAR Character)
{
	return Character >= 0xD800 && Character <= 0xDBFF;
}

bool IsLowSurrogate(TCHAR Character)
{
	return Character >= 0xDC00 && Character <= 0xDFFF;
}

// The longest prefix of at most MaxLength code units that does not end half way through a surrogate pair.
int32 GetCutLength(const FString& Text, int32 MaxLength)
{
	int32 Length = FMath::Clamp(MaxLength, 0, Text.Len());
	if (Length > 0 && Length < Text.Len() && IsHighSurrogate(Text[Length - 1]) && IsLowSurrogate(Text[Length]))
	{
		--Length;
	}
	return Length;
}
} // namespace

void UUI_DanmakuBar::Init(TObjectPtr<UMediaPlayer> InMediaPlayer,
                          TObjectPtr<UUI_DanmakuNodeSetting> InDanmakuNodeSetting)
{
	MediaPlayer = InMediaPlayer;
	DanmakuNodeSetting = InDanmakuNodeSetting;
	if (DanmakuNodeSetting)
	{
		DanmakuNodeSetting->SetVisibility(ESlateVisibility::Hidden);
	}
}

void UUI_DanmakuBar::Open()
{
	EmptyInputText();
	InputDanmakuText->SetIsEnabled(true);
	SendDanmakuButton->SetIsEnabled(true);
	TextNum->SetIsEnabled(true);
	TextNum->SetVisibility(ESlateVisibility::Visible);
	DanmakuNodeSettingButton->SetIsEnabled(true);
	DanmakuNodeSettingButton->SetVisibility(ESlateVisibility::Visible);
}

void UUI_DanmakuBar::Close()
{
	InputDanmakuText->SetIsEnabled(false);
	InputDanmakuText->SetText(LOCTEXT("ClosedBullet", "ClosedBullet"));
	SendDanmakuButton->SetIsEnabled(false);
	TextNum->SetIsEnabled(false);
	TextNum->SetVisibility(ESlateVisibility::Collapsed);
	DanmakuNodeSettingButton->SetIsEnabled(false);
	DanmakuNodeSettingButton->SetVisibility(ESlateVisibility::Collapsed);
}

void UUI_DanmakuBar::SetOpenDanmakuButtonChecked(bool bIsChecked)
{
	OpenDanmakuButton->SetIsChecked(bIsChecked);
}

UButton* UUI_DanmakuBar::GetButton() const
{
	return SendDanmakuButton;
}

FOnCheckBoxComponentStateChanged& UUI_DanmakuBar::GetOpenDanmakuButtonClickedEvent()
{
	return OpenDanmakuButton->OnCheckStateChanged;
}

FOnButtonClickedEvent& UUI_DanmakuBar::GetSendDanmakuButtonClickedEvent()
{
	return SendDanmakuButton->OnClicked;
}

void UUI_DanmakuBar::NativePreConstruct()
{
	Super::NativePreConstruct();
	SetTextNum(0);
}

void UUI_DanmakuBar::NativeConstruct()
{
	Super::NativeConstruct();
	InputDanmakuText->SetText(FText::GetEmpty());

	// Construction runs again each time the bar comes back on screen; a second binding would send twice.
	InputDanmakuText->OnTextChanged.AddUniqueDynamic(this, &UUI_DanmakuBar::OnInputTextChanged);
	SendDanmakuButton->OnClicked.AddUniqueDynamic(this, &UUI_DanmakuBar::OnSendDanmakuButtonClicked);
	InputDanmakuText->OnTextCommitted.AddUniqueDynamic(this, &UUI_DanmakuBar::OnInputDanmakuTextCommitted);
	DanmakuNodeSettingButton->OnHovered.AddUniqueDynamic(this, &UUI_DanmakuBar::OnSettingDanmakuButtonHovered);
	DanmakuNodeSettingButton->OnUnhovered.AddUniqueDynamic(this, &UUI_DanmakuBar::OnSettingDanmakuButtonUnHovered);
}

void UUI_DanmakuBar::NativeDestruct()
{
	Super::NativeDestruct();
}

void UUI_DanmakuBar::NativeTick(const FGeometry& MyGeometry, float InDeltaTime)
{
	Super::NativeTick(MyGeometry, InDeltaTime);
}

void UUI_DanmakuBar::OnInputTextChanged(const FText& Text)
{
	FString String = Text.ToString();
	if (String.Len() >= MaxNumOFInputTex)
	{
		String = UKismetStringLibrary::GetSubstring(String, 0, GetCutLength(String, MaxNumOFInputTex));
		InputDanmakuText->SetText(FText::FromString(String));
	}
	SetTextNum(String.Len());
}

void UUI_DanmakuBar::OnSendDanmakuButtonClicked()
{
	const FText Text = InputDanmakuText->GetText();
	if (Text.IsEmptyOrWhitespace())
	{
		EmptyInputText();
		InputDanmakuText->SetFocus();
		return;
	}

	const FString Content = Text.ToString();
	if (Content.Len() > MaxNumOFInputTex)
	{
		InputDanmakuText->SetFocus();
		return;
	}

	// With nothing playing the comment has no video to belong to; keep what the viewer typed for later.
	const FString URL = MediaPlayer ? MediaPlayer->GetUrl() : FString();
	if (URL.IsEmpty())
	{
		InputDanmakuText->SetFocus();
		return;
	}

	EmptyInputText();

	const int64 SpawnTime = MediaPlayer->GetTime().GetTicks();
	// Without a style panel the comment goes out in the panel's default style.
	EDanmakuMode Mode = EDanmakuMode::SCROLL;
	int32 FontSize = FDanmakuData::NormalFontSize;
	FString FontColor = TEXT("#FFFFFFFF");
	if (DanmakuNodeSetting)
	{
		Mode = DanmakuNodeSetting->GetModel();
		FontSize = DanmakuNodeSetting->GetFontSize();
		FontColor = DanmakuNodeSetting->GetFontColor();
	}
	OnSendDanmaku.Broadcast(URL, SpawnTime, Content, Mode, FontSize, FontColor);
}

void UUI_DanmakuBar::OnInputDanmakuTextCommitted(const FText& Text, ETextCommit::Type CommitMethod)
{
	if (CommitMethod != ETextCommit::OnEnter)
	{
		return;
	}
	OnSendDanmakuButtonClicked();
	SetTextNum(InputDanmakuText->GetText().ToString().Len());
}

void UUI_DanmakuBar::OnSettingDanmakuButtonHovered()
{
	if (DanmakuNodeSetting)
	{
		DanmakuNodeSetting->SetVisible();
	}
}

void UUI_DanmakuBar::OnSettingDanmakuButtonUnHovered()
{
	if (DanmakuNodeSetting)
	{
		DanmakuNodeSetting->SetHidden();
	}
}

void UUI_DanmakuBar::EmptyInputText()
{
	InputDanmakuText->SetText(FText::GetEmpty());
	SetTextNum(0);
}

void UUI_DanmakuBar::SetTextNum(int32 Length)
{
	TextNum->SetText(
	    FText::Format(LOCTEXT("TextNum", "{0}/{1}"), FText::AsNumber(Length), FText::AsNumber(MaxNumOFInputTex)));
}

#undef LOCTEXT_NAMESPACE
