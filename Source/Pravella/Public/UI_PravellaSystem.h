#pragma once

#include "CoreMinimal.h"
#include "Components/Border.h"
#include "Components/Button.h"
#include "Components/CheckBox.h"
#include "Components/ComboBoxString.h"
#include "Components/Image.h"
#include "Components/ProgressBar.h"
#include "Components/Slider.h"
#include "Components/TextBlock.h"
#include "DanmakuDataStruct.h"
#include "Animation/WidgetAnimation.h"
#include "Materials/Material.h"
#include "MediaSoundComponent.h"
#include "Pravella/UI_VolumeButton.h"
#include "Pravella/UI_VolumeProgress.h"
#include "UI_Danmaku.h"
#include "UI_DanmakuBar.h"
#include "UI_DanmakuNodeSetting.h"
#include "Video/UI_ImageVideo.h"

#include "UI_PravellaSystem.generated.h"

class UPanelWidget;

DECLARE_DYNAMIC_MULTICAST_DELEGATE(FOnPravellaMediaPlayerMediaEvent);
DECLARE_DELEGATE_OneParam(FOnPlaylistUrlChanged, const FString&);
DECLARE_DELEGATE_OneParam(FOnResolutionChosen, const FString&);

UENUM()
enum EPravellaType : int32
{
	FullScreen = 0,
	Embedded = 1
};

// The lesson player: plays lesson videos through one media player, shows them in an image, and carries the
// control bar and the danmaku overlay with its input bar and style panel.
UCLASS()
class PRAVELLA_API UUI_PravellaSystem : public UUI_ImageVideo
{
	GENERATED_BODY()

public:
	UUI_PravellaSystem(const FObjectInitializer& ObjectInitializer);

	// Volume, called by the volume components.
	UFUNCTION()
	void ChangedVolumeValue(float InValue);
	// ClickedWidget is the mute box's new state: true silences the media player, false gives it full volume.
	UFUNCTION()
	void ClickedCheckBoxVolume(bool ClickedWidget);
	// Plays the volume panel's closing animation when the panel is open.
	UFUNCTION()
	void CloseVolumeAnim();
	// Plays the volume panel's opening animation when the panel is closed.
	UFUNCTION()
	void OpenVolumeAnim();

	// The level of the sound output: its audio component's multiplier, or the level set last while the sound
	// output has no audio component yet.
	UFUNCTION(BlueprintPure, Category = "PravellaMedia")
	float GetVolumeMultiplier();
	UFUNCTION(BlueprintCallable, Category = "PravellaMedia")
	void SetVolumeMultiplier(float InNewVolumeMultiplier);

	UFUNCTION(BlueprintCallable, Category = "PravellaMedia")
	void CloseVideo();
	// True when the media player is closed, or there is none.
	UFUNCTION(BlueprintPure, Category = "PravellaMedia")
	bool IsClose() const;
	UFUNCTION(BlueprintCallable, Category = "PravellaMedia")
	void PauseVideo();
	UFUNCTION(BlueprintCallable, Category = "PravellaMedia")
	void PlayMediaByLocal(const FString& InPath);
	UFUNCTION(BlueprintCallable, Category = "PravellaMedia")
	void PlayMediaByNet(const FString& InURL);
	// Whether the control bar may be shown at all.
	UFUNCTION(BlueprintCallable, Category = "PravellaMedia")
	void SetShowUI(bool bNewShowUI);
	// Stops the sound output; the video goes on.
	UFUNCTION(BlueprintCallable, Category = "PravellaMedia")
	void StopSound();

	// Playlist.
	void AddToPlaylist(const FString& Url);
	// Opens the first playlist entry whose URL equals Url (letter case ignored).
	void OpenPlaylistUrl(const FString& Url);
	void RefreshPreviousAndNextButtons();

	void SetPravellaType(EPravellaType Type);
	// The panel the player left for fullscreen went off screen: the player leaves the screen with it.
	void OnFullScreenPanelRemoved();
	EPravellaType GetPravellaType() const { return CurrentPravellaType; }

	// Picture and danmaku.
	void SetImageVideoBrush(const FString& Path);
	void ResetBulletChatDatas(const FString& Json);
	void EmptyBulletChat();
	// A comment another viewer has just posted on the open source: filed and shown at once when Url is the open
	// source's (letter case ignored) and Json one comment object; anything else is ignored.
	void AddBulletChatDataThenSpawn(const FString& Json, const FString& Url);
	FOnSendDanmakuSignature& GetSendDanmakuDelegate();

	UPROPERTY(BlueprintAssignable, Category = "Media|PravellaSystem")
	FOnPravellaMediaPlayerMediaEvent OnFinshPlayMovie;

	// Executed with the new URL whenever next or previous moves in the playlist.
	FOnPlaylistUrlChanged OnPlaylistUrlChanged;
	// Executed with the chosen item when the viewer picks a resolution; the host switches the source.
	FOnResolutionChosen OnResolutionChosen;

protected:
	// UUserWidget
	void NativeConstruct() override;
	void NativeDestruct() override;
	void NativeTick(const FGeometry& MyGeometry, float InDeltaTime) override;
	FReply NativeOnMouseMove(const FGeometry& InGeometry, const FPointerEvent& InMouseEvent) override;
	// --

	// UUI_ImageVideo
	void InitMadia() override;
	// --

	UFUNCTION()
	void ClickedCheckBox(bool ClickedWidget);
	UFUNCTION()
	void ClickedCheckBoxScreen(bool ClickedWidget);
	UFUNCTION()
	void FinshPlayMovie();
	UFUNCTION()
	void Next();
	UFUNCTION()
	void OnMediaPlayerOpend(FString OpenedUrl);
	UFUNCTION()
	void OnMediaPlayerOpenFailed(FString FailedUrl);
	UFUNCTION()
	void OnMediaProgressMouseCaptureBegin();
	UFUNCTION()
	void OnMediaProgressMouseCaptureEnd();
	UFUNCTION()
	void OnMediaProgressValueChanged(float InValue);
	UFUNCTION()
	void OnPauseClicked();
	UFUNCTION()
	void OnPlaybackResumed();
	UFUNCTION()
	void OnPlaybackSuspended();
	UFUNCTION()
	void OnSeekCompleted();
	UFUNCTION()
	void PlaySpeed(FString SelectedItem, ESelectInfo::Type SelectionType);
	UFUNCTION()
	void Previous();
	UFUNCTION()
	void Replay();
	UFUNCTION()
	void Resolution(FString SelectedItem, ESelectInfo::Type SelectionType);

	void PlayMedia(const FString& URL, const FTimespan& StartTime);
	void Resume();
	void RefreshSuspendButtonTipText();
	int32 GetPlaylistNextIndex();
	int32 GetPlaylistPreviousIndex();
	FString GetPlaylistUrl(int32 Index);

	// True when URL holds an http, https or ftp address anywhere in it (letter case ignored).
	static bool IsNetURL(const FString& URL);

	UPROPERTY()
	TObjectPtr<UWidgetAnimation> OpenBarAnimation;
	UPROPERTY()
	TObjectPtr<UWidgetAnimation> CloseBarAnimation;
	// The panel the player sat in before it went fullscreen.
	UPROPERTY()
	TObjectPtr<UPanelWidget> PanelWidget;
	// Holds the player's place, with its slot layout, in that panel while the player is fullscreen.
	UPROPERTY()
	TObjectPtr<UUserWidget> FullScreenPlaceholder;

private:
	void BindMediaPlayer();
	void UnbindMediaPlayer();
	void MoveInPlaylist(int32 Index);
	void OpenPlaylistIndex(int32 Index);
	// Forgets a pause asked for while preparing and a playlist move waiting for the open source.
	void DropPendingState();
	// Sets the play/pause check box, pause symbol and tooltip from the media player's real state.
	void ShowPlaybackState(bool bSuspended);
	void PlayVolumeBoardAnimation(const FString& AnimationName, bool bOpen);
	void PlayBarAnimation(UWidgetAnimation* Animation);
	// Puts the player back into PanelWidget in its placeholder's place and layout, leaving its siblings' slots.
	// bKeepLesson false: the player is taken off screen as a host would take it, and closes its lesson.
	void ReturnToPanel(bool bKeepLesson);

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UProgressBar> VideoCacheLoading;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCheckBox> ScreenButton;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UButton> ReplayButton;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UButton> NestButton;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UButton> PreviousButton;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCheckBox> SuspendButton;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UUI_VolumeButton> VolumeButton;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UButton> PauseButton;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UBorder> MediaBarBorder;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<USlider> MovieProgress;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UTextBlock> MediaProgressValueFloat;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UUI_VolumeProgress> VolumeProgress;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UImage> PauseImage;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UImage> ImageVideo;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UTextBlock> PlayTimeText;
	UPROPERTY()
	TObjectPtr<UMediaSoundComponent> MediaSoundComponent;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UComboBoxString> ComboPlaySpeed;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UComboBoxString> ComboResolution;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UUI_Danmaku> Danmaku;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UUI_DanmakuBar> DanmakuBar;
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UUI_DanmakuNodeSetting> DanmakuNodeSetting;
	UPROPERTY(EditAnywhere, Category = "UI")
	TObjectPtr<UMaterial> MediaPlayerMat;

	int32 SavedChildIndex = 0;
	EPravellaType CurrentPravellaType = static_cast<EPravellaType>(0);
	bool bTypeSet = false;
	float BarHideCountdown = 0.0f;
	bool bBarOpen = false;
	bool bVolumeBoardOpen = false;
	bool bPauseWhenPrepared = false;
	bool bProgressCaptured = false;
	bool bShowUI = true;
	FString PendingPlaylistUrl;
	int32 PendingPlaylistIndex = INDEX_NONE;
	bool bResumeAfterSeek = false;
	// The level last set, reported while the sound output has no audio component.
	float VolumeMultiplier = 1.0f;
	// Set while the player moves itself between its panel and the viewport, so that the lesson goes on.
	bool bMovingForFullScreen = false;
	// The panel the player left for fullscreen went off screen; the player leaves the screen on its next frame.
	bool bFullScreenPanelRemoved = false;
};
