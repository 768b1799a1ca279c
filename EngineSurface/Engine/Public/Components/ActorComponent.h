#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

#include "ActorComponent.generated.h"

// A piece of behaviour that takes part in a world once registered with it.
UCLASS(Abstract)
class ENGINE_API UActorComponent : public UObject
{
	GENERATED_BODY()

public:
	// Registers the component with InWorld (OnRegister runs); a registered component is registered again only
	// after UnregisterComponent.
	void RegisterComponentWithWorld(UWorld* InWorld);
	// OnUnregister runs; the component no longer belongs to a world.
	void UnregisterComponent();
	bool IsRegistered() const { return bRegistered; }

	// The world the component is registered with, else the one of its outers.
	UWorld* GetWorld() const override;

	void BeginDestroy() override;

protected:
	virtual void OnRegister() {}
	virtual void OnUnregister() {}

private:
	TWeakObjectPtr<UWorld> RegisteredWorld;
	bool bRegistered = false;
};
