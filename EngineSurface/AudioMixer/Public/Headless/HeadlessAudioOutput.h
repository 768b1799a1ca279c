#pragma once

#include "CoreMinimal.h"

#include <functional>

class USynthComponent;

// The headless audio device: in the application's Audio phase every registered synth component that is playing
// renders the frame's sound (as many samples as the frame's time holds at SampleRate, the remainder carried to
// the next frame), scaled by its audio component's volume multiplier, and the sum is the frame's output: what a
// viewer would hear. A listener (the lesson player's WAV writer and level meter) receives each frame's output.
class AUDIOMIXER_API FHeadlessAudioOutput
{
public:
	static constexpr int32 SampleRate = 48000;
	static constexpr int32 NumChannels = 2;

	// Interleaved stereo samples of one frame, and whether any component had a sound source to render in it
	// (one that is muted or paused still has one).
	using FListener = std::function<void(const TArray<float>& Samples, bool bAnySource)>;
	static void SetListener(FListener Listener);

	static void AddComponent(USynthComponent* Component);
	static void RemoveComponent(USynthComponent* Component);

	// Renders one frame; the application calls it in the Audio phase.
	static void RenderFrame(float DeltaSeconds);
};
