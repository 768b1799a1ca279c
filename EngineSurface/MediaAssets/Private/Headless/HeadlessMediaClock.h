#pragma once

#include "CoreMinimal.h"
#include "UObject/WeakObjectPtrTemplates.h"

class UMediaPlayer;

// Advances every live media player in the application's Media phase, in the order they were made.
class FHeadlessMediaClock
{
public:
	static void AddPlayer(UMediaPlayer* Player);
	static void Tick(float DeltaSeconds);

private:
	static TArray<TWeakObjectPtr<UMediaPlayer>>& GetPlayers();
};
