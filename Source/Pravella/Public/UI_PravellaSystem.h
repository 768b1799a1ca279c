#pragma once

#include "CoreMinimal.h"
#include "MediaSoundComponent.h"
#include "Video/UI_ImageVideo.h"

#include "UI_PravellaSystem.generated.h"

// The lesson player. So far it holds its sound output, the volume operations that the volume components call
// and the test that tells network addresses from local paths.
UCLASS()
class PRAVELLA_API UUI_PravellaSystem : public UUI_ImageVideo
{
	GENERATED_BODY()

public:
	UUI_PravellaSystem(const FObjectInitializer& ObjectInitializer);

	// Applies a volume chosen on the volume slider.
	UFUNCTION()
	void ChangedVolumeValue(float InValue);

	// ClickedWidget is the mute box's new state: true silences the media player, false gives it full volume.
	UFUNCTION()
	void ClickedCheckBoxVolume(bool ClickedWidget);

	// Plays the volume panel's closing animation when the panel is open.
	UFUNCTION()
	void CloseVolumeAnim();

	// The multiplier of the sound output, 0 while it has no audio component.
	UFUNCTION(BlueprintPure, Category = "PravellaMedia")
	float GetVolumeMultiplier();

	// Plays the volume panel's opening animation when the panel is closed.
	UFUNCTION()
	void OpenVolumeAnim();

	UFUNCTION(BlueprintCallable, Category = "PravellaMedia")
	void SetVolumeMultiplier(float InNewVolumeMultiplier);

protected:
	// UUI_ImageVideo
	void InitMadia() override;
	// --

	// True when URL holds an http, https or ftp address anywhere in it (letter case ignored).
	static bool IsNetURL(const FString& URL);

private:
	void PlayVolumeBoardAnimation(const FString& AnimationName, bool bOpen);

	UPROPERTY()
	TObjectPtr<UMediaSoundComponent> MediaSoundComponent;

	bool bVolumeBoardOpen = false;
};
