#pragma once

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"
#include "Components/CheckBox.h"
#include "Components/EditableText.h"
#include "Components/Image.h"
#include "Components/WrapBox.h"
#include "DanmakuDataStruct.h"
#include "TimerManager.h"

#include "UI_DanmakuNodeSetting.generated.h"

// The pop-up panel where the viewer picks the mode, font size and colour of the next comment. The mode and the
// preset colours are read from the check-boxes' object names, so the widget asset must keep those names.
UCLASS()
class SKORVANE_API UUI_DanmakuNodeSetting : public UUserWidget
{
	GENERATED_BODY()

public:
	EDanmakuMode GetModel() const;
	int32 GetFontSize() const;
	// "#RRGGBBAA", read back from the swatch so that what is sent is what the viewer sees.
	FString GetFontColor() const;

	void SetVisible();
	// Hides the panel after a short delay, unless the pointer enters it first.
	void SetHidden();

protected:
	virtual void NativeOnInitialized() override;
	virtual void NativeConstruct() override;
	virtual void NativeOnMouseEnter(const FGeometry& InGeometry, const FPointerEvent& InMouseEvent) override;
	virtual void NativeOnMouseLeave(const FPointerEvent& InMouseEvent) override;

private:
	UFUNCTION()
	void OnScrollCheckStateChanged(bool bIsChecked);
	UFUNCTION()
	void OnTopCheckStateChanged(bool bIsChecked);
	UFUNCTION()
	void OnBottomCheckStateChanged(bool bIsChecked);
	UFUNCTION()
	void OnSmallCheckStateChanged(bool bIsChecked);
	UFUNCTION()
	void OnNormalCheckStateChanged(bool bIsChecked);
	UFUNCTION()
	void OnC_FE0302CheckStateChanged(bool bIsChecked);
	UFUNCTION()
	void OnC_00CD00CheckStateChanged(bool bIsChecked);
	UFUNCTION()
	void OnC_4266BECheckStateChanged(bool bIsChecked);
	UFUNCTION()
	void OnC_FFFFFFCheckStateChanged(bool bIsChecked);
	UFUNCTION()
	void OnInputColorTextChanged(const FText& InText);

	void OnHiddenTimerFired();
	void CancelPendingHide();

	// Radio behaviour: a group always keeps exactly one box ticked.
	void SelectInGroup(UCheckBox* CheckBox, bool bIsChecked, TObjectPtr<UCheckBox>& Selection);
	void SelectPresetColor(UCheckBox* CheckBox);
	void SetSwatchColor(const FColor& Color);
	void ChangeSelectedColor(const FString& Hex);

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UWrapBox> ModelBox;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCheckBox> Scroll;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCheckBox> Top;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCheckBox> Bottom;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UWrapBox> FontBox;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCheckBox> Small;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCheckBox> Normal;

	UPROPERTY(EditAnywhere, Category = "Setting")
	int32 SmallFontSize = 18;
	UPROPERTY(EditAnywhere, Category = "Setting")
	int32 NormalFontSize = FDanmakuData::NormalFontSize;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UWrapBox> ColorBox;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCheckBox> C_FE0302;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCheckBox> C_00CD00;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCheckBox> C_4266BE;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCheckBox> C_FFFFFF;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UEditableText> InputColorText;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UImage> DisplayColorImage;

	FTimerHandle HiddenTimerHandle;

	UPROPERTY()
	TArray<TObjectPtr<UCheckBox>> ModelCheckBoxes;
	UPROPERTY()
	TObjectPtr<UCheckBox> ModelSelect;
	UPROPERTY()
	TArray<TObjectPtr<UCheckBox>> FontCheckBoxes;
	UPROPERTY()
	TObjectPtr<UCheckBox> FontSelect;
	UPROPERTY()
	TArray<TObjectPtr<UCheckBox>> ColorCheckBoxes;
	UPROPERTY()
	TObjectPtr<UCheckBox> ColorSelect;
};
