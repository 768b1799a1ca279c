#pragma once

#include "CoreMinimal.h"
#include "Components/SynthComponent.h"

#include "MediaSoundComponent.generated.h"

class UMediaPlayer;

// Sends a media player's sound to the audio output. The headless output makes no sound; volume and playing
// state are kept as the engine keeps them.
UCLASS()
class MEDIAASSETS_API UMediaSoundComponent : public USynthComponent
{
	GENERATED_BODY()

public:
	UFUNCTION(BlueprintCallable, Category = "Media|MediaSoundComponent")
	void SetMediaPlayer(UMediaPlayer* NewMediaPlayer);

	UFUNCTION(BlueprintCallable, Category = "Media|MediaSoundComponent")
	UMediaPlayer* GetMediaPlayer() const { return MediaPlayer; }

private:
	UPROPERTY()
	TObjectPtr<UMediaPlayer> MediaPlayer;
};
