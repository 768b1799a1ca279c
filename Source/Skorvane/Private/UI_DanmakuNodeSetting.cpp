#include "UI_DanmakuNodeSetting.h"

#include "Components/CheckBox.h"
#include "Components/EditableText.h"
#include "Components/Image.h"
#include "Components/WrapBox.h"
#include "Engine/World.h"
#include "TimerManager.h"

namespace
{
constexpr float HideDelaySeconds = 0.75f;
constexpr int32 MaxColorDigits = 6;

// A colour box is named "C_" followed by its colour's six digits.
FString GetPresetHex(const UCheckBox* CheckBox)
{
	return CheckBox->GetName().RightChop(2);
}

bool IsHexDigit(TCHAR Character)
{
	return (Character >= TEXT('0') && Character <= TEXT('9')) || (Character >= TEXT('a') && Character <= TEXT('f')) ||
	       (Character >= TEXT('A') && Character <= TEXT('F'));
}
} // namespace

EDanmakuMode UUI_DanmakuNodeSetting::GetModel() const
{
	const FString Name = ModelSelect ? ModelSelect->GetName() : FString();
	if (Name.Equals(TEXT("Top"), ESearchCase::IgnoreCase))
	{
		return EDanmakuMode::TOP;
	}
	if (Name.Equals(TEXT("Bottom"), ESearchCase::IgnoreCase))
	{
		return EDanmakuMode::BOTTOM;
	}
	return EDanmakuMode::SCROLL;
}

int32 UUI_DanmakuNodeSetting::GetFontSize() const
{
	return FontSelect == Small ? SmallFontSize : NormalFontSize;
}

FString UUI_DanmakuNodeSetting::GetFontColor() const
{
	return TEXT("#") + DisplayColorImage->GetColorAndOpacity().ToFColorSRGB().ToHex();
}

void UUI_DanmakuNodeSetting::SetVisible()
{
	CancelPendingHide();
	SetVisibility(ESlateVisibility::Visible);
}

void UUI_DanmakuNodeSetting::SetHidden()
{
	if (UWorld* World = GetWorld())
	{
		World->GetTimerManager().SetTimer(HiddenTimerHandle, this, &UUI_DanmakuNodeSetting::OnHiddenTimerFired,
		                                  HideDelaySeconds, false);
	}
	else
	{
		// Without a world there is no clock to wait on.
		OnHiddenTimerFired();
	}
}

void UUI_DanmakuNodeSetting::NativeOnInitialized()
{
	Super::NativeOnInitialized();

	SetVisibility(ESlateVisibility::Hidden);
	InputColorText->OnTextChanged.AddUniqueDynamic(this, &UUI_DanmakuNodeSetting::OnInputColorTextChanged);

	Scroll->SetIsChecked(true);
	ModelSelect = Scroll;
	Normal->SetIsChecked(true);
	FontSelect = Normal;
	C_FFFFFF->SetIsChecked(true);
	ColorSelect = C_FFFFFF;

	InputColorText->SetText(FText::FromString(TEXT("#FFFFFF")));
	SetSwatchColor(FColor::FromHex(TEXT("#FFFFFF")));

	ModelCheckBoxes = {Scroll, Top, Bottom};
	Scroll->OnCheckStateChanged.AddUniqueDynamic(this, &UUI_DanmakuNodeSetting::OnScrollCheckStateChanged);
	Top->OnCheckStateChanged.AddUniqueDynamic(this, &UUI_DanmakuNodeSetting::OnTopCheckStateChanged);
	Bottom->OnCheckStateChanged.AddUniqueDynamic(this, &UUI_DanmakuNodeSetting::OnBottomCheckStateChanged);

	FontCheckBoxes = {Small, Normal};
	Small->OnCheckStateChanged.AddUniqueDynamic(this, &UUI_DanmakuNodeSetting::OnSmallCheckStateChanged);
	Normal->OnCheckStateChanged.AddUniqueDynamic(this, &UUI_DanmakuNodeSetting::OnNormalCheckStateChanged);

	ColorCheckBoxes = {C_FE0302, C_00CD00, C_4266BE, C_FFFFFF};
	C_FE0302->OnCheckStateChanged.AddUniqueDynamic(this, &UUI_DanmakuNodeSetting::OnC_FE0302CheckStateChanged);
	C_00CD00->OnCheckStateChanged.AddUniqueDynamic(this, &UUI_DanmakuNodeSetting::OnC_00CD00CheckStateChanged);
	C_4266BE->OnCheckStateChanged.AddUniqueDynamic(this, &UUI_DanmakuNodeSetting::OnC_4266BECheckStateChanged);
	C_FFFFFF->OnCheckStateChanged.AddUniqueDynamic(this, &UUI_DanmakuNodeSetting::OnC_FFFFFFCheckStateChanged);
}

void UUI_DanmakuNodeSetting::NativeConstruct()
{
	Super::NativeConstruct();
}

void UUI_DanmakuNodeSetting::NativeOnMouseEnter(const FGeometry& InGeometry, const FPointerEvent& InMouseEvent)
{
	Super::NativeOnMouseEnter(InGeometry, InMouseEvent);
	CancelPendingHide();
}

void UUI_DanmakuNodeSetting::NativeOnMouseLeave(const FPointerEvent& InMouseEvent)
{
	Super::NativeOnMouseLeave(InMouseEvent);
	SetHidden();
}

void UUI_DanmakuNodeSetting::OnScrollCheckStateChanged(bool bIsChecked)
{
	SelectInGroup(Scroll, bIsChecked, ModelSelect);
}

void UUI_DanmakuNodeSetting::OnTopCheckStateChanged(bool bIsChecked)
{
	SelectInGroup(Top, bIsChecked, ModelSelect);
}

void UUI_DanmakuNodeSetting::OnBottomCheckStateChanged(bool bIsChecked)
{
	SelectInGroup(Bottom, bIsChecked, ModelSelect);
}

void UUI_DanmakuNodeSetting::OnSmallCheckStateChanged(bool bIsChecked)
{
	SelectInGroup(Small, bIsChecked, FontSelect);
}

void UUI_DanmakuNodeSetting::OnNormalCheckStateChanged(bool bIsChecked)
{
	SelectInGroup(Normal, bIsChecked, FontSelect);
}

void UUI_DanmakuNodeSetting::OnC_FE0302CheckStateChanged(bool bIsChecked)
{
	SelectPresetColor(C_FE0302);
}

void UUI_DanmakuNodeSetting::OnC_00CD00CheckStateChanged(bool bIsChecked)
{
	SelectPresetColor(C_00CD00);
}

void UUI_DanmakuNodeSetting::OnC_4266BECheckStateChanged(bool bIsChecked)
{
	SelectPresetColor(C_4266BE);
}

void UUI_DanmakuNodeSetting::OnC_FFFFFFCheckStateChanged(bool bIsChecked)
{
	SelectPresetColor(C_FFFFFF);
}

void UUI_DanmakuNodeSetting::OnInputColorTextChanged(const FText& InText)
{
	if (InText.IsEmptyOrWhitespace())
	{
		InputColorText->SetText(FText::FromString(TEXT("#")));
		return;
	}

	FString Digits;
	for (const TCHAR Character : InText.ToString())
	{
		if (Digits.Len() >= MaxColorDigits)
		{
			break;
		}
		if (IsHexDigit(Character))
		{
			Digits.AppendChar(Character);
		}
	}

	// Rewriting the field re-enters this handler once; the second pass finds the text unchanged and comes to rest.
	InputColorText->SetText(FText::FromString(TEXT("#") + Digits));

	const FColor Color = FColor::FromHex(Digits.ToUpper());
	if (Color != FColor(0, 0, 0, 0))
	{
		SetSwatchColor(Color);
	}
	ChangeSelectedColor(Digits);
}

void UUI_DanmakuNodeSetting::OnHiddenTimerFired()
{
	SetVisibility(ESlateVisibility::Hidden);
	if (UWorld* World = GetWorld())
	{
		World->GetTimerManager().ClearTimer(HiddenTimerHandle);
	}
	HiddenTimerHandle.Invalidate();
}

void UUI_DanmakuNodeSetting::CancelPendingHide()
{
	UWorld* World = GetWorld();
	if (World && World->GetTimerManager().IsTimerActive(HiddenTimerHandle))
	{
		World->GetTimerManager().ClearTimer(HiddenTimerHandle);
	}
	HiddenTimerHandle.Invalidate();
}

void UUI_DanmakuNodeSetting::SelectInGroup(UCheckBox* CheckBox, bool bIsChecked, TObjectPtr<UCheckBox>& Selection)
{
	if (!bIsChecked)
	{
		CheckBox->SetIsChecked(true);
		return;
	}
	if (Selection && Selection != CheckBox)
	{
		Selection->SetIsChecked(false);
	}
	Selection = CheckBox;
}

void UUI_DanmakuNodeSetting::SelectPresetColor(UCheckBox* CheckBox)
{
	if (ColorSelect != CheckBox)
	{
		if (ColorSelect)
		{
			ColorSelect->SetIsChecked(false);
		}
		ColorSelect = CheckBox;
	}
	else
	{
		CheckBox->SetIsChecked(true);
	}

	const FString Hex = GetPresetHex(CheckBox);
	InputColorText->SetText(FText::FromString(TEXT("#") + Hex));
	SetSwatchColor(FColor::FromHex(Hex));
}

void UUI_DanmakuNodeSetting::SetSwatchColor(const FColor& Color)
{
	DisplayColorImage->SetColorAndOpacity(FLinearColor(Color));
}

void UUI_DanmakuNodeSetting::ChangeSelectedColor(const FString& Hex)
{
	const FString UpperHex = Hex.ToUpper();
	for (UCheckBox* CheckBox : ColorCheckBoxes)
	{
		if (GetPresetHex(CheckBox).Equals(UpperHex, ESearchCase::IgnoreCase))
		{
			CheckBox->SetIsChecked(true);
			CheckBox->OnCheckStateChanged.Broadcast(true);
			return;
		}
	}
	if (ColorSelect)
	{
		ColorSelect->SetIsChecked(false);
	}
}
