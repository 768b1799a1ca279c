#pragma once

#include "CoreMinimal.h"
#include "Math/IntPoint.h"

// The decoder proper behind FHeadlessMediaDecoder, which forwards every call to it. It lives in a library of its own
// with FFmpeg's (HeadlessMediaDecoderFFmpeg, beside MediaAssets), loaded at the first file opened: a program that
// plays only described media never maps FFmpeg and the libraries it pulls in. Each call means what
// FHeadlessMediaDecoder's of the same name does.
class IHeadlessMediaDecoderBackend
{
public:
	virtual ~IHeadlessMediaDecoderBackend() = default;

	virtual double GetDuration() const = 0;
	virtual float GetFrameRate() const = 0;
	virtual FIntPoint GetDimensions() const = 0;
	virtual bool HasAudio() const = 0;
	virtual void AdvanceTo(double Seconds) = 0;
	virtual void SeekTo(double Seconds) = 0;
	virtual double GetFrameTime() const = 0;
	virtual bool GetFrame(TArray<FColor>& OutPixels, FIntPoint& OutSize) const = 0;
	virtual double GetAudioStart() const = 0;
	virtual double GetAudioEnd() const = 0;
	virtual void GetAudioSample(double Seconds, float& OutLeft, float& OutRight) const = 0;
};

// The library's one entry point, looked up by this name: a new decoder of the file (the caller owns it), or null
// with OutError saying why the file cannot be played.
using FOpenHeadlessMediaDecoderBackend = IHeadlessMediaDecoderBackend* (*)(const FString& FilePath, FString& OutError);
inline constexpr const char* OpenHeadlessMediaDecoderBackendName = "OpenHeadlessMediaDecoderBackend";
