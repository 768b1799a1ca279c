#pragma once

#include "CoreMinimal.h"
#include "Math/IntPoint.h"
#include <memory>

class IHeadlessMediaDecoderBackend;

// Decodes a local media file with FFmpeg's libraries, for the headless media player: the video frame on screen at
// a media time and the sound up to it. Media time 0 is the start of the file (its first time stamp).
//
// Work is done only when asked for: AdvanceTo reads the file forward to a time, SeekTo jumps (decoding from the key
// frame before the target), GetFrame converts the frame on screen to pixels. A file that cannot be played (no
// video track, no decoder for it, an unreadable container, a length beyond a day or no length at all, a picture
// beyond 4,096 pixels a side) is refused by Open with a message saying why. A damaged stream later on ends the
// media where it breaks: the last good frame stays on screen.
// FFmpeg's libraries are loaded at the first Open, not before, and stay loaded (failing to load is Open's error).
class MEDIAASSETS_API FHeadlessMediaDecoder
{
public:
	static constexpr int32 SampleRate = 48000;
	static constexpr int32 NumChannels = 2;
	static constexpr double MaxDurationSeconds = 86400.0;
	static constexpr int32 MaxDimension = 4096;

	// The decoder of the file, or null with OutError saying why it cannot be played.
	static std::unique_ptr<FHeadlessMediaDecoder> Open(const FString& FilePath, FString& OutError);
	~FHeadlessMediaDecoder();

	double GetDuration() const;
	float GetFrameRate() const;
	FIntPoint GetDimensions() const;
	bool HasAudio() const;

	// Decodes forward until the frame shown at Seconds is current and the sound reaches Seconds. Going backwards
	// is a seek.
	void AdvanceTo(double Seconds);
	// Starts reading again from the key frame at or before Seconds and decodes up to Seconds.
	void SeekTo(double Seconds);

	// The time stamp of the current frame; negative before the first frame was decoded.
	double GetFrameTime() const;
	// The current frame as sRGB pixels, row by row from the top; false when there is none.
	bool GetFrame(TArray<FColor>& OutPixels, FIntPoint& OutSize) const;

	// The decoded sound covers media times [GetAudioStart, GetAudioEnd): interleaved stereo at SampleRate. Sound
	// more than a second behind the last time decoded to is let go.
	double GetAudioStart() const;
	double GetAudioEnd() const;
	// The stereo sample at a media time (nearest); silence outside the decoded span.
	void GetAudioSample(double Seconds, float& OutLeft, float& OutRight) const;

private:
	explicit FHeadlessMediaDecoder(std::unique_ptr<IHeadlessMediaDecoderBackend> InBackend);
	std::unique_ptr<IHeadlessMediaDecoderBackend> Backend;
};
