#include "Headless/HeadlessMediaDecoder.h"

#include "Headless/HeadlessMediaDecoderBackend.h"
#include "Misc/Paths.h"

#include <dlfcn.h>

namespace
{
// The decoder library's entry point, or null with the reason it cannot be had.
struct FDecoderLibrary
{
	FOpenHeadlessMediaDecoderBackend Open = nullptr;
	FString Error;
};

// Loads the decoder library (HEADLESS_MEDIA_DECODER_LIBRARY, built beside MediaAssets) from the folder this library
// was loaded from, the way the engine loads a media player plugin's module when it is first needed: so it is found
// from any working directory and in every build. It stays loaded.
FDecoderLibrary LoadDecoderLibrary()
{
	FDecoderLibrary Library;
	Dl_info Self = {};
	if (dladdr(reinterpret_cast<void*>(&LoadDecoderLibrary), &Self) == 0 || !Self.dli_fname)
	{
		Library.Error = TEXT("the folder of the MediaAssets library cannot be found");
		return Library;
	}
	const FString Path = FPaths::GetPath(UTF8_TO_TCHAR(Self.dli_fname)) / TEXT(HEADLESS_MEDIA_DECODER_LIBRARY);
	void* Handle = dlopen(TCHAR_TO_UTF8(*Path), RTLD_NOW | RTLD_LOCAL);
	if (!Handle)
	{
		Library.Error =
		    FString::Printf(TEXT("the decoder library %s cannot be loaded (%s)"), *Path, UTF8_TO_TCHAR(dlerror()));
		return Library;
	}
	Library.Open =
	    reinterpret_cast<FOpenHeadlessMediaDecoderBackend>(dlsym(Handle, OpenHeadlessMediaDecoderBackendName));
	if (!Library.Open)
	{
		Library.Error =
		    FString::Printf(TEXT("the decoder library %s cannot be used (%s)"), *Path, UTF8_TO_TCHAR(dlerror()));
	}
	return Library;
}
} // namespace

FHeadlessMediaDecoder::FHeadlessMediaDecoder(std::unique_ptr<IHeadlessMediaDecoderBackend> InBackend)
    : Backend(std::move(InBackend))
{
}

FHeadlessMediaDecoder::~FHeadlessMediaDecoder() = default;

std::unique_ptr<FHeadlessMediaDecoder> FHeadlessMediaDecoder::Open(const FString& FilePath, FString& OutError)
{
	// Loaded at the first file, once: a failure to load holds for the rest of the run.
	static const FDecoderLibrary Library = LoadDecoderLibrary();
	if (!Library.Open)
	{
		OutError = Library.Error;
		return nullptr;
	}
	std::unique_ptr<IHeadlessMediaDecoderBackend> Opened(Library.Open(FilePath, OutError));
	if (!Opened)
	{
		return nullptr;
	}
	return std::unique_ptr<FHeadlessMediaDecoder>(new FHeadlessMediaDecoder(std::move(Opened)));
}

double FHeadlessMediaDecoder::GetDuration() const
{
	return Backend->GetDuration();
}

float FHeadlessMediaDecoder::GetFrameRate() const
{
	return Backend->GetFrameRate();
}

FIntPoint FHeadlessMediaDecoder::GetDimensions() const
{
	return Backend->GetDimensions();
}

bool FHeadlessMediaDecoder::HasAudio() const
{
	return Backend->HasAudio();
}

void FHeadlessMediaDecoder::AdvanceTo(double Seconds)
{
	Backend->AdvanceTo(Seconds);
}

void FHeadlessMediaDecoder::SeekTo(double Seconds)
{
	Backend->SeekTo(Seconds);
}

double FHeadlessMediaDecoder::GetFrameTime() const
{
	return Backend->GetFrameTime();
}

bool FHeadlessMediaDecoder::GetFrame(TArray<FColor>& OutPixels, FIntPoint& OutSize) const
{
	return Backend->GetFrame(OutPixels, OutSize);
}

double FHeadlessMediaDecoder::GetAudioStart() const
{
	return Backend->GetAudioStart();
}

double FHeadlessMediaDecoder::GetAudioEnd() const
{
	return Backend->GetAudioEnd();
}

void FHeadlessMediaDecoder::GetAudioSample(double Seconds, float& OutLeft, float& OutRight) const
{
	Backend->GetAudioSample(Seconds, OutLeft, OutRight);
}
