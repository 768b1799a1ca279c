#include "Headless/HeadlessAudioOutput.h"

#include "Components/AudioComponent.h"
#include "Components/SynthComponent.h"
#include "Headless/HeadlessApplication.h"
#include "UObject/WeakObjectPtrTemplates.h"

#include <cmath>

namespace
{
struct FOutputState
{
	TArray<TWeakObjectPtr<USynthComponent>> Components;
	FHeadlessAudioOutput::FListener Listener;
	// Samples owed to the next frame: frame times rarely hold a whole number of them.
	double Carry = 0.0;
	TArray<float> Mix;
	TArray<float> Rendered;
};

FOutputState& GetState()
{
	static FOutputState State;
	return State;
}

const bool bAudioPhaseRegistered = []
{
	FHeadlessApplication::RegisterPhaseHandler(EHeadlessTickPhase::Audio, [](FHeadlessApplication&, float DeltaSeconds)
	                                           { FHeadlessAudioOutput::RenderFrame(DeltaSeconds); });
	return true;
}();
} // namespace

void FHeadlessAudioOutput::SetListener(FListener Listener)
{
	GetState().Listener = std::move(Listener);
	GetState().Carry = 0.0;
}

void FHeadlessAudioOutput::AddComponent(USynthComponent* Component)
{
	GetState().Components.AddUnique(TWeakObjectPtr<USynthComponent>(Component));
}

void FHeadlessAudioOutput::RemoveComponent(USynthComponent* Component)
{
	GetState().Components.Remove(TWeakObjectPtr<USynthComponent>(Component));
}

void FHeadlessAudioOutput::RenderFrame(float DeltaSeconds)
{
	FOutputState& State = GetState();
	State.Components.RemoveAll([](const TWeakObjectPtr<USynthComponent>& Component) { return !Component.IsValid(); });
	const double Exact = FMath::Max(double(DeltaSeconds), 0.0) * SampleRate + State.Carry;
	const int32 Frames = int32(std::floor(Exact));
	State.Carry = Exact - Frames;
	State.Mix.Reset();
	State.Mix.SetNumZeroed(Frames * NumChannels);
	bool bAnySource = false;
	const TArray<TWeakObjectPtr<USynthComponent>> ThisFrame = State.Components;
	for (const TWeakObjectPtr<USynthComponent>& Weak : ThisFrame)
	{
		USynthComponent* Component = Weak.Get();
		if (!Component || !Component->IsPlaying() || Frames == 0)
		{
			continue;
		}
		State.Rendered.Reset();
		State.Rendered.SetNumZeroed(Frames * NumChannels);
		const int32 Written = Component->OnGenerateAudio(State.Rendered.GetData(), Frames * NumChannels);
		if (Written <= 0)
		{
			continue;
		}
		bAnySource = true;
		const float Volume = FMath::Max(Component->AudioComponent->VolumeMultiplier, 0.0f);
		for (int32 Index = 0; Index < FMath::Min(Written, Frames * NumChannels); ++Index)
		{
			State.Mix[Index] += State.Rendered[Index] * Volume;
		}
	}
	if (State.Listener)
	{
		State.Listener(State.Mix, bAnySource);
	}
}
