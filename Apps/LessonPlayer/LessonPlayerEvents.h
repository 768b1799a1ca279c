#pragma once

#include "CoreMinimal.h"
#include "DanmakuDataStruct.h"
#include "UObject/Object.h"

#include <functional>

#include "LessonPlayerEvents.generated.h"

// Listens to the media player and the lesson player as a host's code does, and hands each event on by name with
// its JSON members.
UCLASS()
class ULessonPlayerEvents : public UObject
{
	GENERATED_BODY()

public:
	std::function<void(const FString& Event, const FString& Fields)> Sink;
	// Told when a send reaches the host, with the comment's text.
	std::function<void(const FString& Content)> OnSendSeen;
	// Told when the previous or next button is pressed, before its click moves in the playlist.
	std::function<void(bool bNext)> OnMovePressed;

	UFUNCTION()
	void OnOpened(FString OpenedUrl);
	UFUNCTION()
	void OnOpenFailed(FString FailedUrl);
	UFUNCTION()
	void OnResumed() { Sink(TEXT("play"), FString()); }
	UFUNCTION()
	void OnSuspended() { Sink(TEXT("pause"), FString()); }
	UFUNCTION()
	void OnSeekCompleted() { Sink(TEXT("seek"), FString()); }
	UFUNCTION()
	void OnEndReached() { Sink(TEXT("end"), FString()); }
	UFUNCTION()
	void OnOverlaySwitched(bool bIsChecked) { Sink(bIsChecked ? TEXT("overlay_on") : TEXT("overlay_off"), FString()); }
	UFUNCTION()
	void OnTypeChanged(bool bFullScreen)
	{
		Sink(bFullScreen ? TEXT("fullscreen_on") : TEXT("fullscreen_off"), FString());
	}
	UFUNCTION()
	void OnNextPressed() { OnMovePressed(true); }
	UFUNCTION()
	void OnPreviousPressed() { OnMovePressed(false); }
	UFUNCTION()
	void OnSent(const FString& VideoURL, const int64& SpawnTime, const FString& Content, const EDanmakuMode& Mode,
	            const int32& FontSize, const FString& FontColor);
};
