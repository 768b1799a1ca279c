#include "MediaPlayer.h"

#include "FileMediaSource.h"
#include "Headless/HeadlessMediaClock.h"
#include "Headless/HeadlessMediaDecoder.h"
#include "Headless/MediaSourceRegistry.h"
#include "Headless/MediaUrl.h"
#include "MediaPlaylist.h"
#include "StreamMediaSource.h"

DEFINE_LOG_CATEGORY_STATIC(LogMediaPlayer, Log, All);

namespace
{
constexpr float MaxRate = 16.0f;

// What a source is: its registered description, else, for a local file, what its decoder says (opening quickly,
// fully cached). Anything else fails to open, with a warning that says why.
FMediaSourceDescription DescribeSource(const FString& Url, std::unique_ptr<FHeadlessMediaDecoder>& OutDecoder)
{
	if (const FMediaSourceDescription* Registered = FMediaSourceRegistry::Find(Url))
	{
		return *Registered;
	}
	FMediaSourceDescription Description;
	if (!FMediaUrl::IsLocal(Url))
	{
		UE_LOG(LogMediaPlayer, Warning, TEXT("No description for the network media %s; it will not open"), *Url);
		Description.bFailsToOpen = true;
		return Description;
	}
	FString Error;
	OutDecoder = FHeadlessMediaDecoder::Open(FMediaUrl::ToFilePath(Url), Error);
	if (!OutDecoder)
	{
		UE_LOG(LogMediaPlayer, Warning, TEXT("Media file %s cannot be played: %s"), *Url, *Error);
		Description.bFailsToOpen = true;
		return Description;
	}
	Description.Duration = FTimespan::FromSeconds(OutDecoder->GetDuration());
	return Description;
}
} // namespace

UMediaPlayer::UMediaPlayer()
{
	FHeadlessMediaClock::AddPlayer(this);
}

UMediaPlayer::~UMediaPlayer() = default;

bool UMediaPlayer::OpenUrl(const FString& Url)
{
	if (Url.IsEmpty() || !CanPlayUrl(Url))
	{
		return false;
	}
	if (FMediaUrl::IsLocal(Url))
	{
		return OpenFile(Url);
	}
	UStreamMediaSource* Source = NewObject<UStreamMediaSource>(this);
	Source->StreamUrl = Url;
	PlaylistIndex = INDEX_NONE;
	return OpenSource(Source);
}

bool UMediaPlayer::OpenFile(const FString& FilePath)
{
	UFileMediaSource* Source = NewObject<UFileMediaSource>(this);
	Source->SetFilePath(FilePath);
	if (!Source->Validate())
	{
		return false;
	}
	PlaylistIndex = INDEX_NONE;
	return OpenSource(Source);
}

bool UMediaPlayer::OpenSource(UMediaSource* MediaSource)
{
	if (!MediaSource || !MediaSource->Validate())
	{
		return false;
	}
	Close();
	const FMediaSourceDescription Description = DescribeSource(MediaSource->GetUrl(), Decoder);
	CurrentSource = MediaSource;
	CurrentUrl = MediaSource->GetUrl();
	State = EState::Preparing;
	DurationSeconds = FMath::Max(Description.Duration.GetTotalSeconds(), 0.0);
	bCanSeek = Description.bCanSeek;
	CacheRate = Description.CacheRate;
	OpenSeconds = Description.OpenSeconds;
	SeekSeconds = Description.SeekSeconds;
	bSeekCompletesInCall = Description.bSeekCompletesInCall;
	bFailsToOpen = Description.bFailsToOpen;
	return true;
}

bool UMediaPlayer::OpenPlaylistIndex(UMediaPlaylist* InPlaylist, int32 Index)
{
	if (!InPlaylist)
	{
		return false;
	}
	UMediaSource* Source = InPlaylist->Get(Index);
	if (!Source)
	{
		return false;
	}
	Playlist = InPlaylist;
	if (!OpenSource(Source))
	{
		return false;
	}
	PlaylistIndex = Index;
	return true;
}

bool UMediaPlayer::CanPlayUrl(const FString& Url)
{
	return FMediaUrl::IsPlayable(Url);
}

void UMediaPlayer::Close()
{
	// A new session makes the events still queued for the old source stale.
	++Session;
	State = EState::Closed;
	CurrentSource = nullptr;
	CurrentUrl.Empty();
	DurationSeconds = 0.0;
	bCanSeek = false;
	PositionSeconds = 0.0;
	CacheStartSeconds = 0.0;
	CacheEndSeconds = 0.0;
	OpenElapsed = 0.0;
	Rate = 0.0f;
	bSeekPending = false;
	Decoder.reset();
	++PlayheadJumps;
}

bool UMediaPlayer::Play()
{
	return SetRate(1.0f);
}

bool UMediaPlayer::Pause()
{
	return SetRate(0.0f);
}

bool UMediaPlayer::Rewind()
{
	return Seek(FTimespan::Zero());
}

bool UMediaPlayer::Seek(const FTimespan& Time)
{
	if (!IsReady() || !bCanSeek)
	{
		return false;
	}
	bSeekPending = true;
	SeekTargetSeconds = FMath::Clamp(Time.GetTotalSeconds(), 0.0, DurationSeconds);
	SeekElapsed = 0.0;
	if (bSeekCompletesInCall)
	{
		FinishSeek();
		DispatchEvents();
	}
	return true;
}

bool UMediaPlayer::SetRate(float NewRate)
{
	if (!IsReady() || NewRate < 0.0f || NewRate > MaxRate)
	{
		return false;
	}
	if (NewRate == 0.0f)
	{
		if (State == EState::Playing)
		{
			State = EState::Paused;
			QueueEvent(EEvent::Suspended);
		}
	}
	else if (State != EState::Playing)
	{
		if (State == EState::Stopped)
		{
			PositionSeconds = 0.0;
			++PlayheadJumps;
			UpdateDecoder();
		}
		State = EState::Playing;
		QueueEvent(EEvent::Resumed);
	}
	Rate = NewRate;
	return true;
}

bool UMediaPlayer::SetNativeVolume(float Volume)
{
	if (!IsReady())
	{
		return false;
	}
	NativeVolume = FMath::Clamp(Volume, 0.0f, 1.0f);
	return true;
}

float UMediaPlayer::GetRate() const
{
	return State == EState::Playing ? Rate : 0.0f;
}

bool UMediaPlayer::IsPlaying() const
{
	return State == EState::Playing;
}

bool UMediaPlayer::IsPaused() const
{
	return State == EState::Paused;
}

bool UMediaPlayer::IsPreparing() const
{
	const bool bBuffering =
	    State == EState::Playing && PositionSeconds >= CacheEndSeconds && CacheEndSeconds < DurationSeconds;
	return State == EState::Preparing || bBuffering;
}

bool UMediaPlayer::IsReady() const
{
	return State == EState::Paused || State == EState::Playing || State == EState::Stopped;
}

bool UMediaPlayer::IsClosed() const
{
	return State == EState::Closed;
}

bool UMediaPlayer::CanPause() const
{
	return State == EState::Playing;
}

bool UMediaPlayer::SupportsSeeking() const
{
	return IsReady() && bCanSeek;
}

FTimespan UMediaPlayer::GetTime() const
{
	return IsReady() ? FTimespan::FromSeconds(PositionSeconds) : FTimespan::Zero();
}

FTimespan UMediaPlayer::GetDuration() const
{
	return IsReady() ? FTimespan::FromSeconds(DurationSeconds) : FTimespan::Zero();
}

const FString& UMediaPlayer::GetUrl() const
{
	return CurrentUrl;
}

UMediaPlaylist* UMediaPlayer::GetPlaylist()
{
	if (!Playlist)
	{
		Playlist = NewObject<UMediaPlaylist>(this);
	}
	return Playlist;
}

int32 UMediaPlayer::GetPlaylistIndex() const
{
	return PlaylistIndex;
}

float UMediaPlayer::GetVideoTrackFrameRate(int32 TrackIndex, int32 FormatIndex) const
{
	const FHeadlessMediaDecoder* Open = GetDecoder();
	const bool bTrack =
	    (TrackIndex == INDEX_NONE || TrackIndex == 0) && (FormatIndex == INDEX_NONE || FormatIndex == 0);
	return Open && bTrack ? Open->GetFrameRate() : 0.0f;
}

FIntPoint UMediaPlayer::GetVideoTrackDimensions(int32 TrackIndex, int32 FormatIndex) const
{
	const FHeadlessMediaDecoder* Open = GetDecoder();
	const bool bTrack =
	    (TrackIndex == INDEX_NONE || TrackIndex == 0) && (FormatIndex == INDEX_NONE || FormatIndex == 0);
	return Open && bTrack ? Open->GetDimensions() : FIntPoint(0, 0);
}

bool UMediaPlayer::ReadShownFrame(TArray<FColor>& OutPixels, FIntPoint& OutSize) const
{
	const FHeadlessMediaDecoder* Open = GetDecoder();
	if (!Open || Open->GetFrameTime() < 0.0)
	{
		return false;
	}
	if (!bShownValid || ShownSession != Session || ShownFrameTime != Open->GetFrameTime())
	{
		bShownValid = Open->GetFrame(ShownPixels, ShownSize);
		if (!bShownValid)
		{
			return false;
		}
		ShownSession = Session;
		ShownFrameTime = Open->GetFrameTime();
	}
	OutPixels = ShownPixels;
	OutSize = ShownSize;
	return true;
}

FIntPoint UMediaPlayer::GetShownFrameSize() const
{
	const FHeadlessMediaDecoder* Open = GetDecoder();
	return Open && Open->GetFrameTime() >= 0.0 ? Open->GetDimensions() : FIntPoint(0, 0);
}

void UMediaPlayer::UpdateDecoder()
{
	if (Decoder && IsReady())
	{
		// The time the player reports, whole ticks: the frame shown is the frame at GetTime.
		Decoder->AdvanceTo(GetTime().GetTotalSeconds());
	}
}

void UMediaPlayer::TickPlayer(float DeltaSeconds)
{
	const double Delta = FMath::Max(double(DeltaSeconds), 0.0);
	if (State == EState::Preparing)
	{
		OpenElapsed += Delta;
		if (OpenElapsed >= OpenSeconds)
		{
			FinishOpening();
		}
	}
	else if (IsReady())
	{
		AdvanceCache(Delta);
		if (bSeekPending)
		{
			SeekElapsed += Delta;
			if (SeekElapsed >= SeekSeconds)
			{
				FinishSeek();
			}
		}
		else
		{
			AdvanceClock(Delta);
		}
		UpdateDecoder();
	}
	DispatchEvents();
}

void UMediaPlayer::FinishOpening()
{
	if (bFailsToOpen)
	{
		const FString FailedUrl = CurrentUrl;
		Close();
		QueueEvent(EEvent::OpenFailed, FailedUrl);
		return;
	}
	State = EState::Paused;
	PositionSeconds = 0.0;
	++PlayheadJumps;
	CacheStartSeconds = 0.0;
	// Buffering starts with opening, so a slow open has some media ready when it completes.
	CacheEndSeconds = CacheRate > 0.0 ? FMath::Min(OpenElapsed * CacheRate, DurationSeconds) : DurationSeconds;
	QueueEvent(EEvent::Opened, CurrentUrl);
}

void UMediaPlayer::FinishSeek()
{
	bSeekPending = false;
	const bool bInCache = SeekTargetSeconds >= CacheStartSeconds && SeekTargetSeconds <= CacheEndSeconds;
	if (!bInCache)
	{
		CacheStartSeconds = SeekTargetSeconds;
		CacheEndSeconds = SeekTargetSeconds;
	}
	PositionSeconds = SeekTargetSeconds;
	++PlayheadJumps;
	if (Decoder)
	{
		// From the key frame before the target, as a seek of the engine's players lands on the requested time.
		Decoder->SeekTo(GetTime().GetTotalSeconds());
	}
	if (State == EState::Stopped && PositionSeconds < DurationSeconds)
	{
		// Seeking away from the end makes the stopped player resumable without starting over.
		State = EState::Paused;
	}
	QueueEvent(EEvent::SeekCompleted);
}

void UMediaPlayer::AdvanceCache(double DeltaSeconds)
{
	if (CacheRate > 0.0)
	{
		CacheEndSeconds = FMath::Min(CacheEndSeconds + DeltaSeconds * CacheRate, DurationSeconds);
	}
}

void UMediaPlayer::AdvanceClock(double DeltaSeconds)
{
	if (State != EState::Playing)
	{
		return;
	}
	// Playback waits at the end of the buffered data until more arrives.
	const double Limit = CacheEndSeconds < DurationSeconds ? CacheEndSeconds : DurationSeconds;
	const double Next = PositionSeconds + DeltaSeconds * Rate;
	if (Next < DurationSeconds || Limit < DurationSeconds)
	{
		PositionSeconds = FMath::Min(Next, Limit);
		return;
	}
	if (Loop && DurationSeconds > 0.0)
	{
		PositionSeconds = FMath::Fmod(Next, DurationSeconds);
		CacheStartSeconds = 0.0;
		++PlayheadJumps;
		return;
	}
	PositionSeconds = DurationSeconds;
	State = EState::Stopped;
	Rate = 0.0f;
	QueueEvent(EEvent::EndReached);
}

void UMediaPlayer::QueueEvent(EEvent Event, const FString& Url)
{
	QueuedEvents.Add(FQueuedEvent{Event, Session, Url});
}

void UMediaPlayer::DispatchEvents()
{
	// A handler that calls back into the player may queue more events; they are raised in this same loop,
	// after the ones already queued, and not by a nested dispatch.
	if (bDispatching)
	{
		return;
	}
	bDispatching = true;
	while (!QueuedEvents.IsEmpty())
	{
		const FQueuedEvent Queued = QueuedEvents[0];
		QueuedEvents.RemoveAt(0);
		if (Queued.Session != Session)
		{
			continue;
		}
		switch (Queued.Event)
		{
			case EEvent::Opened:
				OnMediaOpened.Broadcast(Queued.Url);
				if (PlayOnOpen && Queued.Session == Session)
				{
					Play();
				}
				break;
			case EEvent::OpenFailed:
				OnMediaOpenFailed.Broadcast(Queued.Url);
				break;
			case EEvent::Resumed:
				OnPlaybackResumed.Broadcast();
				break;
			case EEvent::Suspended:
				OnPlaybackSuspended.Broadcast();
				break;
			case EEvent::SeekCompleted:
				OnSeekCompleted.Broadcast();
				break;
			case EEvent::EndReached:
				OnEndReached.Broadcast();
				break;
		}
	}
	bDispatching = false;
}

void UMediaPlayer::BeginDestroy()
{
	Close();
	QueuedEvents.Empty();
	Super::BeginDestroy();
}
