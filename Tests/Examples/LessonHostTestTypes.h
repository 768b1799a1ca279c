#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

#include "LessonHostTestTypes.generated.h"

// Listens to the host's events as a game's Blueprint bound to them would.
UCLASS()
class ULessonScreenListener : public UObject
{
	GENERATED_BODY()

public:
	UFUNCTION()
	void OnEnded(const FString& Url) { Ended.Add(Url); }
	UFUNCTION()
	void OnChanged(const FString& Url) { Changed.Add(Url); }

	TArray<FString> Ended;
	TArray<FString> Changed;
};
