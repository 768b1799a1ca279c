#include "Headless/HeadlessMediaDecoder.h"
#include "Headless/HeadlessMediaDecoderBackend.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <cmath>

namespace
{
// Opening reads at most this much to learn what the streams are, so that a file made to look endless cannot
// stall it.
constexpr int64 ProbeBytes = 4 * 1024 * 1024;
constexpr int64 AnalyzeMicroseconds = 2 * AV_TIME_BASE;
// Sound kept behind the last time decoded to, for a sound component that reads a frame late.
constexpr double AudioKeptSeconds = 1.0;
constexpr int32 MaxQueuedFrames = 64;
constexpr double MaxAudioAheadSeconds = 10.0;
constexpr double HalfTick = 0.5e-7;

FString AvError(int Code)
{
	char Buffer[AV_ERROR_MAX_STRING_SIZE] = {};
	av_strerror(Code, Buffer, sizeof(Buffer));
	return FString(UTF8_TO_TCHAR(Buffer));
}

void QuietFfmpegLog()
{
	// FFmpeg reports damaged streams on standard error by itself; the player says once why a file is refused.
	static const bool bQuiet = []
	{
		av_log_set_level(AV_LOG_QUIET);
		return true;
	}();
	(void)bQuiet;
}
} // namespace

struct FHeadlessMediaDecoderState
{
	AVFormatContext* Format = nullptr;
	AVCodecContext* Video = nullptr;
	AVCodecContext* Audio = nullptr;
	int VideoStream = -1;
	int AudioStream = -1;
	SwrContext* Resampler = nullptr;
	mutable SwsContext* Scaler = nullptr;
	AVPacket* Packet = nullptr;
	AVFrame* Decoded = nullptr;
	// The frame on screen, and the decoded frames after it with their times: the first says when it ends.
	AVFrame* Current = nullptr;
	bool bHasCurrent = false;
	double CurrentTime = -1.0;
	TArray<AVFrame*> Queue;
	TArray<double> QueueTimes;
	bool bEndOfFile = false;
	// Reading stopped at damaged or missing data, not at a clean end.
	bool bReadError = false;
	bool bVideoEnded = false;
	bool bAudioEnded = false;

	double StartSeconds = 0.0;
	double Duration = 0.0;
	float FrameRate = 0.0f;
	FIntPoint Dimensions = FIntPoint(0, 0);

	TArray<float> AudioSamples;
	double AudioStart = 0.0;
	// Sound before this time is dropped: what decoding from a key frame yields before a seek's target.
	double AudioFloor = 0.0;

	~FHeadlessMediaDecoderState()
	{
		av_frame_free(&Current);
		ClearQueue();
		av_frame_free(&Decoded);
		av_packet_free(&Packet);
		swr_free(&Resampler);
		sws_freeContext(Scaler);
		avcodec_free_context(&Video);
		avcodec_free_context(&Audio);
		avformat_close_input(&Format);
	}

	double StreamSeconds(int StreamIndex, int64 Stamp) const
	{
		const AVRational Base = Format->streams[StreamIndex]->time_base;
		return double(Stamp) * av_q2d(Base) - StartSeconds;
	}

	double AudioEnd() const { return AudioStart + double(AudioSamples.Num() / 2) / FHeadlessMediaDecoder::SampleRate; }

	bool OpenCodec(int StreamIndex, AVCodecContext*& OutContext)
	{
		const AVCodecParameters* Parameters = Format->streams[StreamIndex]->codecpar;
		const AVCodec* Codec = avcodec_find_decoder(Parameters->codec_id);
		if (!Codec)
		{
			return false;
		}
		OutContext = avcodec_alloc_context3(Codec);
		if (!OutContext || avcodec_parameters_to_context(OutContext, Parameters) < 0)
		{
			return false;
		}
		// One thread: frames come out in the order packets go in, and a test run stays deterministic.
		OutContext->thread_count = 1;
		return avcodec_open2(OutContext, Codec, nullptr) >= 0;
	}

	// Takes every frame the video decoder has ready into the queue.
	void ReceiveVideo()
	{
		while (true)
		{
			const int Result = avcodec_receive_frame(Video, Decoded);
			if (Result == AVERROR_EOF)
			{
				bVideoEnded = true;
				return;
			}
			if (Result < 0)
			{
				return;
			}
			if (Decoded->width != Dimensions.X || Decoded->height != Dimensions.Y || Decoded->format < 0 ||
			    !sws_isSupportedInput(AVPixelFormat(Decoded->format)))
			{
				// A stream that changes its size midway, or a frame no picture can be made of: the media ends
				// where it does.
				av_frame_unref(Decoded);
				bVideoEnded = true;
				return;
			}
			int64 Stamp = Decoded->best_effort_timestamp;
			if (Stamp == AV_NOPTS_VALUE)
			{
				Stamp = Decoded->pts;
			}
			const double Last = !Queue.IsEmpty() ? QueueTimes.Last() : (bHasCurrent ? CurrentTime : -1.0 / FrameRate);
			// A frame stamped before the start (a stream that starts late, or a broken stamp) shows at the start.
			const double Time =
			    FMath::Max(0.0, Stamp == AV_NOPTS_VALUE ? Last + 1.0 / FrameRate : StreamSeconds(VideoStream, Stamp));
			AVFrame* Frame = av_frame_alloc();
			if (!Frame)
			{
				av_frame_unref(Decoded);
				return;
			}
			av_frame_move_ref(Frame, Decoded);
			Queue.Add(Frame);
			QueueTimes.Add(Time);
		}
	}

	void ReceiveAudio()
	{
		while (true)
		{
			const int Result = avcodec_receive_frame(Audio, Decoded);
			if (Result == AVERROR_EOF)
			{
				bAudioEnded = true;
				return;
			}
			if (Result < 0)
			{
				return;
			}
			int64 Stamp = Decoded->best_effort_timestamp;
			const double Time = Stamp == AV_NOPTS_VALUE ? AudioEnd() : StreamSeconds(AudioStream, Stamp);
			const int MaxOut = swr_get_out_samples(Resampler, Decoded->nb_samples);
			if (MaxOut > 0)
			{
				TArray<float> Converted;
				Converted.SetNumZeroed(MaxOut * FHeadlessMediaDecoder::NumChannels);
				uint8* Out[1] = {reinterpret_cast<uint8*>(Converted.GetData())};
				const int Count = swr_convert(Resampler, Out, MaxOut, const_cast<const uint8**>(Decoded->extended_data),
				                              Decoded->nb_samples);
				if (Count > 0)
				{
					AppendAudio(Time, Converted.GetData(), Count);
				}
			}
			av_frame_unref(Decoded);
		}
	}

	void AppendAudio(double Time, const float* Samples, int Count)
	{
		if (AudioSamples.IsEmpty() || std::fabs(Time - AudioEnd()) > 0.1)
		{
			// The first sound, or a gap in the stream: start the span again at the frame's own time.
			AudioSamples.Reset();
			AudioStart = Time;
		}
		int First = 0;
		if (Time < AudioFloor)
		{
			First =
			    int(FMath::Clamp((AudioFloor - Time) * FHeadlessMediaDecoder::SampleRate + 0.5, 0.0, double(Count)));
			if (AudioSamples.IsEmpty())
			{
				AudioStart = Time + double(First) / FHeadlessMediaDecoder::SampleRate;
			}
		}
		AudioSamples.Append(Samples + First * 2, (Count - First) * 2);
	}

	// Reads one packet and hands it to its decoder; false at the end of the file (or where it breaks).
	bool ReadPacket()
	{
		if (bEndOfFile)
		{
			return false;
		}
		const int Result = av_read_frame(Format, Packet);
		if (Result < 0)
		{
			bEndOfFile = true;
			bReadError = Result != AVERROR_EOF;
			// Drain both decoders: the frames they still hold are the last of the media.
			avcodec_send_packet(Video, nullptr);
			ReceiveVideo();
			if (Audio)
			{
				avcodec_send_packet(Audio, nullptr);
				ReceiveAudio();
			}
			return false;
		}
		if (Packet->stream_index == VideoStream && !bVideoEnded)
		{
			// The decoder holds at most a few frames; whatever it has ready is taken before and after.
			ReceiveVideo();
			if (avcodec_send_packet(Video, Packet) == AVERROR(EAGAIN))
			{
				ReceiveVideo();
				avcodec_send_packet(Video, Packet);
			}
			ReceiveVideo();
		}
		else if (Packet->stream_index == AudioStream && Audio)
		{
			if (avcodec_send_packet(Audio, Packet) >= 0)
			{
				ReceiveAudio();
			}
		}
		av_packet_unref(Packet);
		return true;
	}

	void PromoteNext()
	{
		std::swap(Current, Queue[0]);
		av_frame_free(&Queue[0]);
		CurrentTime = QueueTimes[0];
		Queue.RemoveAt(0);
		QueueTimes.RemoveAt(0);
		bHasCurrent = true;
	}

	void ClearQueue()
	{
		for (AVFrame*& Frame : Queue)
		{
			av_frame_free(&Frame);
		}
		Queue.Reset();
		QueueTimes.Reset();
	}

	void AdvanceTo(double Seconds)
	{
		// Bounded by the file: every read consumes a packet, and the end of the file stops the loop.
		while (true)
		{
			// Within half a tick: the player's times are whole ticks, a frame's time stamp need not be.
			if (!Queue.IsEmpty() && QueueTimes[0] <= Seconds + HalfTick)
			{
				PromoteNext();
				continue;
			}
			// Pictures are read ahead of the sound only while little sound waits, and sound ahead of the pictures
			// only while few frames wait, so that a file whose sound lies far from its pictures (or whose pictures
			// are far apart) cannot fill the memory.
			const bool bNeedVideo =
			    Queue.IsEmpty() && !bVideoEnded && !(Audio && AudioEnd() > Seconds + MaxAudioAheadSeconds);
			const bool bNeedAudio = Audio && !bAudioEnded && AudioEnd() < Seconds && Queue.Num() < MaxQueuedFrames;
			if ((!bNeedVideo && !bNeedAudio) || !ReadPacket())
			{
				break;
			}
		}
		if (!bHasCurrent && !Queue.IsEmpty())
		{
			// Before the first frame's time stamp the first frame is shown.
			PromoteNext();
		}
		const double Keep = Seconds - AudioKeptSeconds;
		const int32 Drop = int32(
		    FMath::Clamp((Keep - AudioStart) * FHeadlessMediaDecoder::SampleRate, 0.0, double(AudioSamples.Num() / 2)));
		if (Drop > 0)
		{
			AudioSamples.RemoveAt(0, Drop * 2);
			AudioStart += double(Drop) / FHeadlessMediaDecoder::SampleRate;
		}
	}

	void SeekTo(double Seconds)
	{
		const int64 Target = int64((Seconds + StartSeconds) * AV_TIME_BASE);
		// Backwards from the target: the key frame at or before it, from which the frames up to it decode.
		if (av_seek_frame(Format, -1, Target, AVSEEK_FLAG_BACKWARD) < 0)
		{
			av_seek_frame(Format, -1, int64(StartSeconds * AV_TIME_BASE), AVSEEK_FLAG_BACKWARD);
		}
		avcodec_flush_buffers(Video);
		if (Audio)
		{
			avcodec_flush_buffers(Audio);
			swr_init(Resampler);
		}
		av_frame_unref(Current);
		ClearQueue();
		bHasCurrent = false;
		CurrentTime = -1.0;
		bEndOfFile = false;
		bReadError = false;
		bVideoEnded = false;
		bAudioEnded = false;
		AudioSamples.Reset();
		AudioStart = Seconds;
		AudioFloor = Seconds;
		AdvanceTo(Seconds);
	}
};

// The decoder MediaAssets loads this library for (FHeadlessMediaDecoder forwards to it).
class FHeadlessMediaDecoderFFmpeg final : public IHeadlessMediaDecoderBackend
{
public:
	static IHeadlessMediaDecoderBackend* Open(const FString& FilePath, FString& OutError);

	double GetDuration() const override;
	float GetFrameRate() const override;
	FIntPoint GetDimensions() const override;
	bool HasAudio() const override;
	void AdvanceTo(double Seconds) override;
	void SeekTo(double Seconds) override;
	double GetFrameTime() const override;
	bool GetFrame(TArray<FColor>& OutPixels, FIntPoint& OutSize) const override;
	double GetAudioStart() const override;
	double GetAudioEnd() const override;
	void GetAudioSample(double Seconds, float& OutLeft, float& OutRight) const override;

private:
	std::unique_ptr<FHeadlessMediaDecoderState> State = std::make_unique<FHeadlessMediaDecoderState>();
};

extern "C" DLLEXPORT IHeadlessMediaDecoderBackend* OpenHeadlessMediaDecoderBackend(const FString& FilePath,
                                                                                   FString& OutError)
{
	return FHeadlessMediaDecoderFFmpeg::Open(FilePath, OutError);
}

IHeadlessMediaDecoderBackend* FHeadlessMediaDecoderFFmpeg::Open(const FString& FilePath, FString& OutError)
{
	QuietFfmpegLog();
	std::unique_ptr<FHeadlessMediaDecoderFFmpeg> Decoder(new FHeadlessMediaDecoderFFmpeg());
	FHeadlessMediaDecoderState& S = *Decoder->State;

	AVDictionary* Options = nullptr;
	av_dict_set_int(&Options, "probesize", ProbeBytes, 0);
	av_dict_set_int(&Options, "analyzeduration", AnalyzeMicroseconds, 0);
	const int OpenResult = avformat_open_input(&S.Format, TCHAR_TO_UTF8(*FilePath), nullptr, &Options);
	av_dict_free(&Options);
	if (OpenResult < 0)
	{
		OutError = FString::Printf(TEXT("not a media file that can be read (%s)"), *AvError(OpenResult));
		return nullptr;
	}
	const int InfoResult = avformat_find_stream_info(S.Format, nullptr);
	if (InfoResult < 0)
	{
		OutError = FString::Printf(TEXT("its streams cannot be read (%s)"), *AvError(InfoResult));
		return nullptr;
	}
	S.VideoStream = av_find_best_stream(S.Format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
	if (S.VideoStream < 0)
	{
		OutError = TEXT("it has no video track that can be decoded");
		return nullptr;
	}
	AVStream* Video = S.Format->streams[S.VideoStream];
	const AVCodecParameters* VideoParameters = Video->codecpar;
	if (VideoParameters->width <= 0 || VideoParameters->height <= 0 ||
	    VideoParameters->width > FHeadlessMediaDecoder::MaxDimension ||
	    VideoParameters->height > FHeadlessMediaDecoder::MaxDimension)
	{
		OutError =
		    FString::Printf(TEXT("its picture size %d x %d is not 1 to %d pixels a side"), VideoParameters->width,
		                    VideoParameters->height, FHeadlessMediaDecoder::MaxDimension);
		return nullptr;
	}
	if (!S.OpenCodec(S.VideoStream, S.Video))
	{
		OutError = FString::Printf(TEXT("its video (%s) has no decoder"),
		                           UTF8_TO_TCHAR(avcodec_get_name(VideoParameters->codec_id)));
		return nullptr;
	}
	S.Dimensions = FIntPoint(VideoParameters->width, VideoParameters->height);

	S.StartSeconds = S.Format->start_time != AV_NOPTS_VALUE ? double(S.Format->start_time) / AV_TIME_BASE : 0.0;
	if (!std::isfinite(S.StartSeconds) || std::fabs(S.StartSeconds) > FHeadlessMediaDecoder::MaxDurationSeconds)
	{
		S.StartSeconds = 0.0;
	}
	double Duration = -1.0;
	if (S.Format->duration != AV_NOPTS_VALUE && S.Format->duration > 0)
	{
		Duration = double(S.Format->duration) / AV_TIME_BASE;
	}
	else if (Video->duration != AV_NOPTS_VALUE && Video->duration > 0)
	{
		Duration = double(Video->duration) * av_q2d(Video->time_base);
	}
	if (!(Duration > 0.0))
	{
		OutError = TEXT("it states no length");
		return nullptr;
	}
	if (!(Duration <= FHeadlessMediaDecoder::MaxDurationSeconds))
	{
		OutError = FString::Printf(TEXT("its stated length of %.0f seconds is beyond a day"), Duration);
		return nullptr;
	}
	S.Duration = Duration;
	const AVRational Rate = av_guess_frame_rate(S.Format, Video, nullptr);
	S.FrameRate = Rate.num > 0 && Rate.den > 0 ? float(av_q2d(Rate)) : 0.0f;
	if (!(S.FrameRate > 0.0f && S.FrameRate <= 1000.0f))
	{
		S.FrameRate = 25.0f;
	}

	S.AudioStream = av_find_best_stream(S.Format, AVMEDIA_TYPE_AUDIO, -1, S.VideoStream, nullptr, 0);
	if (S.AudioStream >= 0 && S.OpenCodec(S.AudioStream, S.Audio) && S.Audio->ch_layout.nb_channels > 0 &&
	    S.Audio->sample_rate > 0)
	{
		AVChannelLayout Stereo = AV_CHANNEL_LAYOUT_STEREO;
		if (swr_alloc_set_opts2(&S.Resampler, &Stereo, AV_SAMPLE_FMT_FLT, FHeadlessMediaDecoder::SampleRate,
		                        &S.Audio->ch_layout, S.Audio->sample_fmt, S.Audio->sample_rate, 0, nullptr) < 0 ||
		    swr_init(S.Resampler) < 0)
		{
			swr_free(&S.Resampler);
			avcodec_free_context(&S.Audio);
		}
	}
	else
	{
		// A sound track without a decoder leaves the video silent rather than refusing it.
		avcodec_free_context(&S.Audio);
	}
	if (!S.Audio)
	{
		S.AudioStream = -1;
	}
	// Only the chosen tracks are read.
	for (unsigned Index = 0; Index < S.Format->nb_streams; ++Index)
	{
		if (int(Index) != S.VideoStream && int(Index) != S.AudioStream)
		{
			S.Format->streams[Index]->discard = AVDISCARD_ALL;
		}
	}

	S.Packet = av_packet_alloc();
	S.Decoded = av_frame_alloc();
	S.Current = av_frame_alloc();
	if (!S.Packet || !S.Decoded || !S.Current)
	{
		OutError = TEXT("out of memory");
		return nullptr;
	}
	S.AdvanceTo(0.0);
	if (!S.bHasCurrent)
	{
		OutError = TEXT("its video track gives no picture");
		return nullptr;
	}
	// A file cut short still states its whole length; its last second tells. One key frame's worth of decoding.
	const double VideoEnd = Video->duration != AV_NOPTS_VALUE && Video->duration > 0
	                            ? FMath::Min(double(Video->duration) * av_q2d(Video->time_base), Duration)
	                            : Duration;
	S.SeekTo(FMath::Max(VideoEnd - 0.5, 0.0));
	S.AdvanceTo(VideoEnd);
	if (S.bReadError || !S.bHasCurrent || S.CurrentTime < VideoEnd - 1.0)
	{
		OutError = FString::Printf(TEXT("its pictures break off before the %.2f s it states (cut short or damaged)"),
		                           VideoEnd);
		return nullptr;
	}
	S.SeekTo(0.0);
	return Decoder.release();
}

double FHeadlessMediaDecoderFFmpeg::GetDuration() const
{
	return State->Duration;
}

float FHeadlessMediaDecoderFFmpeg::GetFrameRate() const
{
	return State->FrameRate;
}

FIntPoint FHeadlessMediaDecoderFFmpeg::GetDimensions() const
{
	return State->Dimensions;
}

bool FHeadlessMediaDecoderFFmpeg::HasAudio() const
{
	return State->Audio != nullptr;
}

void FHeadlessMediaDecoderFFmpeg::AdvanceTo(double Seconds)
{
	if (Seconds < State->CurrentTime)
	{
		SeekTo(Seconds);
		return;
	}
	State->AdvanceTo(Seconds);
}

void FHeadlessMediaDecoderFFmpeg::SeekTo(double Seconds)
{
	State->SeekTo(FMath::Clamp(Seconds, 0.0, State->Duration));
}

double FHeadlessMediaDecoderFFmpeg::GetFrameTime() const
{
	return State->bHasCurrent ? State->CurrentTime : -1.0;
}

bool FHeadlessMediaDecoderFFmpeg::GetFrame(TArray<FColor>& OutPixels, FIntPoint& OutSize) const
{
	FHeadlessMediaDecoderState& S = *State;
	if (!S.bHasCurrent)
	{
		return false;
	}
	const AVFrame* Frame = S.Current;
	S.Scaler = sws_getCachedContext(S.Scaler, Frame->width, Frame->height, AVPixelFormat(Frame->format), Frame->width,
	                                Frame->height, AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
	if (!S.Scaler)
	{
		S.bHasCurrent = false;
		return false;
	}
	OutPixels.SetNum(Frame->width * Frame->height);
	uint8* Destination[4] = {reinterpret_cast<uint8*>(OutPixels.GetData()), nullptr, nullptr, nullptr};
	const int Stride[4] = {Frame->width * 4, 0, 0, 0};
	if (sws_scale(S.Scaler, Frame->data, Frame->linesize, 0, Frame->height, Destination, Stride) != Frame->height)
	{
		// A frame that decoded but does not convert is no picture: there is no current frame from here on.
		S.bHasCurrent = false;
		return false;
	}
	OutSize = FIntPoint(Frame->width, Frame->height);
	return true;
}

double FHeadlessMediaDecoderFFmpeg::GetAudioStart() const
{
	return State->AudioStart;
}

double FHeadlessMediaDecoderFFmpeg::GetAudioEnd() const
{
	return State->AudioSamples.IsEmpty() ? State->AudioStart : State->AudioEnd();
}

void FHeadlessMediaDecoderFFmpeg::GetAudioSample(double Seconds, float& OutLeft, float& OutRight) const
{
	const FHeadlessMediaDecoderState& S = *State;
	const double Offset = (Seconds - S.AudioStart) * FHeadlessMediaDecoder::SampleRate;
	const int32 Count = S.AudioSamples.Num() / 2;
	// Compared as a double first: a time far outside the span must not overflow the index.
	if (!(Offset >= -0.5 && Offset < double(Count) - 0.5))
	{
		OutLeft = 0.0f;
		OutRight = 0.0f;
		return;
	}
	const int32 Index = int32(Offset + 0.5);
	OutLeft = S.AudioSamples[Index * 2];
	OutRight = S.AudioSamples[Index * 2 + 1];
}
