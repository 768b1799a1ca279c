#pragma once

#include "CoreMinimal.h"
#include "Components/ActorComponent.h"

#include "SceneComponent.generated.h"

// A component with a place in the world; the headless world has no transforms, so it adds nothing.
UCLASS(Abstract)
class ENGINE_API USceneComponent : public UActorComponent
{
	GENERATED_BODY()
};
