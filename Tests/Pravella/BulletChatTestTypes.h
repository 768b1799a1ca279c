#pragma once

#include "CoreMinimal.h"
#include "GameFramework/SaveGame.h"

#include "BulletChatTestTypes.generated.h"

// Another game's save object that happens to use the legacy bullet chat slot's name.
UCLASS()
class UForeignBulletChatSave : public USaveGame
{
	GENERATED_BODY()

public:
	UPROPERTY()
	int32 FontSize = 77;
};
