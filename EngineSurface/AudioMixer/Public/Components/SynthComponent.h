#pragma once

#include "CoreMinimal.h"
#include "Components/AudioComponent.h"
#include "Components/SceneComponent.h"

#include "SynthComponent.generated.h"

// A component that generates sound and plays it through an audio component of its own, made when the
// component is registered with a world (until then GetAudioComponent is null). Registering starts it.
UCLASS(Abstract)
class AUDIOMIXER_API USynthComponent : public USceneComponent
{
	GENERATED_BODY()

public:
	UFUNCTION(BlueprintCallable, Category = "Synth|Components|Audio")
	void Start();

	UFUNCTION(BlueprintCallable, Category = "Synth|Components|Audio")
	void Stop();

	UFUNCTION(BlueprintCallable, Category = "Synth|Components|Audio")
	bool IsPlaying() const;

	// Sets the volume multiplier of the synth and of its audio component.
	UFUNCTION(BlueprintCallable, Category = "Synth|Components|Audio")
	void SetVolumeMultiplier(float VolumeMultiplier);

	UAudioComponent* GetAudioComponent() const { return AudioComponent; }

protected:
	void OnRegister() override;
	void OnUnregister() override;

	// Fills OutAudio with NumSamples interleaved samples (NumChannels a frame) of the component's sound; returns how
	// many it wrote, 0 when it has no sound to give (the rest stays silent).
	virtual int32 OnGenerateAudio(float* OutAudio, int32 NumSamples) { return 0; }

	// Channels of the generated sound; the headless output renders stereo.
	UPROPERTY(EditAnywhere, Category = "Synth")
	int32 NumChannels = 2;

private:
	friend class FHeadlessAudioOutput;

	UPROPERTY()
	TObjectPtr<UAudioComponent> AudioComponent;

	UPROPERTY(EditAnywhere, Category = "Sound")
	float VolumeMultiplier = 1.0f;
};
