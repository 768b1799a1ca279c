#pragma once

#include "CoreMinimal.h"

#include <cstdio>
#include <functional>

// What the viewer of a run hears: the headless audio output, frame by frame. Writes it to a WAV file (16-bit
// stereo at the output's rate) when asked, and measures each second of the run's clock: the level of a second
// that had a sound source (a decoded lesson with sound, even muted or paused) is handed to OnSecond when the
// second is over; seconds without one (described lessons) are not reported.
class FSoundRecorder
{
public:
	struct FSecondLevel
	{
		int64 Second = 0;
		// Root mean square and peak of both channels, 0 to 1 (full scale).
		double RootMeanSquare = 0.0;
		double Peak = 0.0;
	};

	FSoundRecorder() = default;
	FSoundRecorder(const FSoundRecorder&) = delete;
	FSoundRecorder& operator=(const FSoundRecorder&) = delete;
	~FSoundRecorder();

	// Starts listening to the audio output; with a path, also writes the WAV file (false when it cannot be made).
	bool Start(const FString& WavPath, std::function<void(const FSecondLevel&)> InOnSecond);
	// Reports the second in progress and finishes the WAV file; false when the file was not written in full.
	bool Finish();

	int64 GetFramesHeard() const { return FramesHeard; }

private:
	void Take(const TArray<float>& Samples, bool bAnySource);
	void EndSecond();

	std::function<void(const FSecondLevel&)> OnSecond;
	std::FILE* Wav = nullptr;
	bool bWriteFailed = false;
	bool bListening = false;
	int64 FramesHeard = 0;
	// The second being measured.
	int64 Second = 0;
	int64 SecondFrames = 0;
	double SumOfSquares = 0.0;
	double Peak = 0.0;
	bool bSecondHasSource = false;
};
