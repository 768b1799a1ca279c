#pragma once

#include "CoreMinimal.h"
#include "Core/UI_PravellaBase.h"
#include "MediaPlayer.h"

#include "UI_ImageVideo.generated.h"

// The media layer of the player: drives one media player, prepares it each time the widget is constructed and
// closes it when the widget is destructed.
UCLASS()
class PRAVELLA_API UUI_ImageVideo : public UUI_PravellaBase
{
	GENERATED_BODY()

public:
	UUI_ImageVideo(const FObjectInitializer& ObjectInitializer);

	// Initialises the video resources; runs each time the widget is constructed.
	UFUNCTION()
	virtual void InitMadia();

	// Opens InURL as a URL when the media player can play it as one, else as a file. True when opening started.
	UFUNCTION()
	virtual bool Play(const FString& InURL);

protected:
	// UUserWidget
	void NativeConstruct() override;
	void NativeDestruct() override;
	// --

	UPROPERTY(EditAnywhere, Category = "UI")
	TObjectPtr<UMediaPlayer> MediaPlayer;
};
