#include "UI_PravellaSystem.h"

#include "Animation/WidgetAnimation.h"
#include "Components/AudioComponent.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/PanelWidget.h"
#include "Engine/Engine.h"
#include "FileMediaSource.h"
#include "MediaPlayer.h"
#include "MediaPlaylist.h"
#include "MediaSoundComponent.h"
#include "MediaSource.h"
#include "Video/UI_FullScreenPlaceholder.h"

#define LOCTEXT_NAMESPACE "UUI_PravellaSystem"

namespace
{
constexpr float BarHideSeconds = 5.0f;

// Slider and cache-bar fractions; nothing open (a zero duration) shows as 0.
float Fraction(int64 Part, int64 Whole)
{
	return Whole > 0 ? static_cast<float>(static_cast<double>(Part) / static_cast<double>(Whole)) : 0.0f;
}
} // namespace

UUI_PravellaSystem::UUI_PravellaSystem(const FObjectInitializer& ObjectInitializer) : Super(ObjectInitializer) {}

// UUserWidget

void UUI_PravellaSystem::NativeConstruct()
{
	Super::NativeConstruct();

	ImageVideo->SetBrushFromMaterial(MediaPlayerMat);
	if (MediaPlayer)
	{
		BindMediaPlayer();
		Danmaku->Init(MediaPlayer, DanmakuBar, DanmakuNodeSetting);
	}
	else if (GEngine)
	{
		GEngine->AddOnScreenDebugMessage(
		    -1, 10.0f, FColor::Red,
		    FString::Printf(TEXT("%s.MediaPlayer=NULL,Please check whether the instance is assigned a value."),
		                    *GetName()));
	}

	// A player rebuilt while fullscreen stays fullscreen; only the first construction sets it embedded.
	if (!bTypeSet)
	{
		SetPravellaType(EPravellaType::Embedded);
	}
	ScreenButton->SetIsChecked(CurrentPravellaType == EPravellaType::FullScreen);

	// Construction runs again each time the player goes on screen: every handler is bound once.
	PreviousButton->OnClicked.AddUniqueDynamic(this, &UUI_PravellaSystem::Previous);
	NestButton->OnClicked.AddUniqueDynamic(this, &UUI_PravellaSystem::Next);
	OpenBarAnimation = GetNameWidgetAnimation(OpenBarAnimationName);
	CloseBarAnimation = GetNameWidgetAnimation(CloseBarAnimationName);
	ComboResolution->OnSelectionChanged.AddUniqueDynamic(this, &UUI_PravellaSystem::Resolution);
	ComboPlaySpeed->OnSelectionChanged.AddUniqueDynamic(this, &UUI_PravellaSystem::PlaySpeed);
	ReplayButton->OnClicked.AddUniqueDynamic(this, &UUI_PravellaSystem::Replay);
	PauseButton->OnClicked.AddUniqueDynamic(this, &UUI_PravellaSystem::OnPauseClicked);
	MovieProgress->OnMouseCaptureBegin.AddUniqueDynamic(this, &UUI_PravellaSystem::OnMediaProgressMouseCaptureBegin);
	MovieProgress->OnMouseCaptureEnd.AddUniqueDynamic(this, &UUI_PravellaSystem::OnMediaProgressMouseCaptureEnd);
	MovieProgress->OnValueChanged.AddUniqueDynamic(this, &UUI_PravellaSystem::OnMediaProgressValueChanged);
	SuspendButton->OnCheckStateChanged.AddUniqueDynamic(this, &UUI_PravellaSystem::ClickedCheckBox);
	ScreenButton->OnCheckStateChanged.AddUniqueDynamic(this, &UUI_PravellaSystem::ClickedCheckBoxScreen);

	VolumeButton->SetParent(this);
	// The mute box starts as the designer left it, and the sound follows it; unmuting restores the level the sound
	// had. A player rebuilt while muted is silent already and keeps the level to restore it had.
	if (VolumeButton->IsMuted())
	{
		if (GetVolumeMultiplier() > 0.0f)
		{
			VolumeButton->SetSavedVolumeMultiplier(GetVolumeMultiplier());
		}
		ClickedCheckBoxVolume(true);
		SetVolumeMultiplier(0.0f);
	}
	VolumeProgress->SetParent(this);
	// The slider shows the level the viewer set, which is the one unmuting restores.
	VolumeProgress->SetChangedVolumeValue(VolumeButton->IsMuted() ? VolumeButton->GetSavedVolumeMultiplier()
	                                                              : GetVolumeMultiplier());

	if (!bShowUI)
	{
		PlayBarAnimation(CloseBarAnimation);
		bBarOpen = false;
	}
	MediaProgressValueFloat->SetVisibility(ESlateVisibility::Hidden);
	// Hiding the volume panel closes it, so that the next hover can open it again.
	VolumeProgress->SetVisibility(ESlateVisibility::Hidden);
	bVolumeBoardOpen = false;
	if (MediaPlayer)
	{
		ShowPlaybackState(MediaPlayer->IsPaused());
	}
}

void UUI_PravellaSystem::NativeDestruct()
{
	// The player's own move to or from fullscreen keeps the lesson going: same source, bindings and sound.
	if (bMovingForFullScreen)
	{
		UUserWidget::NativeDestruct();
		return;
	}
	UnbindMediaPlayer();
	StopSound();
	if (MediaSoundComponent && MediaSoundComponent->IsRegistered())
	{
		MediaSoundComponent->UnregisterComponent();
	}
	bOpening = false;
	DropPendingState();
	Super::NativeDestruct();
}

void UUI_PravellaSystem::NativeTick(const FGeometry& MyGeometry, float InDeltaTime)
{
	Super::NativeTick(MyGeometry, InDeltaTime);
	if (bFullScreenPanelRemoved)
	{
		bFullScreenPanelRemoved = false;
		SetPravellaType(EPravellaType::Embedded);
		ReturnToPanel(false);
		return;
	}

	if (MediaPlayer)
	{
		const int64 Duration = MediaPlayer->GetDuration().GetTicks();
		const FTimespan Time = MediaPlayer->GetTime();
		if (!bProgressCaptured)
		{
			MovieProgress->SetValue(Fraction(Time.GetTicks(), Duration));
		}
		VideoCacheLoading->SetPercent(Fraction(MediaPlayer->CacheBehind.GetTicks(), Duration));
		const FTimespan Length = MediaPlayer->GetDuration();
		const int64 TimeSeconds = Time.GetTicks() / ETimespan::TicksPerSecond;
		const int64 LengthSeconds = Length.GetTicks() / ETimespan::TicksPerSecond;
		if (TimeSeconds != ShownTimeSeconds || LengthSeconds != ShownLengthSeconds)
		{
			ShownTimeSeconds = TimeSeconds;
			ShownLengthSeconds = LengthSeconds;
			PlayTimeText->SetText(FText::FromString(
			    FString::Printf(TEXT("%02d:%02d:%02d/%02d:%02d:%02d"), Time.GetHours(), Time.GetMinutes(),
			                    Time.GetSeconds(), Length.GetHours(), Length.GetMinutes(), Length.GetSeconds())));
		}
	}

	if (!bShowUI)
	{
		return;
	}
	if (BarHideCountdown > 0.0f)
	{
		BarHideCountdown -= InDeltaTime;
		bBarOpen = true;
	}
	else if (bBarOpen)
	{
		PlayBarAnimation(CloseBarAnimation);
		bBarOpen = false;
	}
}

FReply UUI_PravellaSystem::NativeOnMouseMove(const FGeometry& InGeometry, const FPointerEvent& InMouseEvent)
{
	const FVector2D Delta = InMouseEvent.GetCursorDelta();
	if (bShowUI && (Delta.X != 0.0 || Delta.Y != 0.0))
	{
		if (BarHideCountdown <= 0.0f)
		{
			PlayBarAnimation(OpenBarAnimation);
		}
		BarHideCountdown = BarHideSeconds;
	}
	return Super::NativeOnMouseMove(InGeometry, InMouseEvent);
}

// UUI_ImageVideo

void UUI_PravellaSystem::InitMadia()
{
	Super::InitMadia();
	if (!MediaPlayer)
	{
		return;
	}
	// A widget constructed again keeps the sound output it made the first time, for the media player it has now,
	// and starts it again: its destruction stopped it.
	if (!MediaSoundComponent)
	{
		MediaSoundComponent = NewObject<UMediaSoundComponent>(this);
		MediaSoundComponent->SetVolumeMultiplier(VolumeMultiplier);
	}
	if (!MediaSoundComponent->IsRegistered())
	{
		MediaSoundComponent->RegisterComponentWithWorld(GetWorld());
	}
	if (MediaSoundComponent->GetMediaPlayer() != MediaPlayer)
	{
		MediaSoundComponent->SetMediaPlayer(MediaPlayer);
	}
	if (!MediaSoundComponent->IsPlaying())
	{
		MediaSoundComponent->Start();
	}
}

// --

void UUI_PravellaSystem::BindMediaPlayer()
{
	MediaPlayer->OnEndReached.AddUniqueDynamic(this, &UUI_PravellaSystem::FinshPlayMovie);
	MediaPlayer->OnPlaybackResumed.AddUniqueDynamic(this, &UUI_PravellaSystem::OnPlaybackResumed);
	MediaPlayer->OnPlaybackSuspended.AddUniqueDynamic(this, &UUI_PravellaSystem::OnPlaybackSuspended);
	MediaPlayer->OnMediaOpened.AddUniqueDynamic(this, &UUI_PravellaSystem::OnMediaPlayerOpend);
	MediaPlayer->OnSeekCompleted.AddUniqueDynamic(this, &UUI_PravellaSystem::OnSeekCompleted);
	MediaPlayer->OnMediaOpenFailed.AddUniqueDynamic(this, &UUI_PravellaSystem::OnMediaPlayerOpenFailed);
}

void UUI_PravellaSystem::UnbindMediaPlayer()
{
	if (!MediaPlayer)
	{
		return;
	}
	// Only the player's own handlers: a host's handlers on the same media player stay.
	MediaPlayer->OnEndReached.RemoveDynamic(this, &UUI_PravellaSystem::FinshPlayMovie);
	MediaPlayer->OnPlaybackResumed.RemoveDynamic(this, &UUI_PravellaSystem::OnPlaybackResumed);
	MediaPlayer->OnPlaybackSuspended.RemoveDynamic(this, &UUI_PravellaSystem::OnPlaybackSuspended);
	MediaPlayer->OnMediaOpened.RemoveDynamic(this, &UUI_PravellaSystem::OnMediaPlayerOpend);
	MediaPlayer->OnSeekCompleted.RemoveDynamic(this, &UUI_PravellaSystem::OnSeekCompleted);
	MediaPlayer->OnMediaOpenFailed.RemoveDynamic(this, &UUI_PravellaSystem::OnMediaPlayerOpenFailed);
}

// Opening

void UUI_PravellaSystem::PlayMediaByLocal(const FString& InPath)
{
	if (!MediaPlayer)
	{
		return;
	}
	DropPendingState();
	PlaylistIndex = INDEX_NONE;
	BeginOpening(MediaPlayer->OpenFile(InPath));
}

void UUI_PravellaSystem::PlayMediaByNet(const FString& InURL)
{
	if (!MediaPlayer || !MediaPlayer->CanPlayUrl(InURL))
	{
		return;
	}
	DropPendingState();
	PlaylistIndex = INDEX_NONE;
	BeginOpening(MediaPlayer->OpenUrl(InURL));
}

bool UUI_PravellaSystem::BeginOpening(bool bStarted)
{
	bOpening = bStarted;
	return bStarted;
}

void UUI_PravellaSystem::PlayMedia(const FString& URL, const FTimespan& StartTime)
{
	if (IsNetURL(URL))
	{
		PlayMediaByNet(URL);
	}
	else
	{
		PlayMediaByLocal(URL);
	}
	// A seek is refused until the source has opened; it is made then.
	if (bOpening)
	{
		PendingStartTime = StartTime;
	}
}

bool UUI_PravellaSystem::IsNetURL(const FString& URL)
{
	return URL.Contains(TEXT("https://"), ESearchCase::IgnoreCase) ||
	       URL.Contains(TEXT("http://"), ESearchCase::IgnoreCase) ||
	       URL.Contains(TEXT("ftp://"), ESearchCase::IgnoreCase);
}

void UUI_PravellaSystem::OnMediaPlayerOpenFailed(FString FailedUrl)
{
	bOpening = false;
	DropPendingState();
}

void UUI_PravellaSystem::DropPendingState()
{
	bPauseWhenPrepared = false;
	PendingPlaylistUrl.Empty();
	PendingPlaylistIndex = INDEX_NONE;
	bPendingAnnounce = false;
	PendingStartTime = FTimespan(-1);
	bResumeAfterSeek = false;
}

void UUI_PravellaSystem::SeekAndResume(const FTimespan& Time, bool bRewind)
{
	const bool bOwedBefore = bResumeAfterSeek;
	if (MediaPlayer->IsPaused())
	{
		bResumeAfterSeek = true;
	}
	const bool bStarted = bRewind ? MediaPlayer->Rewind() : MediaPlayer->Seek(Time);
	if (!bStarted)
	{
		bResumeAfterSeek = bOwedBefore;
	}
}

// Pause and resume

void UUI_PravellaSystem::PauseVideo()
{
	if (!MediaPlayer)
	{
		return;
	}
	// Only while the source opens: a pause during buffering pauses at once.
	if (bOpening)
	{
		bPauseWhenPrepared = true;
		return;
	}
	UE_LOG(LogTemp, Display, TEXT("Media player Pause"));
	if (MediaPlayer->CanPause() && MediaPlayer->Pause())
	{
		Danmaku->Pause();
		return;
	}
	ShowPlaybackState(MediaPlayer->IsPaused());
}

void UUI_PravellaSystem::Resume()
{
	if (!MediaPlayer)
	{
		return;
	}
	// At the speed the viewer chose: the media player's Play would go back to the normal speed.
	if (MediaPlayer->IsPaused() && MediaPlayer->SetRate(ChosenRate))
	{
		Danmaku->Resume();
		return;
	}
	ShowPlaybackState(MediaPlayer->IsPaused());
}

void UUI_PravellaSystem::OnPauseClicked()
{
	if (!MediaPlayer)
	{
		ShowPlaybackState(false);
		return;
	}
	if (bOpening)
	{
		ShowPlaybackState(false);
		return;
	}
	if (MediaPlayer->IsPaused())
	{
		Resume();
	}
	else
	{
		PauseVideo();
	}
}

void UUI_PravellaSystem::ClickedCheckBox(bool ClickedWidget)
{
	OnPauseClicked();
}

void UUI_PravellaSystem::OnPlaybackResumed()
{
	if (bPauseWhenPrepared)
	{
		bPauseWhenPrepared = false;
		PauseVideo();
		return;
	}
	// Playback also starts without the viewer's resume, as when the next lesson opens after a pause; the
	// comments run again with it, and the viewer's speed holds.
	if (MediaPlayer && ChosenRate > 0.0f && MediaPlayer->GetRate() != ChosenRate)
	{
		MediaPlayer->SetRate(ChosenRate);
	}
	Danmaku->Resume();
	bProgressCaptured = false;
	ShowPlaybackState(false);
}

void UUI_PravellaSystem::OnPlaybackSuspended()
{
	ShowPlaybackState(true);
}

void UUI_PravellaSystem::ShowPlaybackState(bool bSuspended)
{
	if (bShowUI)
	{
		PauseImage->SetVisibility(bSuspended ? ESlateVisibility::SelfHitTestInvisible : ESlateVisibility::Collapsed);
	}
	SuspendButton->SetIsChecked(bSuspended);
	RefreshSuspendButtonTipText();
}

void UUI_PravellaSystem::RefreshSuspendButtonTipText()
{
	SuspendButton->SetToolTipText(SuspendButton->IsChecked() ? LOCTEXT("Play", "Play") : LOCTEXT("Pause", "Pause"));
}

// Replay, end and close

void UUI_PravellaSystem::Replay()
{
	if (!MediaPlayer || !MediaPlayer->IsReady())
	{
		return;
	}
	SeekAndResume(FTimespan::Zero(), true);
}

void UUI_PravellaSystem::FinshPlayMovie()
{
	if (!MediaPlayer || !MediaPlayer->IsReady())
	{
		return;
	}
	DropPendingState();
	EmptyBulletChat();
	const FString EndedUrl = MediaPlayer->GetUrl();
	// Handlers still see the ended source open, and may open the next lesson or start this one again in place;
	// it is closed only while it is still ended.
	OnFinshPlayMovie.Broadcast();
	if (MediaPlayer && !bOpening && !MediaPlayer->IsPreparing() && !MediaPlayer->IsPlaying() &&
	    MediaPlayer->GetUrl() == EndedUrl)
	{
		MediaPlayer->Close();
	}
}

void UUI_PravellaSystem::CloseVideo()
{
	if (!MediaPlayer)
	{
		return;
	}
	bOpening = false;
	DropPendingState();
	EmptyBulletChat();
	MediaPlayer->Close();
}

bool UUI_PravellaSystem::IsClose() const
{
	return !MediaPlayer || MediaPlayer->IsClosed();
}

void UUI_PravellaSystem::StopSound()
{
	if (MediaSoundComponent && MediaSoundComponent->GetAudioComponent())
	{
		MediaSoundComponent->Stop();
	}
}

// Picture and danmaku

void UUI_PravellaSystem::SetImageVideoBrush(const FString& Path)
{
	if (UMaterial* Material = Cast<UMaterial>(StaticLoadObject(UMaterial::StaticClass(), nullptr, *Path)))
	{
		ImageVideo->SetBrushFromMaterial(Material);
	}
}

void UUI_PravellaSystem::ResetBulletChatDatas(const FString& Json)
{
	Danmaku->LoadDanmaku(Json);
}

void UUI_PravellaSystem::EmptyBulletChat()
{
	Danmaku->Empty();
}

void UUI_PravellaSystem::AddBulletChatDataThenSpawn(const FString& Json, const FString& Url)
{
	if (!MediaPlayer || Url.IsEmpty() || !MediaPlayer->GetUrl().Equals(Url, ESearchCase::IgnoreCase))
	{
		return;
	}
	Danmaku->AddDanmakuThenSpawn(Json);
}

FOnSendDanmakuSignature& UUI_PravellaSystem::GetSendDanmakuDelegate()
{
	return DanmakuBar->OnSendDanmaku;
}

// Playlist

void UUI_PravellaSystem::AddToPlaylist(const FString& Url)
{
	if (!MediaPlayer || Url.IsEmpty())
	{
		return;
	}
	if (!Playlist)
	{
		// Inside the media player it plays in, so that the media player holding it keeps no widget alive.
		Playlist = NewObject<UMediaPlaylist>(MediaPlayer);
	}
	if (IsNetURL(Url))
	{
		Playlist->AddUrl(Url);
	}
	else
	{
		Playlist->AddFile(Url);
	}
}

int32 UUI_PravellaSystem::GetPlaylistNextIndex() const
{
	if (!Playlist || Playlist->Num() < 2)
	{
		return 0;
	}
	const int32 Index = PlaylistIndex + 1;
	return Index >= Playlist->Num() ? 0 : Index;
}

int32 UUI_PravellaSystem::GetPlaylistPreviousIndex() const
{
	if (!Playlist || Playlist->Num() < 2)
	{
		return 0;
	}
	const int32 Index = PlaylistIndex - 1;
	return Index < 0 ? Playlist->Num() - 1 : Index;
}

FString UUI_PravellaSystem::GetPlaylistUrl(int32 Index) const
{
	UMediaSource* Source = Playlist ? Playlist->Get(Index) : nullptr;
	return Source ? Source->GetUrl() : FString();
}

void UUI_PravellaSystem::Next()
{
	MoveInPlaylist(GetPlaylistNextIndex());
}

void UUI_PravellaSystem::Previous()
{
	MoveInPlaylist(GetPlaylistPreviousIndex());
}

void UUI_PravellaSystem::MoveInPlaylist(int32 Index)
{
	// An empty playlist has nowhere to go.
	if (!MediaPlayer || !Playlist || Playlist->Num() == 0)
	{
		return;
	}
	OpenPlaylistIndex(Index, true);
}

void UUI_PravellaSystem::OpenPlaylistUrl(const FString& Url)
{
	if (Url.IsEmpty() || !MediaPlayer || !Playlist)
	{
		return;
	}
	for (int32 Index = 0; Index < Playlist->Num(); ++Index)
	{
		// A local file is named by its path, which its entry holds as a file URL.
		const UFileMediaSource* File = Cast<UFileMediaSource>(Playlist->Get(Index));
		if (GetPlaylistUrl(Index).Equals(Url, ESearchCase::IgnoreCase) ||
		    (File && File->FilePath.Equals(Url, ESearchCase::CaseSensitive)))
		{
			OpenPlaylistIndex(Index, false);
			return;
		}
	}
}

void UUI_PravellaSystem::OpenPlaylistIndex(int32 Index, bool bAnnounce)
{
	// A move while a source opens waits for it to open, and replaces any move that was waiting; the index is kept,
	// so that a playlist holding one URL twice goes to the entry that was asked for.
	if (bOpening)
	{
		PendingPlaylistUrl = GetPlaylistUrl(Index);
		PendingPlaylistIndex = Index;
		bPendingAnnounce = bAnnounce;
		return;
	}
	DropPendingState();
	const FString Url = GetPlaylistUrl(Index);
	if (bAnnounce)
	{
		// The host hands over the new lesson's comments before it opens.
		EmptyBulletChat();
		OnPlaylistUrlChanged.ExecuteIfBound(Url);
	}
	if (BeginOpening(MediaPlayer->OpenPlaylistIndex(Playlist, Index)))
	{
		PlaylistIndex = Index;
	}
}

void UUI_PravellaSystem::OnMediaPlayerOpend(FString OpenedUrl)
{
	bOpening = false;
	if (PendingPlaylistIndex != INDEX_NONE && MediaPlayer)
	{
		const int32 Index = PendingPlaylistIndex;
		OpenPlaylistIndex(Index, bPendingAnnounce);
		return;
	}
	if (PendingStartTime >= FTimespan::Zero() && MediaPlayer)
	{
		const FTimespan StartTime = PendingStartTime;
		PendingStartTime = FTimespan(-1);
		MediaPlayer->Seek(StartTime);
	}
}

void UUI_PravellaSystem::RefreshPreviousAndNextButtons()
{
	const bool bEnabled = MediaPlayer && Playlist && Playlist->Num() > 1;
	PreviousButton->SetIsEnabled(bEnabled);
	NestButton->SetIsEnabled(bEnabled);
}

// Progress

void UUI_PravellaSystem::OnMediaProgressMouseCaptureBegin()
{
	bProgressCaptured = true;
}

void UUI_PravellaSystem::OnMediaProgressValueChanged(float InValue)
{
	if (!MediaPlayer)
	{
		return;
	}
	const int64 Target = static_cast<int64>(static_cast<float>(MediaPlayer->GetDuration().GetTicks()) * InValue);
	FString Text = FTimespan(Target).ToString(TEXT("%h:%m:%s"));
	Text.RemoveFromStart(TEXT("+"));
	MediaProgressValueFloat->SetText(FText::FromString(Text));
	UCanvasPanelSlot* BorderSlot = Cast<UCanvasPanelSlot>(MediaBarBorder->Slot);
	UCanvasPanelSlot* LabelSlot = Cast<UCanvasPanelSlot>(MediaProgressValueFloat->Slot);
	if (BorderSlot && LabelSlot)
	{
		const FVector2D BorderSize = MediaBarBorder->GetCachedGeometry().GetLocalSize();
		LabelSlot->SetPosition(FVector2D(InValue * BorderSize.X, BorderSlot->GetPosition().Y - BorderSize.Y));
	}
}

void UUI_PravellaSystem::OnMediaProgressMouseCaptureEnd()
{
	if (!MediaPlayer)
	{
		bProgressCaptured = false;
		return;
	}
	const float Value = MovieProgress->GetValue();
	if (MediaPlayer->SupportsSeeking())
	{
		const int64 Target = static_cast<int64>(static_cast<float>(MediaPlayer->GetDuration().GetTicks()) * Value);
		SeekAndResume(FTimespan(Target), false);
	}
	bProgressCaptured = false;
}

void UUI_PravellaSystem::OnSeekCompleted()
{
	UE_LOG(LogTemp, Display, TEXT("OnSeekCompleted"));
	if (bResumeAfterSeek)
	{
		bResumeAfterSeek = false;
		Resume();
	}
	Danmaku->Empty();
}

// Control bar, fullscreen, volume, speed and resolution

void UUI_PravellaSystem::SetShowUI(bool bNewShowUI)
{
	bShowUI = bNewShowUI;
}

void UUI_PravellaSystem::PlayBarAnimation(UWidgetAnimation* Animation)
{
	PlayAnimation(Animation, 0.0f, 1, EUMGSequencePlayMode::Forward, 1.0f, false);
}

void UUI_PravellaSystem::SetPravellaType(EPravellaType Type)
{
	// The first type set is where the player starts, no change.
	const bool bChanged = bTypeSet && Type != CurrentPravellaType;
	bTypeSet = true;
	CurrentPravellaType = Type;
	if (Type == EPravellaType::FullScreen || Type == EPravellaType::Embedded)
	{
		ScreenButton->SetIsChecked(Type == EPravellaType::FullScreen);
	}
	if (bChanged)
	{
		OnPravellaTypeChanged.Broadcast(Type == EPravellaType::FullScreen);
	}
}

void UUI_PravellaSystem::ClickedCheckBoxScreen(bool ClickedWidget)
{
	if (CurrentPravellaType == EPravellaType::Embedded)
	{
		UPanelWidget* Parent = GetParent();
		if (!Parent)
		{
			// Nothing to leave: the box shows the real state again.
			ScreenButton->SetIsChecked(false);
			return;
		}
		PanelWidget = Parent;
		UUI_FullScreenPlaceholder* Placeholder = CreateWidget<UUI_FullScreenPlaceholder>(this);
		FullScreenPlaceholder = Placeholder;
		bMovingForFullScreen = true;
		// The placeholder takes the player's own slot, with its layout, whatever kind of panel holds it.
		Parent->ReplaceChild(this, Placeholder);
		Placeholder->SetPlayer(this);
		AddToViewport(99);
		bMovingForFullScreen = false;
		SetPravellaType(EPravellaType::FullScreen);
		return;
	}
	if (CurrentPravellaType != EPravellaType::FullScreen)
	{
		return;
	}
	SetPravellaType(EPravellaType::Embedded);
	if (!PanelWidget)
	{
		return;
	}
	ReturnToPanel(true);
}

void UUI_PravellaSystem::ReturnToPanel(bool bKeepLesson)
{
	UUI_FullScreenPlaceholder* Placeholder = Cast<UUI_FullScreenPlaceholder>(FullScreenPlaceholder);
	FullScreenPlaceholder = nullptr;
	if (Placeholder)
	{
		Placeholder->SetPlayer(nullptr);
	}
	bMovingForFullScreen = bKeepLesson;
	RemoveFromParent();
	// Back into the slot the placeholder kept; a panel that no longer holds the placeholder (its host cleared it)
	// has no place for the player any more.
	if (Placeholder && PanelWidget->HasChild(Placeholder))
	{
		PanelWidget->ReplaceChild(Placeholder, this);
	}
	bMovingForFullScreen = false;
	PanelWidget = nullptr;
}

void UUI_PravellaSystem::OnFullScreenPanelRemoved()
{
	// The panel is being taken down: the player goes back into it on its next frame, not in the middle of that.
	bFullScreenPanelRemoved = CurrentPravellaType == EPravellaType::FullScreen && PanelWidget;
}

void UUI_PravellaSystem::ChangedVolumeValue(float InValue)
{
	if (MediaPlayer)
	{
		MediaPlayer->SetNativeVolume(InValue);
	}
	SetVolumeMultiplier(InValue);
}

void UUI_PravellaSystem::ClickedCheckBoxVolume(bool ClickedWidget)
{
	if (MediaPlayer)
	{
		MediaPlayer->SetNativeVolume(ClickedWidget ? 0.0f : 1.0f);
	}
}

void UUI_PravellaSystem::CloseVolumeAnim()
{
	if (bVolumeBoardOpen)
	{
		PlayVolumeBoardAnimation(CloseVoiceBoardAnimationName, false);
	}
}

void UUI_PravellaSystem::OpenVolumeAnim()
{
	if (!bVolumeBoardOpen)
	{
		PlayVolumeBoardAnimation(OpenVoiceBoardAnimationName, true);
	}
}

void UUI_PravellaSystem::PlayVolumeBoardAnimation(const FString& AnimationName, bool bOpen)
{
	// Without the designer's animation the panel stays as it is, and so does its state.
	if (UWidgetAnimation* Animation = GetNameWidgetAnimation(AnimationName))
	{
		PlayAnimation(Animation, 0.0f, 1, EUMGSequencePlayMode::Forward, 1.0f, false);
		bVolumeBoardOpen = bOpen;
	}
}

float UUI_PravellaSystem::GetVolumeMultiplier() const
{
	const UAudioComponent* AudioComponent = MediaSoundComponent ? MediaSoundComponent->GetAudioComponent() : nullptr;
	return AudioComponent ? AudioComponent->VolumeMultiplier : VolumeMultiplier;
}

void UUI_PravellaSystem::SetVolumeMultiplier(float InNewVolumeMultiplier)
{
	VolumeMultiplier = InNewVolumeMultiplier;
	if (MediaSoundComponent)
	{
		MediaSoundComponent->SetVolumeMultiplier(InNewVolumeMultiplier);
	}
}

void UUI_PravellaSystem::PlaySpeed(FString SelectedItem, ESelectInfo::Type SelectionType)
{
	SelectedItem.RemoveFromEnd(TEXT("x"), ESearchCase::IgnoreCase);
	// Read as _wtof reads: leading blanks skipped, the longest number prefix, 0 when there is none.
	const float Rate = static_cast<float>(FCString::Atod(*SelectedItem));
	if (Rate > 0.0f)
	{
		ChosenRate = Rate;
	}
	if (MediaPlayer)
	{
		MediaPlayer->SetRate(Rate);
	}
}

void UUI_PravellaSystem::Resolution(FString SelectedItem, ESelectInfo::Type SelectionType)
{
	OnResolutionChosen.ExecuteIfBound(SelectedItem);
}

#undef LOCTEXT_NAMESPACE
