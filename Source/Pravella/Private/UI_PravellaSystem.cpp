#include "UI_PravellaSystem.h"

#include "Animation/WidgetAnimation.h"
#include "Components/AudioComponent.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/PanelWidget.h"
#include "Engine/Engine.h"
#include "MediaPlayer.h"
#include "MediaPlaylist.h"
#include "MediaSoundComponent.h"
#include "MediaSource.h"
#include "Video/UI_FullScreenPlaceholder.h"

#define LOCTEXT_NAMESPACE "UUI_PravellaSystem"

namespace
{
constexpr float BarHideSeconds = 5.0f;

// Gives To the canvas layout of From, when both are canvas slots.
void CopyCanvasLayout(const UPanelSlot* From, UPanelSlot* To)
{
	const UCanvasPanelSlot* OldLayout = Cast<UCanvasPanelSlot>(From);
	if (UCanvasPanelSlot* NewLayout = Cast<UCanvasPanelSlot>(To); OldLayout && NewLayout)
	{
		NewLayout->SetAnchors(OldLayout->GetAnchors());
		NewLayout->SetOffsets(OldLayout->GetOffsets());
		NewLayout->SetAlignment(OldLayout->GetAlignment());
		NewLayout->SetAutoSize(OldLayout->GetAutoSize());
		NewLayout->SetZOrder(OldLayout->GetZOrder());
	}
}

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
	OpenBarAnimation = GetNameWidgetAnimation(TEXT("OpenBar"));
	CloseBarAnimation = GetNameWidgetAnimation(TEXT("CloseBar"));
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
	// The mute box starts as the designer left it, and the sound follows it.
	if (VolumeButton->IsMuted())
	{
		ClickedCheckBoxVolume(true);
		SetVolumeMultiplier(0.0f);
	}
	VolumeProgress->SetParent(this);
	VolumeProgress->SetChangedVolumeValue(GetVolumeMultiplier());

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
		VideoCacheLoading->SetPercent(Fraction(MediaPlayer->GetCachedBehind().GetTicks(), Duration));
		const FTimespan Length = MediaPlayer->GetDuration();
		PlayTimeText->SetText(FText::FromString(FString::Printf(TEXT("%02d:%02d:%02d/%02d:%02d:%02d"), Time.GetHours(),
		                                                        Time.GetMinutes(), Time.GetSeconds(), Length.GetHours(),
		                                                        Length.GetMinutes(), Length.GetSeconds())));
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
	// A widget constructed again keeps the sound output it made the first time.
	if (MediaPlayer && !MediaSoundComponent)
	{
		MediaSoundComponent = NewObject<UMediaSoundComponent>(this);
		MediaSoundComponent->RegisterComponentWithWorld(GetWorld());
		MediaSoundComponent->SetMediaPlayer(MediaPlayer);
		MediaSoundComponent->SetVolumeMultiplier(VolumeMultiplier);
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
	MediaPlayer->OpenFile(InPath);
}

void UUI_PravellaSystem::PlayMediaByNet(const FString& InURL)
{
	if (!MediaPlayer || !MediaPlayer->CanPlayUrl(InURL))
	{
		return;
	}
	DropPendingState();
	MediaPlayer->OpenUrl(InURL);
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
	if (MediaPlayer)
	{
		MediaPlayer->Seek(StartTime);
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
	DropPendingState();
}

void UUI_PravellaSystem::DropPendingState()
{
	bPauseWhenPrepared = false;
	PendingPlaylistUrl.Empty();
	PendingPlaylistIndex = INDEX_NONE;
}

// Pause and resume

void UUI_PravellaSystem::PauseVideo()
{
	if (!MediaPlayer)
	{
		return;
	}
	if (MediaPlayer->IsPreparing())
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
	if (MediaPlayer->IsPaused() && MediaPlayer->Play())
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
	if (MediaPlayer->IsPreparing())
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
	// comments run again with it.
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
	const bool bWasPaused = MediaPlayer->IsPaused();
	// Only an accepted rewind leaves a resume behind for its seek to complete.
	if (MediaPlayer->Rewind() && bWasPaused)
	{
		bResumeAfterSeek = true;
	}
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
	// Handlers still see the ended source open, and may open the next lesson.
	OnFinshPlayMovie.Broadcast();
	if (MediaPlayer && !MediaPlayer->IsPreparing() && MediaPlayer->GetUrl() == EndedUrl)
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
	if (MediaPlayer && !Url.IsEmpty())
	{
		MediaPlayer->GetPlaylist()->AddUrl(Url);
	}
}

int32 UUI_PravellaSystem::GetPlaylistNextIndex()
{
	UMediaPlaylist* Playlist = MediaPlayer ? MediaPlayer->GetPlaylist() : nullptr;
	if (!Playlist || Playlist->Num() < 2)
	{
		return 0;
	}
	const int32 Index = MediaPlayer->GetPlaylistIndex() + 1;
	return Index >= Playlist->Num() ? 0 : Index;
}

int32 UUI_PravellaSystem::GetPlaylistPreviousIndex()
{
	UMediaPlaylist* Playlist = MediaPlayer ? MediaPlayer->GetPlaylist() : nullptr;
	if (!Playlist || Playlist->Num() < 2)
	{
		return 0;
	}
	const int32 Index = MediaPlayer->GetPlaylistIndex() - 1;
	return Index < 0 ? Playlist->Num() - 1 : Index;
}

FString UUI_PravellaSystem::GetPlaylistUrl(int32 Index)
{
	UMediaPlaylist* Playlist = MediaPlayer ? MediaPlayer->GetPlaylist() : nullptr;
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
	if (!MediaPlayer || MediaPlayer->GetPlaylist()->Num() == 0)
	{
		return;
	}
	const FString Url = GetPlaylistUrl(Index);
	EmptyBulletChat();
	OnPlaylistUrlChanged.ExecuteIfBound(Url);
	OpenPlaylistIndex(Index);
}

void UUI_PravellaSystem::OpenPlaylistUrl(const FString& Url)
{
	UMediaPlaylist* Playlist = MediaPlayer ? MediaPlayer->GetPlaylist() : nullptr;
	if (Url.IsEmpty() || !Playlist)
	{
		return;
	}
	for (int32 Index = 0; Index < Playlist->Num(); ++Index)
	{
		if (GetPlaylistUrl(Index).Equals(Url, ESearchCase::IgnoreCase))
		{
			OpenPlaylistIndex(Index);
			return;
		}
	}
}

void UUI_PravellaSystem::OpenPlaylistIndex(int32 Index)
{
	// A move while the previous source prepares waits for it to open; the index is kept, so that a playlist
	// holding one URL twice goes to the entry that was asked for.
	if (MediaPlayer->IsPreparing())
	{
		PendingPlaylistUrl = GetPlaylistUrl(Index);
		PendingPlaylistIndex = Index;
		return;
	}
	DropPendingState();
	MediaPlayer->OpenPlaylistIndex(MediaPlayer->GetPlaylist(), Index);
}

void UUI_PravellaSystem::OnMediaPlayerOpend(FString OpenedUrl)
{
	if (PendingPlaylistIndex != INDEX_NONE && MediaPlayer)
	{
		OpenPlaylistIndex(PendingPlaylistIndex);
	}
}

void UUI_PravellaSystem::RefreshPreviousAndNextButtons()
{
	UMediaPlaylist* Playlist = MediaPlayer ? MediaPlayer->GetPlaylist() : nullptr;
	const bool bEnabled = Playlist && Playlist->Num() > 1;
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
		const bool bWasPaused = MediaPlayer->IsPaused();
		if (MediaPlayer->Seek(FTimespan(Target)) && bWasPaused)
		{
			bResumeAfterSeek = true;
		}
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
	bTypeSet = true;
	CurrentPravellaType = Type;
	if (Type == EPravellaType::FullScreen || Type == EPravellaType::Embedded)
	{
		ScreenButton->SetIsChecked(Type == EPravellaType::FullScreen);
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
		SavedChildIndex = Parent->GetChildIndex(this);
		UPanelSlot* OldSlot = Slot;
		UUI_FullScreenPlaceholder* Placeholder = CreateWidget<UUI_FullScreenPlaceholder>(this);
		FullScreenPlaceholder = Placeholder;
		bMovingForFullScreen = true;
		RemoveFromParent();
		CopyCanvasLayout(OldSlot, Parent->InsertChildAt(SavedChildIndex, Placeholder));
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
	const int32 Index = Placeholder ? PanelWidget->GetChildIndex(Placeholder) : INDEX_NONE;
	UPanelSlot* PlaceholderSlot = Placeholder ? Placeholder->Slot.Get() : nullptr;
	if (Placeholder)
	{
		Placeholder->SetPlayer(nullptr);
		Placeholder->RemoveFromParent();
	}
	bMovingForFullScreen = bKeepLesson;
	RemoveFromParent();
	CopyCanvasLayout(PlaceholderSlot, PanelWidget->InsertChildAt(Index != INDEX_NONE ? Index : SavedChildIndex, this));
	bMovingForFullScreen = false;
	PanelWidget->InvalidateLayoutAndVolatility();
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
		PlayVolumeBoardAnimation(TEXT("CloseVoiceBoard"), false);
	}
}

void UUI_PravellaSystem::OpenVolumeAnim()
{
	if (!bVolumeBoardOpen)
	{
		PlayVolumeBoardAnimation(TEXT("OpenVoiceBoard"), true);
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

float UUI_PravellaSystem::GetVolumeMultiplier()
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
