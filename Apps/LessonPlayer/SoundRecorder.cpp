#include "SoundRecorder.h"

#include "Headless/HeadlessAudioOutput.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
constexpr int32 Rate = FHeadlessAudioOutput::SampleRate;
constexpr int32 Channels = FHeadlessAudioOutput::NumChannels;

void PutLittleEndian(uint8* Out, uint32 Value, int32 Bytes)
{
	for (int32 Index = 0; Index < Bytes; ++Index)
	{
		Out[Index] = uint8(Value >> (8 * Index));
	}
}

// The 44-byte header of a 16-bit PCM WAV file holding DataBytes of samples.
void MakeHeader(uint8 (&Header)[44], uint32 DataBytes)
{
	std::memcpy(Header, "RIFF", 4);
	PutLittleEndian(Header + 4, 36 + DataBytes, 4);
	std::memcpy(Header + 8, "WAVEfmt ", 8);
	PutLittleEndian(Header + 16, 16, 4);
	PutLittleEndian(Header + 20, 1, 2);
	PutLittleEndian(Header + 22, Channels, 2);
	PutLittleEndian(Header + 24, Rate, 4);
	PutLittleEndian(Header + 28, Rate * Channels * 2, 4);
	PutLittleEndian(Header + 32, Channels * 2, 2);
	PutLittleEndian(Header + 34, 16, 2);
	std::memcpy(Header + 36, "data", 4);
	PutLittleEndian(Header + 40, DataBytes, 4);
}
} // namespace

FSoundRecorder::~FSoundRecorder()
{
	Finish();
}

bool FSoundRecorder::Start(const FString& WavPath, std::function<void(const FSecondLevel&)> InOnSecond)
{
	OnSecond = std::move(InOnSecond);
	if (!WavPath.IsEmpty())
	{
		Wav = std::fopen(TCHAR_TO_UTF8(*WavPath), "wb");
		if (!Wav)
		{
			return false;
		}
		uint8 Header[44];
		MakeHeader(Header, 0);
		bWriteFailed |= std::fwrite(Header, 1, sizeof(Header), Wav) != sizeof(Header);
	}
	bListening = true;
	FHeadlessAudioOutput::SetListener([this](const TArray<float>& Samples, bool bAnySource)
	                                  { Take(Samples, bAnySource); });
	return true;
}

void FSoundRecorder::Take(const TArray<float>& Samples, bool bAnySource)
{
	const int32 Frames = Samples.Num() / Channels;
	if (!bAnySource && !Wav)
	{
		// Nothing sounds and nothing is written: only the seconds go by, which is all a described lesson has.
		for (int32 Left = Frames; Left > 0;)
		{
			if (SecondFrames == Rate)
			{
				EndSecond();
			}
			const int32 Step = FMath::Min(Left, Rate - SecondFrames);
			SecondFrames += Step;
			Left -= Step;
		}
		FramesHeard += Frames;
		return;
	}
	TArray<uint8> Bytes;
	if (Wav)
	{
		Bytes.Reserve(Samples.Num() * 2);
	}
	for (int32 Frame = 0; Frame < Frames; ++Frame)
	{
		if (SecondFrames == Rate)
		{
			EndSecond();
		}
		for (int32 Channel = 0; Channel < Channels; ++Channel)
		{
			const double Sample = Samples[Frame * Channels + Channel];
			SumOfSquares += Sample * Sample;
			Peak = FMath::Max(Peak, std::fabs(Sample));
			if (Wav)
			{
				const int32 Pcm = int32(std::lround(FMath::Clamp(Sample, -1.0, 1.0) * 32767.0));
				Bytes.Add(uint8(Pcm & 0xFF));
				Bytes.Add(uint8((Pcm >> 8) & 0xFF));
			}
		}
		++SecondFrames;
		bSecondHasSource |= bAnySource;
	}
	FramesHeard += Frames;
	if (Wav && !Bytes.IsEmpty())
	{
		bWriteFailed |= std::fwrite(Bytes.GetData(), 1, size_t(Bytes.Num()), Wav) != size_t(Bytes.Num());
	}
}

void FSoundRecorder::EndSecond()
{
	if (bSecondHasSource && SecondFrames > 0 && OnSecond)
	{
		OnSecond(FSecondLevel{Second, std::sqrt(SumOfSquares / double(SecondFrames * Channels)), Peak});
	}
	++Second;
	SecondFrames = 0;
	SumOfSquares = 0.0;
	Peak = 0.0;
	bSecondHasSource = false;
}

bool FSoundRecorder::Finish()
{
	if (!bListening)
	{
		return !bWriteFailed;
	}
	bListening = false;
	FHeadlessAudioOutput::SetListener(nullptr);
	if (SecondFrames > 0)
	{
		EndSecond();
	}
	if (Wav)
	{
		// The sizes are known only now; a file beyond 4 GiB keeps the largest size the header can say.
		const uint64 DataBytes = uint64(FramesHeard) * Channels * 2;
		uint8 Header[44];
		MakeHeader(Header, uint32(std::min<uint64>(DataBytes, 0xFFFFFFFFull - 36)));
		bWriteFailed |= std::fseek(Wav, 0, SEEK_SET) != 0;
		bWriteFailed |= std::fwrite(Header, 1, sizeof(Header), Wav) != sizeof(Header);
		bWriteFailed |= std::fclose(Wav) != 0;
		Wav = nullptr;
	}
	return !bWriteFailed;
}
