#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "TimerManager.h"

#include <memory>

#include "World.generated.h"

// The game world: its clock and its timers. Objects made with the world (or one of its inners) as outer find
// it through GetWorld.
UCLASS()
class ENGINE_API UWorld : public UObject
{
	GENERATED_BODY()

public:
	UWorld();

	UWorld* GetWorld() const override { return const_cast<UWorld*>(this); }
	FTimerManager& GetTimerManager() const { return *TimerManager; }
	// Seconds of game time since the world was made.
	double GetTimeSeconds() const { return TimeSeconds; }
	float GetDeltaSeconds() const { return DeltaSeconds; }

	// Advances the clock, then fires the timers that fell due.
	void Tick(float InDeltaSeconds);

	void BeginDestroy() override;

private:
	std::unique_ptr<FTimerManager> TimerManager;
	double TimeSeconds = 0.0;
	float DeltaSeconds = 0.0f;
};
