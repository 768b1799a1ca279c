#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

#include "SaveGame.generated.h"

// The base of objects stored in save slots: every reflected property that is not Transient is written.
UCLASS(Abstract)
class ENGINE_API USaveGame : public UObject
{
	GENERATED_BODY()
};
