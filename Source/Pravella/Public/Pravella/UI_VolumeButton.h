#pragma once

#include "CoreMinimal.h"
#include "Components/CheckBox.h"
#include "Core/UI_PravellaBase.h"

#include "UI_VolumeButton.generated.h"

// The player's mute check-box: checking it silences the player and unchecking restores the volume it had.
// Hovering it opens the player's volume panel.
UCLASS()
class PRAVELLA_API UUI_VolumeButton : public UUI_PravellaBase
{
	GENERATED_BODY()

public:
	UUI_VolumeButton(const FObjectInitializer& ObjectInitializer);

	// UUserWidget
	void NativeConstruct() override;
	// --

	// Whether the mute box is checked.
	bool IsMuted() const;
	// The level unmuting restores: the player's multiplier when the box was checked.
	float GetSavedVolumeMultiplier() const { return SavedVolumeMultiplier; }
	void SetSavedVolumeMultiplier(float InVolumeMultiplier) { SavedVolumeMultiplier = InVolumeMultiplier; }

protected:
	// UUserWidget
	void NativeOnMouseEnter(const FGeometry& InGeometry, const FPointerEvent& InMouseEvent) override;
	// --

	UFUNCTION()
	void ClickedCheckBoxVolume(bool ClickedWidget);

private:
	// Checked means muted.
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCheckBox> VolumeButton;

	// The player's multiplier when the box was last checked.
	float SavedVolumeMultiplier = 0.0f;
};
