#pragma once

#include "CoreMinimal.h"
#include "Animation/WidgetAnimation.h"
#include "Blueprint/UserWidget.h"
#include "Components/Button.h"
#include "Components/CanvasPanel.h"
#include "Components/CheckBox.h"
#include "Components/ComboBoxString.h"
#include "Components/EditableText.h"
#include "Components/Image.h"
#include "Components/Slider.h"
#include "Components/TextBlock.h"

#include "UMGTestTypes.generated.h"

// Every lifecycle call of the test widgets, as "<object name>:<call>", in order.
TArray<FString>& GetLifecycleLog();

// The small widget inside the test form; it notes its lifecycle and the pointer entering and leaving it.
UCLASS()
class UTestInnerWidget : public UUserWidget
{
	GENERATED_BODY()

public:
	void NativeOnInitialized() override;
	void NativePreConstruct() override;
	void NativeConstruct() override;
	void NativeDestruct() override;
	void NativeOnMouseEnter(const FGeometry& InGeometry, const FPointerEvent& InMouseEvent) override;
	void NativeOnMouseLeave(const FPointerEvent& InMouseEvent) override;
};

// A form with one of each control, bound from its widget asset, recording every event it receives.
UCLASS()
class UTestFormWidget : public UUserWidget
{
	GENERATED_BODY()

public:
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCanvasPanel> Root;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UTextBlock> Title;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UButton> OkButton;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCheckBox> Toggle;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<USlider> Volume;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UEditableText> Input;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UEditableText> Other;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UComboBoxString> Choice;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UImage> Swatch;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UTestInnerWidget> Inner;

	UPROPERTY(Transient, meta = (BindWidgetAnim))
	TObjectPtr<UWidgetAnimation> FadeIn;

	UPROPERTY(EditAnywhere)
	FString Greeting;

	UPROPERTY(EditAnywhere)
	int32 Counter = 0;

	TArray<FString> Events;
	int32 Ticks = 0;

	UFUNCTION()
	void OnOk() { Events.Add(TEXT("Clicked")); }
	UFUNCTION()
	void OnOkPressed() { Events.Add(TEXT("Pressed")); }
	UFUNCTION()
	void OnOkReleased() { Events.Add(TEXT("Released")); }
	UFUNCTION()
	void OnOkHovered() { Events.Add(TEXT("Hovered")); }
	UFUNCTION()
	void OnOkUnhovered() { Events.Add(TEXT("Unhovered")); }
	UFUNCTION()
	void OnToggle(bool bIsChecked) { Events.Add(bIsChecked ? TEXT("Checked") : TEXT("Unchecked")); }
	UFUNCTION()
	void OnVolumeBegin() { Events.Add(TEXT("CaptureBegin")); }
	UFUNCTION()
	void OnVolume(float Value) { Events.Add(FString::Printf(TEXT("Value %.2f"), Value)); }
	UFUNCTION()
	void OnVolumeEnd() { Events.Add(TEXT("CaptureEnd")); }
	UFUNCTION()
	void OnInputChanged(const FText& Text) { Events.Add(TEXT("Changed ") + Text.ToString()); }
	UFUNCTION()
	void OnInputCommitted(const FText& Text, ETextCommit::Type Method)
	{
		Events.Add(FString::Printf(TEXT("Committed %s %d"), *Text.ToString(), int32(Method)));
	}
	UFUNCTION()
	void OnChoice(FString Item, ESelectInfo::Type How)
	{
		Events.Add(FString::Printf(TEXT("Selected %s %d"), *Item, int32(How)));
	}

	void NativeOnInitialized() override;
	void NativePreConstruct() override;
	void NativeConstruct() override;
	void NativeDestruct() override;
	void NativeTick(const FGeometry& MyGeometry, float InDeltaTime) override;
};
