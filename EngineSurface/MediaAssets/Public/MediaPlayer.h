#pragma once

#include "CoreMinimal.h"
#include "Math/IntPoint.h"
#include "UObject/Object.h"

#include <memory>

#include "MediaPlayer.generated.h"

class FHeadlessMediaDecoder;
class UMediaPlaylist;
class UMediaSource;

DECLARE_DYNAMIC_MULTICAST_DELEGATE(FOnMediaPlayerMediaEvent);
DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FOnMediaPlayerMediaOpened, FString, OpenedUrl);
DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FOnMediaPlayerMediaOpenFailed, FString, FailedUrl);

// Plays one media source at a time. A local file is decoded (FHeadlessMediaDecoder, FFmpeg's libraries): its
// length and frame rate are the file's, the frame at the play head is what a media texture bound to the player
// shows, and its sound is what a media sound component bound to it plays. A source with a registered description
// (see FMediaSourceRegistry; every network URL needs one) is not decoded: the description says how long it is,
// whether it seeks and how fast it buffers, and it shows no picture and makes no sound. The clock advances in the
// application's Media phase at the playback rate.
//
// Everything that the engine reports asynchronously happens in the Media phase: opening completes there
// (OnMediaOpened or OnMediaOpenFailed), seeks complete there (OnSeekCompleted) and the events of rate changes
// (OnPlaybackResumed, OnPlaybackSuspended) are raised there, in the order the calls were made. Handlers may
// call back into the player; events of a source that was closed meanwhile are dropped.
//
// States: closed; preparing (opening); paused (opened and not playing, also right after opening without
// PlayOnOpen); playing; stopped (the end was reached without Loop).
UCLASS()
class MEDIAASSETS_API UMediaPlayer : public UObject
{
	GENERATED_BODY()

public:
	UMediaPlayer();
	~UMediaPlayer() override;

	// Opens a URL: a local path (absolute, or relative to the project's Content folder) or a URL whose scheme
	// CanPlayUrl accepts. Returns whether opening started; a missing local file does not start.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool OpenUrl(const FString& Url);

	// Opens a local file; returns whether opening started (false when the file does not exist).
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool OpenFile(const FString& FilePath);

	// Closes the current media and opens MediaSource; returns whether opening started.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool OpenSource(UMediaSource* MediaSource);

	// Makes InPlaylist the player's playlist and opens its entry Index; false (and nothing changes) when the
	// playlist is null or has no such entry.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool OpenPlaylistIndex(UMediaPlaylist* InPlaylist, int32 Index);

	// True for local paths and for the schemes file://, http://, https:// and rtsp:// (letter case ignored).
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool CanPlayUrl(const FString& Url);

	// Closes the open source at once; pending events of it are dropped. The playlist and its index stay.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	void Close();

	// SetRate(1.0). From the stopped state playback starts again at the beginning.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool Play();

	// SetRate(0.0).
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool Pause();

	// Seek(0).
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool Rewind();

	// Starts a seek to Time (clamped to the duration); the position jumps when it completes, with
	// OnSeekCompleted: in a later Media phase, or, as the engine allows, before Seek returns (a source described
	// so). A seek issued before the previous one completed replaces it (one event). False while nothing is open
	// or the source cannot seek.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool Seek(const FTimespan& Time);

	// Playback rate: 0 pauses (OnPlaybackSuspended when it was playing), a positive rate up to 16 plays at that
	// speed (OnPlaybackResumed when it was not playing). Reverse play is not supported. Returns whether the
	// rate was applied; false while nothing is open.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool SetRate(float Rate);

	// Output volume of the player itself, clamped to 0..1; false while nothing is open.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool SetNativeVolume(float Volume);

	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	float GetRate() const;

	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool IsPlaying() const;

	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool IsPaused() const;

	// Opening, or buffering because playback caught up with the cached data.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool IsPreparing() const;

	// Opened, without error (also while buffering).
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool IsReady() const;

	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool IsClosed() const;

	// Playing and able to pause.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool CanPause() const;

	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	bool SupportsSeeking() const;

	// The playback position; zero while nothing is open.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	FTimespan GetTime() const;

	// The length of the open source; zero while nothing is open.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	FTimespan GetDuration() const;

	// The URL of the open (or opening) source; empty when closed.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	const FString& GetUrl() const;

	// The player's playlist, made (empty) when it has none.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	UMediaPlaylist* GetPlaylist();

	// The playlist entry that was opened last; INDEX_NONE when the open source did not come from the playlist.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	int32 GetPlaylistIndex() const;

	// Frames per second of the video track (the player has one at most: INDEX_NONE or 0 name it, as do the format
	// indices); zero while nothing decoded is open.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	float GetVideoTrackFrameRate(int32 TrackIndex, int32 FormatIndex) const;

	// Width and height of the video track's pictures in pixels; zero while nothing decoded is open.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlayer")
	FIntPoint GetVideoTrackDimensions(int32 TrackIndex, int32 FormatIndex) const;

	// Starts playback once opening completes (after OnMediaOpened).
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Playback")
	bool PlayOnOpen = true;

	// At the end, starts again from the beginning instead of stopping; no OnEndReached is raised then.
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Playback")
	bool Loop = false;

	// How much of the media to keep cached behind the play head: a setting, which the player does not change.
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Caching")
	FTimespan CacheBehind;

	UPROPERTY(BlueprintAssignable, Category = "Media|MediaPlayer")
	FOnMediaPlayerMediaEvent OnEndReached;

	UPROPERTY(BlueprintAssignable, Category = "Media|MediaPlayer")
	FOnMediaPlayerMediaOpened OnMediaOpened;

	UPROPERTY(BlueprintAssignable, Category = "Media|MediaPlayer")
	FOnMediaPlayerMediaOpenFailed OnMediaOpenFailed;

	UPROPERTY(BlueprintAssignable, Category = "Media|MediaPlayer")
	FOnMediaPlayerMediaEvent OnPlaybackResumed;

	UPROPERTY(BlueprintAssignable, Category = "Media|MediaPlayer")
	FOnMediaPlayerMediaEvent OnPlaybackSuspended;

	UPROPERTY(BlueprintAssignable, Category = "Media|MediaPlayer")
	FOnMediaPlayerMediaEvent OnSeekCompleted;

private:
	friend class FHeadlessMediaClock;
	friend class FHeadlessMediaCache;
	friend class UMediaTexture;
	friend class UMediaSoundComponent;

	// The frame at the play head, as a media texture shows it; false (nothing written) while there is none.
	bool ReadShownFrame(TArray<FColor>& OutPixels, FIntPoint& OutSize) const;
	FIntPoint GetShownFrameSize() const;
	// The decoder of the open file; null for a described source or while nothing is open.
	FHeadlessMediaDecoder* GetDecoder() const { return IsReady() ? Decoder.get() : nullptr; }
	// Counts the jumps of the play head (opening, seeks, looping, restarting): a sound component plays no sound
	// across one.
	uint32 GetPlayheadJumps() const { return PlayheadJumps; }
	void UpdateDecoder();

	// Advances the clock by DeltaSeconds of application time and raises the events that fell due.
	void TickPlayer(float DeltaSeconds);
	void BeginDestroy() override;

	enum class EState : uint8
	{
		Closed,
		Preparing,
		Paused,
		Playing,
		Stopped,
	};
	enum class EEvent : uint8
	{
		Opened,
		OpenFailed,
		Resumed,
		Suspended,
		SeekCompleted,
		EndReached,
	};
	struct FQueuedEvent
	{
		EEvent Event;
		uint32 Session;
		FString Url;
	};

	void QueueEvent(EEvent Event, const FString& Url = FString());
	void DispatchEvents();
	void FinishOpening();
	void FinishSeek();
	void AdvanceClock(double DeltaSeconds);
	void AdvanceCache(double DeltaSeconds);

	UPROPERTY()
	TObjectPtr<UMediaPlaylist> Playlist;

	UPROPERTY()
	TObjectPtr<UMediaSource> CurrentSource;

	int32 PlaylistIndex = INDEX_NONE;

	EState State = EState::Closed;
	FString CurrentUrl;
	uint32 Session = 0;
	TArray<FQueuedEvent> QueuedEvents;
	bool bDispatching = false;

	// What the open source is, from its description.
	double DurationSeconds = 0.0;
	bool bCanSeek = false;
	double CacheRate = 0.0;
	double OpenSeconds = 0.0;
	double SeekSeconds = 0.0;
	bool bSeekCompletesInCall = false;
	bool bFailsToOpen = false;

	std::unique_ptr<FHeadlessMediaDecoder> Decoder;
	uint32 PlayheadJumps = 0;
	// The frame last converted for a texture, by its time stamp, so that painting twice converts once.
	mutable TArray<FColor> ShownPixels;
	mutable FIntPoint ShownSize = FIntPoint(0, 0);
	mutable double ShownFrameTime = -1.0;
	mutable uint32 ShownSession = 0;
	mutable bool bShownValid = false;

	double PositionSeconds = 0.0;
	double CacheStartSeconds = 0.0;
	double CacheEndSeconds = 0.0;
	double OpenElapsed = 0.0;
	float Rate = 0.0f;
	float NativeVolume = 1.0f;

	bool bSeekPending = false;
	double SeekTargetSeconds = 0.0;
	double SeekElapsed = 0.0;
};
