#pragma once

#include "CoreMinimal.h"
#include "Components/SceneComponent.h"

#include "AudioComponent.generated.h"

// Plays a sound. The headless audio output is silent; the component keeps its volume and playing state.
UCLASS()
class ENGINE_API UAudioComponent : public USceneComponent
{
	GENERATED_BODY()

public:
	// Scales the component's volume; values below zero are taken as zero.
	UFUNCTION(BlueprintCallable, Category = "Audio|Components|Audio")
	void SetVolumeMultiplier(float NewVolumeMultiplier);

	UFUNCTION(BlueprintCallable, Category = "Audio|Components|Audio")
	void Play(float StartTime = 0.0f);

	UFUNCTION(BlueprintCallable, Category = "Audio|Components|Audio")
	void Stop();

	UFUNCTION(BlueprintCallable, Category = "Audio|Components|Audio")
	bool IsPlaying() const { return bIsPlaying; }

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Sound")
	float VolumeMultiplier = 1.0f;

private:
	bool bIsPlaying = false;
};
