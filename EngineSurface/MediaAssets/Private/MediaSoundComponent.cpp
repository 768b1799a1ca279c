#include "MediaSoundComponent.h"

#include "Headless/HeadlessMediaDecoder.h"
#include "MediaPlayer.h"

void UMediaSoundComponent::SetMediaPlayer(UMediaPlayer* NewMediaPlayer)
{
	MediaPlayer = NewMediaPlayer;
	bHasLast = false;
}

int32 UMediaSoundComponent::OnGenerateAudio(float* OutAudio, int32 NumSamples)
{
	const FHeadlessMediaDecoder* Decoder = MediaPlayer ? MediaPlayer->GetDecoder() : nullptr;
	if (!Decoder || !Decoder->HasAudio() || NumChannels != FHeadlessMediaDecoder::NumChannels)
	{
		bHasLast = false;
		return 0;
	}
	const double Now = MediaPlayer->PositionSeconds;
	const bool bContinues = bHasLast && LastJumps == MediaPlayer->GetPlayheadJumps() && Now >= LastMediaSeconds;
	const double From = bContinues ? LastMediaSeconds : Now;
	LastMediaSeconds = Now;
	LastJumps = MediaPlayer->GetPlayheadJumps();
	bHasLast = true;
	const int32 Frames = NumSamples / FHeadlessMediaDecoder::NumChannels;
	for (int32 Frame = 0; Frame < Frames; ++Frame)
	{
		float Left = 0.0f;
		float Right = 0.0f;
		if (Now > From)
		{
			// The media time of this output sample: the crossed stretch spread evenly over the frame.
			Decoder->GetAudioSample(From + (Now - From) * (double(Frame) / Frames), Left, Right);
		}
		OutAudio[Frame * 2] = Left;
		OutAudio[Frame * 2 + 1] = Right;
	}
	return Frames * FHeadlessMediaDecoder::NumChannels;
}
