#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "Engine/World.h"

#include "Engine.generated.h"

// One line of on-screen debug text as it is shown.
struct FOnScreenDebugMessage
{
	int32 Key = -1;
	FString Text;
	FColor DisplayColor;
	FVector2D TextScale = FVector2D(1.0, 1.0);
	// World time after which the line is gone.
	double ExpireTime = 0.0;
};

// The engine object. Here it keeps the on-screen debug messages, which tests and the viewport painter read.
UCLASS()
class ENGINE_API UEngine : public UObject
{
	GENERATED_BODY()

public:
	// Key -1 always adds a line; another key replaces the text, colour and time of the line with that key in
	// place. A line shows for TimeToDisplay seconds of the game world's clock.
	void AddOnScreenDebugMessage(int32 Key, float TimeToDisplay, FColor DisplayColor, const FString& DebugMessage,
	                             bool bNewerOnTop = true, const FVector2D& TextScale = FVector2D(1.0, 1.0));
	// The lines still showing, top line first.
	TArray<FOnScreenDebugMessage> GetOnScreenDebugMessages() const;
	void ClearOnScreenDebugMessages() { Messages.Empty(); }

	// The world whose clock times the messages; without one the clock stands at 0.
	void SetGameWorld(UWorld* InWorld) { GameWorld = InWorld; }
	UWorld* GetGameWorld() const { return GameWorld; }

private:
	double GetCurrentTime() const;
	void RemoveExpiredMessages();

	UPROPERTY(Transient)
	TObjectPtr<UWorld> GameWorld;

	TArray<FOnScreenDebugMessage> Messages;
};

// Made by the headless application for its lifetime; null when no application runs.
extern ENGINE_API UEngine* GEngine;
