#pragma once

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"
#include "Components/Button.h"
#include "Components/CheckBox.h"
#include "Components/EditableText.h"
#include "Components/TextBlock.h"
#include "MediaPlayer.h"
#include "UI_DanmakuNodeSetting.h"
#include "DanmakuDataStruct.h"

#include "UI_DanmakuBar.generated.h"

DECLARE_DYNAMIC_MULTICAST_DELEGATE_SixParams(FOnSendDanmakuSignature, const FString&, VideoURL, const int64&, SpawnTime,
                                             const FString&, Content, const EDanmakuMode&, Mode, const int32&, FontSize,
                                             const FString&, FontColor);

// The input bar: a text field with a live character count, the send button, the overlay's on/off box and the
// button that shows the style panel while hovered.
UCLASS()
class SKORVANE_API UUI_DanmakuBar : public UUserWidget
{
	GENERATED_BODY()

public:
	void Init(TObjectPtr<UMediaPlayer> InMediaPlayer, TObjectPtr<UUI_DanmakuNodeSetting> InDanmakuNodeSetting);

	void Open();
	void Close();

	UButton* GetButton() const;
	// Shows the on/off box checked or not without raising its event.
	void SetOpenDanmakuButtonChecked(bool bIsChecked);
	FOnCheckBoxComponentStateChanged& GetOpenDanmakuButtonClickedEvent();
	FOnButtonClickedEvent& GetSendDanmakuButtonClickedEvent();

protected:
	virtual void NativePreConstruct() override;
	virtual void NativeConstruct() override;
	virtual void NativeDestruct() override;
	virtual void NativeTick(const FGeometry& MyGeometry, float InDeltaTime) override;

private:
	UFUNCTION()
	void OnInputTextChanged(const FText& Text);
	UFUNCTION()
	void OnSendDanmakuButtonClicked();
	UFUNCTION()
	void OnInputDanmakuTextCommitted(const FText& Text, ETextCommit::Type CommitMethod);
	UFUNCTION()
	void OnSettingDanmakuButtonHovered();
	UFUNCTION()
	void OnSettingDanmakuButtonUnHovered();

	void EmptyInputText();
	void SetTextNum(int32 Length);

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCheckBox> OpenDanmakuButton;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UButton> DanmakuNodeSettingButton;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UEditableText> InputDanmakuText;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UTextBlock> TextNum;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UButton> SendDanmakuButton;

	UPROPERTY(EditAnywhere, Category = "InputTextAndNumSetting")
	int32 MaxNumOFInputTex = 100;

	UPROPERTY()
	TObjectPtr<UMediaPlayer> MediaPlayer;
	UPROPERTY()
	TObjectPtr<UUI_DanmakuNodeSetting> DanmakuNodeSetting;

public:
	FOnSendDanmakuSignature OnSendDanmaku;
};
