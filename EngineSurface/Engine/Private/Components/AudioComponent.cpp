#include "Components/AudioComponent.h"

void UAudioComponent::SetVolumeMultiplier(float NewVolumeMultiplier)
{
	VolumeMultiplier = FMath::Max(NewVolumeMultiplier, 0.0f);
}

void UAudioComponent::Play(float StartTime)
{
	bIsPlaying = true;
}

void UAudioComponent::Stop()
{
	bIsPlaying = false;
}
