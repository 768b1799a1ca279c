#pragma once

#include "CoreMinimal.h"
#include "Components/Slider.h"
#include "Components/TextBlock.h"
#include "Core/UI_PravellaBase.h"

#include "UI_VolumeProgress.generated.h"

// The player's volume slider with a two-digit read-out. The slider's value is the volume multiplier itself;
// moving it sets the player's volume, and leaving the slider closes the player's volume panel.
UCLASS()
class PRAVELLA_API UUI_VolumeProgress : public UUI_PravellaBase
{
	GENERATED_BODY()

public:
	// Shows InValue on the slider and the read-out without telling the player.
	void SetChangedVolumeValue(float InValue);

	// UUserWidget
	void NativeConstruct() override;
	// --

protected:
	// UUserWidget
	void NativeOnMouseLeave(const FPointerEvent& InMouseEvent) override;
	// --

	UFUNCTION()
	void ChangedVolumeValue(float InValue);

private:
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UTextBlock> VolumeValue;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<USlider> VolumeProgress;
};
