#pragma once

#include "CoreMinimal.h"
#include "Components/SynthComponent.h"

#include "MediaSoundComponent.generated.h"

class UMediaPlayer;

// Plays a media player's sound. Each frame it renders the sound of the stretch of media the player's clock
// crossed in that frame, squeezed or stretched into the frame's time: at rate 2 the sound runs twice as fast (and
// an octave higher), paused it is silent, and across a seek it starts again at the new time. Only decoded files
// have sound; described sources are silent. The volume multiplier applies in the audio output; the player's
// native volume belongs to the platform's own output, which the headless player does not have.
UCLASS()
class MEDIAASSETS_API UMediaSoundComponent : public USynthComponent
{
	GENERATED_BODY()

public:
	UFUNCTION(BlueprintCallable, Category = "Media|MediaSoundComponent")
	void SetMediaPlayer(UMediaPlayer* NewMediaPlayer);

	UFUNCTION(BlueprintCallable, Category = "Media|MediaSoundComponent")
	UMediaPlayer* GetMediaPlayer() const { return MediaPlayer; }

protected:
	int32 OnGenerateAudio(float* OutAudio, int32 NumSamples) override;

private:
	UPROPERTY()
	TObjectPtr<UMediaPlayer> MediaPlayer;

	// Where the last frame's sound ended, and the player's jump count then.
	double LastMediaSeconds = 0.0;
	uint32 LastJumps = 0;
	bool bHasLast = false;
};
