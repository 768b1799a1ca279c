#pragma once

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"
#include "Components/CanvasPanel.h"
#include "DanmakuBlockList.h"
#include "DanmakuDisplayControls.h"
#include "DanmakuTrackManager.h"
#include "MediaPlayer.h"
#include "UI_DanmakuBar.h"
#include "UI_DanmakuNode.h"
#include "UI_DanmakuNodeSetting.h"
#include "UI_DanmakuPositionedNode.h"
#include "DanmakuDataStruct.h"
#include "DanmakuDocumentReport.h"

#include "UI_Danmaku.generated.h"

class FArchive;

// The overlay over the video picture: keeps the comments indexed by whole second of media time and, each time
// the media clock enters a new second, hands that second's comments to the track manager.
DECLARE_MULTICAST_DELEGATE_OneParam(FOnDanmakuTrackManagerCreated, UDanmakuTrackManager*);

// Which of the settings store's values ApplySavedSettings applied; one out of range is left out, with a warning.
struct FDanmakuAppliedSettings
{
	bool bSpeedScale = false;
	bool bFontScale = false;
	bool bOnOff = false;

	bool AppliedAll() const { return bSpeedScale && bFontScale && bOnOff; }
};

UCLASS()
class SKORVANE_API UUI_Danmaku : public UUserWidget
{
	GENERATED_BODY()

public:
	void Init(TObjectPtr<UMediaPlayer> InMediaPlayer, TObjectPtr<UUI_DanmakuBar> InDanmakuBar,
	          TObjectPtr<UUI_DanmakuNodeSetting> InDanmakuNodeSetting);

	// Replaces the time index with the comments of a JSON document ({"datas": [...]}), also before the overlay is
	// laid out. A refused document leaves the index empty.
	void LoadDanmaku(const FString& JsonText);
	// The same for a document in the XML comment format of video sites (<i><d p="...">text</d>...</i>).
	void LoadDanmakuXml(const FString& XmlText);
	// The same for a JSON document in UTF-8, such as a file's bytes: read where it lies and filed comment by
	// comment, so a large document is never held a second time as UTF-16 text or as an array of records.
	void LoadDanmakuUtf8(FUtf8StringView JsonText);
	// Each load in the same pass tells what it found: false for a refused document, with its fault and where it
	// lies in OutReport, and otherwise the counts a host may report to its user.
	bool LoadDanmaku(const FString& JsonText, FDanmakuDocumentReport& OutReport);
	bool LoadDanmakuXml(const FString& XmlText, FDanmakuDocumentReport& OutReport);
	bool LoadDanmakuUtf8(FUtf8StringView JsonText, FDanmakuDocumentReport& OutReport);

	// Reads a document in UTF-8 into an index of the host's own, by the rules of the loads above, for a host that
	// keeps the documents of several videos and hands each over when its video plays.
	static bool ReadDanmakuDocument(FUtf8StringView Text, EDanmakuDocumentFormat Format, FDanmakuIndex& OutIndex,
	                                FDanmakuDocumentReport& OutReport);
	// The same from an archive's position to its end, such as a file reader: a JSON document is read a piece at a
	// time, so a large one is never held whole; an XML one is read whole first, as the XML parser reads text in
	// memory. A read of the archive that fails refuses the document.
	static bool ReadDanmakuDocument(FArchive& Text, EDanmakuDocumentFormat Format, FDanmakuIndex& OutIndex,
	                                FDanmakuDocumentReport& OutReport);
	// The same for an XML document in a file, which the engine's XML parser loads itself (the headless one reads it a
	// piece at a time) as the engine's file loader reads text: UTF-8, or UTF-16 with its byte order mark.
	static bool ReadDanmakuXmlFile(const FString& Path, FDanmakuIndex& OutIndex, FDanmakuDocumentReport& OutReport);
	// Replaces the time index with one the host kept; TakeDanmakuIndex hands the index back, with the comments filed
	// since (sent by the viewer or pushed live), and leaves the overlay's empty.
	void SetDanmakuIndex(FDanmakuIndex&& Index);
	FDanmakuIndex TakeDanmakuIndex();

	// Files one comment given as a JSON object of the document's element form and shows it at once as an
	// ordinary comment, as a comment another viewer has just posted. False, with nothing filed, for any other text.
	bool AddDanmakuThenSpawn(const FString& JsonRecord);

	void Pause();
	void Resume();
	// Clears what is on screen; the time index stays.
	void Empty();

	// The comments filed under the second that holds Time; null when that second has none.
	const TArray<FDanmakuData>* FindDanmakuAt(const FTimespan& Time) const;
	int32 GetIndexedSecondCount() const { return DanmakuMap.Num(); }
	// The seconds that have comments filed, in no particular order: a walk over them costs what the comments cost,
	// however long the media is.
	void GetIndexedSeconds(TArray<FTimespan>& OutSeconds) const { DanmakuMap.GetKeys(OutSeconds); }
	// Null until the first laid-out frame with a media player.
	UDanmakuTrackManager* GetTrackManager() const { return TrackManager; }
	// Raised when the track manager exists, before it is handed any comment, so listeners miss none.
	FOnDanmakuTrackManagerCreated OnTrackManagerCreated;

	// Controls for hosts and viewers, all off or neutral until set. Each takes effect at once, also before the
	// first laid-out frame. A refused value leaves the control as it was, returns false and logs why.
	// Blocked comments are reported as not shown (EDanmakuNotShownReason::Blocked), due and sent ones alike.
	bool AddBlockedWord(const FString& Word);
	// A regular expression in ICU's syntax, letter case ignored; OutError, when given, receives the reason for a
	// refusal.
	bool AddBlockedPattern(const FString& Pattern, FString* OutError = nullptr);
	void ClearBlockList();
	const FDanmakuBlockList& GetBlockList() const { return *BlockList; }
	// At most MaxOnScreen comments on screen and MaxPerSecond appearing per second (0: no limit). What is over a
	// limit is reported as not shown. The viewer's own comments are always shown but count towards both.
	bool SetDensityLimit(int32 MaxOnScreen, int32 MaxPerSecond);
	// A comment whose text is still on screen from the last WindowSeconds adds " ×N" to it instead (0: off).
	bool SetRepeatMerging(float WindowSeconds);
	bool SetCommentOpacity(float Opacity);
	// Percent of the height for scroll and top comments (from the top) and bottom comments (from the bottom).
	bool SetDisplayArea(int32 ScrollAndTopPercent, int32 BottomPercent);
	// For comments that appear from now on; 0.1 to 10.
	bool SetSpeedScale(float Scale);
	bool SetFontScale(float Scale);
	// Reverse comments scroll left to right over the scroll comments' area when on; off, they are reported as not
	// placed (EDanmakuNotShownReason::ModeNeverPlaced).
	void SetReverseComments(bool bShow);
	// Applies the settings store: its speed scale, its font size as a scale of the normal size, and on or off. Also
	// before Init: the bar's on/off box shows the state once the bar is there.
	FDanmakuAppliedSettings ApplySavedSettings();
	const FDanmakuDisplayControls& GetDisplayControls() const { return Controls; }

	// The normal font size of a comment, which the stored font size is measured against.
	static constexpr int32 NormalFontSize = FDanmakuData::NormalFontSize;

protected:
	virtual void NativeConstruct() override;
	virtual void NativeDestruct() override;
	virtual void NativeTick(const FGeometry& MyGeometry, float InDeltaTime) override;

private:
	UFUNCTION()
	void OnOpenDanmakuButtonClicked(bool bIsChecked);
	UFUNCTION()
	void OnDanmakuSend(const FString& InURL, const int64& InTime, const FString& InContent, const EDanmakuMode& InMode,
	                   const int32& InFontSize, const FString& InFontColor);

	void AddDataToMap(const FDanmakuData& Data);
	// Files the record itself, for a loader that has no further use for it.
	void AddDataToMap(FDanmakuData&& Data);
	void CreateTrackManager();
	// Files a document's comments into the index as they are read; the index is empty when the document is refused.
	bool FileDocument(TFunctionRef<bool(TFunctionRef<void(FDanmakuData&&)>, TFunctionRef<void()>)> Read,
	                  FDanmakuDocumentReport& Report);
	static void WarnOfUnreadableColours(int32 Count);
	// Reports the comments filed under the seconds after From and before To as passed over.
	void ReportJumpedOver(const FTimespan& From, const FTimespan& To);
	bool ApplyControls(const FDanmakuDisplayControls& NewControls);

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCanvasPanel> DanmakuCanvasPanel;

	UPROPERTY()
	TObjectPtr<UUI_DanmakuBar> DanmakuBar;

	UPROPERTY(EditDefaultsOnly, Category = "UI")
	TSubclassOf<UUI_DanmakuNode> DanmakuNodeClass;
	UPROPERTY(EditDefaultsOnly, Category = "UI")
	TSubclassOf<UUI_DanmakuNode> DanmakuNodeUserClass;
	UPROPERTY(EditDefaultsOnly, Category = "UI")
	TSubclassOf<UUI_DanmakuPositionedNode> DanmakuPositionedNodeClass;

	FTimespan LastSecond;
	FDanmakuIndex DanmakuMap;

	UPROPERTY()
	TObjectPtr<UMediaPlayer> MediaPlayer;
	UPROPERTY()
	TObjectPtr<UDanmakuTrackManager> TrackManager;

	bool bInit = false;
	bool bPaused = false;

	// The viewer switched the overlay off; a track manager made later starts closed to match.
	bool bSwitchedOff = false;
	// Shared with the track manager, which checks every comment against it.
	TSharedRef<FDanmakuBlockList> BlockList = MakeShared<FDanmakuBlockList>();
	FDanmakuDisplayControls Controls;
};
