#pragma once

#include "CoreMinimal.h"
#include "Engine/Texture.h"

#include "MediaTexture.generated.h"

class UMediaPlayer;

// A texture that shows the video of a media player: the frame at the player's time. While the player shows
// nothing (closed, opening, or a source without pictures) the texture is cleared to ClearColor when AutoClear is
// set, and transparent black otherwise.
UCLASS()
class MEDIAASSETS_API UMediaTexture : public UTexture
{
	GENERATED_BODY()

public:
	// Whether to clear the texture when no media is being played.
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "MediaTexture")
	bool AutoClear = true;

	// The colour the texture is cleared to when AutoClear is set.
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "MediaTexture")
	FLinearColor ClearColor = FLinearColor::Black;

	UFUNCTION(BlueprintCallable, Category = "Media|MediaTexture")
	void SetMediaPlayer(UMediaPlayer* NewMediaPlayer);

	UFUNCTION(BlueprintCallable, Category = "Media|MediaTexture")
	UMediaPlayer* GetMediaPlayer() const;

	// The width and height of the frame shown; zero while none is.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaTexture")
	int32 GetWidth() const;

	UFUNCTION(BlueprintCallable, Category = "Media|MediaTexture")
	int32 GetHeight() const;

	// Width over height of the frame shown; zero while none is.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaTexture")
	float GetAspectRatio() const;

protected:
	// The media player asset associated with this texture.
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Media")
	TObjectPtr<UMediaPlayer> MediaPlayer;

private:
	bool ReadHeadlessPicture(FHeadlessTexturePicture& OutPicture) const override;
};
