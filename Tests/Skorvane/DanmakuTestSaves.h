#pragma once

#include "CoreMinimal.h"
#include "GameFramework/SaveGame.h"

#include "DanmakuTestSaves.generated.h"

// Another game's save object that happens to use the danmaku slot's name.
UCLASS()
class UForeignTestSave : public USaveGame
{
	GENERATED_BODY()

public:
	UPROPERTY()
	int32 FontSize = 77;
};
