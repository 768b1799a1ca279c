#include "Engine/World.h"

UWorld::UWorld() : TimerManager(std::make_unique<FTimerManager>()) {}

void UWorld::Tick(float InDeltaSeconds)
{
	DeltaSeconds = InDeltaSeconds;
	TimeSeconds += InDeltaSeconds;
	TimerManager->Tick(InDeltaSeconds);
}

void UWorld::BeginDestroy()
{
	// Timer callbacks must not reach objects of a world that is going away.
	TimerManager->ClearAllTimers();
	Super::BeginDestroy();
}
