#pragma once

#include "CoreMinimal.h"
#include "GameFramework/SaveGame.h"
#include "UObject/Object.h"

#include "EngineTestTypes.generated.h"

// Counts how often its timer callback ran.
UCLASS()
class UTimerTarget : public UObject
{
	GENERATED_BODY()

public:
	void OnTimer() { ++Calls; }

	int32 Calls = 0;
};

UCLASS()
class UTestSaveGame : public USaveGame
{
	GENERATED_BODY()

public:
	UPROPERTY()
	int32 FontSize = 24;

	UPROPERTY()
	float SpeedScale = 1.0f;

	UPROPERTY()
	bool bIsOpened = true;

	UPROPERTY()
	FString Title = TEXT("default");

	UPROPERTY()
	TArray<int32> Lanes;

	UPROPERTY(Transient)
	int32 NotSaved = 0;
};
