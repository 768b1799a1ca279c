#pragma once

#include "CoreMinimal.h"
#include "Headless/HeadlessApplication.h"
#include "MediaPlayer.h"
#include "UObject/Object.h"

#include <functional>

#include "MediaTestTypes.generated.h"

// Records a media player's events, with the player's position when each arrived, and can run a test's
// reaction inside a handler.
UCLASS()
class UMediaEventRecorder : public UObject
{
	GENERATED_BODY()

public:
	void Listen(UMediaPlayer* InPlayer)
	{
		Player = InPlayer;
		Player->OnMediaOpened.AddDynamic(this, &UMediaEventRecorder::HandleOpened);
		Player->OnMediaOpenFailed.AddDynamic(this, &UMediaEventRecorder::HandleOpenFailed);
		Player->OnPlaybackResumed.AddDynamic(this, &UMediaEventRecorder::HandleResumed);
		Player->OnPlaybackSuspended.AddDynamic(this, &UMediaEventRecorder::HandleSuspended);
		Player->OnSeekCompleted.AddDynamic(this, &UMediaEventRecorder::HandleSeekCompleted);
		Player->OnEndReached.AddDynamic(this, &UMediaEventRecorder::HandleEndReached);
	}

	UFUNCTION()
	void HandleOpened(FString OpenedUrl) { Record(TEXT("Opened:") + OpenedUrl); }
	UFUNCTION()
	void HandleOpenFailed(FString FailedUrl) { Record(TEXT("OpenFailed:") + FailedUrl); }
	UFUNCTION()
	void HandleResumed() { Record(TEXT("Resumed")); }
	UFUNCTION()
	void HandleSuspended() { Record(TEXT("Suspended")); }
	UFUNCTION()
	void HandleSeekCompleted() { Record(TEXT("SeekCompleted")); }
	UFUNCTION()
	void HandleEndReached() { Record(TEXT("EndReached")); }

	int32 Count(const FString& Event) const
	{
		int32 Found = 0;
		for (const FString& Each : Events)
		{
			Found += Each == Event ? 1 : 0;
		}
		return Found;
	}

	UPROPERTY()
	TObjectPtr<UMediaPlayer> Player;

	TArray<FString> Events;
	TArray<double> Times;
	// Runs after an event is recorded, with the event's text.
	std::function<void(const FString&)> OnEvent;

private:
	void Record(const FString& Event)
	{
		Events.Add(Event);
		Times.Add(Player ? Player->GetTime().GetTotalSeconds() : -1.0);
		if (OnEvent)
		{
			OnEvent(Event);
		}
	}
};
