#include "Components/SynthComponent.h"

#include "Components/AudioComponent.h"
#include "Headless/HeadlessAudioOutput.h"

void USynthComponent::OnRegister()
{
	Super::OnRegister();
	if (!AudioComponent)
	{
		AudioComponent = NewObject<UAudioComponent>(this);
		AudioComponent->SetVolumeMultiplier(VolumeMultiplier);
	}
	FHeadlessAudioOutput::AddComponent(this);
	Start();
}

void USynthComponent::OnUnregister()
{
	FHeadlessAudioOutput::RemoveComponent(this);
	Super::OnUnregister();
}

void USynthComponent::Start()
{
	if (AudioComponent)
	{
		AudioComponent->Play();
	}
}

void USynthComponent::Stop()
{
	if (AudioComponent)
	{
		AudioComponent->Stop();
	}
}

bool USynthComponent::IsPlaying() const
{
	return AudioComponent && AudioComponent->IsPlaying();
}

void USynthComponent::SetVolumeMultiplier(float InVolumeMultiplier)
{
	VolumeMultiplier = InVolumeMultiplier;
	if (AudioComponent)
	{
		AudioComponent->SetVolumeMultiplier(InVolumeMultiplier);
	}
}
