#include "Components/ActorComponent.h"

#include "Engine/World.h"

void UActorComponent::RegisterComponentWithWorld(UWorld* InWorld)
{
	if (bRegistered || !InWorld)
	{
		return;
	}
	RegisteredWorld = InWorld;
	bRegistered = true;
	OnRegister();
}

void UActorComponent::UnregisterComponent()
{
	if (!bRegistered)
	{
		return;
	}
	OnUnregister();
	bRegistered = false;
	RegisteredWorld.Reset();
}

UWorld* UActorComponent::GetWorld() const
{
	if (UWorld* World = RegisteredWorld.Get())
	{
		return World;
	}
	return Super::GetWorld();
}

void UActorComponent::BeginDestroy()
{
	UnregisterComponent();
	Super::BeginDestroy();
}
