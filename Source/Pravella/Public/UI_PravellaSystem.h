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
#include "MediaPlaylist.h"
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
DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FOnPravellaTypeChanged, bool, bFullScreen);
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
	float GetVolumeMultiplier() const;
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

	// Playlist: the player's own, which it fills and opens entries of. A network URL goes in as a URL, anything else
	// as a local file.
	void AddToPlaylist(const FString& Url);
	// Opens the first playlist entry whose URL equals Url (letter case ignored).
	void OpenPlaylistUrl(const FString& Url);
	// The player's playlist (null until something is added) and its entry opened last (INDEX_NONE when the open
	// source did not come from it).
	UMediaPlaylist* GetPlaylist() const { return Playlist; }
	int32 GetPlaylistIndex() const { return PlaylistIndex; }
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

	// The designer animations the player plays, by the names the designer gives them in the widget blueprint
	// (docs/Widgets.md lists them): the control bar's and the volume panel's. One that is missing does not play.
	static constexpr const TCHAR* OpenBarAnimationName = TEXT("OpenBar");
	static constexpr const TCHAR* CloseBarAnimationName = TEXT("CloseBar");
	static constexpr const TCHAR* OpenVoiceBoardAnimationName = TEXT("OpenVoiceBoard");
	static constexpr const TCHAR* CloseVoiceBoardAnimationName = TEXT("CloseVoiceBoard");

	UPROPERTY(BlueprintAssignable, Category = "Media|PravellaSystem")
	FOnPravellaMediaPlayerMediaEvent OnFinshPlayMovie;
	// Broadcast when the player goes fullscreen or back into its panel, after the move.
	UPROPERTY(BlueprintAssignable, Category = "Media|PravellaSystem")
	FOnPravellaTypeChanged OnPravellaTypeChanged;

	// Executed with the new URL whenever next or previous moves in the playlist, as the move is carried out (a move
	// asked for while a lesson opens waits for it, and only the last one asked for is made).
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

	// Opens URL and, once it has opened, seeks to StartTime.
	void PlayMedia(const FString& URL, const FTimespan& StartTime);
	void Resume();
	void RefreshSuspendButtonTipText();
	int32 GetPlaylistNextIndex() const;
	int32 GetPlaylistPreviousIndex() const;
	FString GetPlaylistUrl(int32 Index) const;

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
	// Plays the media player's sound; made once, for whichever media player the widget has when constructed.
	UPROPERTY()
	TObjectPtr<UMediaSoundComponent> MediaSoundComponent;

private:
	void BindMediaPlayer();
	void UnbindMediaPlayer();
	void MoveInPlaylist(int32 Index);
	// bAnnounce: the move is a viewer's next or previous, which the host hears of when it is made.
	void OpenPlaylistIndex(int32 Index, bool bAnnounce);
	// Starts opening a source through the media player; false when it did not start.
	bool BeginOpening(bool bStarted);
	// Forgets a pause asked for while opening, a playlist move waiting for the open source, a start time and a
	// resume owed to a seek: none of them belongs to another source.
	void DropPendingState();
	// Starts a seek or rewind that, when the video was paused, resumes it once it completes. The resume is owed
	// before the call, since the engine may complete the seek inside it, and forgotten if the call is refused.
	void SeekAndResume(const FTimespan& Time, bool bRewind);
	// Sets the play/pause check box, pause symbol and tooltip from the media player's real state.
	void ShowPlaybackState(bool bSuspended);
	void PlayVolumeBoardAnimation(const FString& AnimationName, bool bOpen);
	void PlayBarAnimation(UWidgetAnimation* Animation);
	// Puts the player back into its own slot of PanelWidget, which the placeholder kept. bKeepLesson false: the
	// player is taken off screen as a host would take it, and closes its lesson.
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
	// The playlist the player fills; the media player's own may be replaced by a host.
	UPROPERTY()
	TObjectPtr<UMediaPlaylist> Playlist;

	EPravellaType CurrentPravellaType = static_cast<EPravellaType>(0);
	bool bTypeSet = false;
	float BarHideCountdown = 0.0f;
	bool bBarOpen = false;
	bool bVolumeBoardOpen = false;
	bool bPauseWhenPrepared = false;
	// From the player's own open call until the source opened or failed; buffering is not opening.
	bool bOpening = false;
	// The entry of Playlist opened last; INDEX_NONE when the open source did not come from it.
	int32 PlaylistIndex = INDEX_NONE;
	bool bPendingAnnounce = false;
	// Seeked to once the source has opened; negative when none.
	FTimespan PendingStartTime = FTimespan(-1);
	// The speed the viewer chose; playback resumes at it.
	float ChosenRate = 1.0f;
	bool bProgressCaptured = false;
	// The whole seconds of time and length the read-out last showed; it is formatted again only when they change.
	int64 ShownTimeSeconds = MIN_int64;
	int64 ShownLengthSeconds = MIN_int64;
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
