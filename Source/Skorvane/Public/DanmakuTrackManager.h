#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "Templates/SharedPointer.h"
#include "Templates/SubclassOf.h"
#include "UObject/WeakObjectPtrTemplates.h"
#include "DanmakuBlockList.h"
#include "DanmakuDataStruct.h"
#include "DanmakuDisplayControls.h"

#include "DanmakuTrackManager.generated.h"

class UCanvasPanel;
class UDanmakuTrack;
class UUI_DanmakuNode;
class UUI_DanmakuPositionedNode;

// Why a comment handed to the manager did not reach the screen.
UENUM()
enum class EDanmakuNotShownReason : uint8
{
	NoFreeLane,
	ModeNeverPlaced,
	NoLanes,
	TooTall,
	Paused,
	// On the block list.
	Blocked,
	// As many comments as allowed were already on screen.
	OverScreenLimit,
	// As many comments as allowed had already appeared within the last second.
	OverRateLimit,
	// The same text is on screen; it counts the repeat instead.
	MergedRepeat,
	// A positioned comment whose text is not a positioning payload.
	BadPositionedPayload,
	// Its second was passed over between two frames (a seek forward, or a frame longer than a second).
	JumpedOver
};

// Where the manager put a comment; the node is already positioned on its lanes. A positioned comment takes no
// lane: LaneCount is 0.
struct FDanmakuPlacement
{
	UUI_DanmakuNode* Node = nullptr;
	int32 FirstLane = 0;
	int32 LaneCount = 0;
	bool bUserNode = false;
};

DECLARE_MULTICAST_DELEGATE_OneParam(FOnDanmakuPlaced, const FDanmakuPlacement&);
DECLARE_MULTICAST_DELEGATE_TwoParams(FOnDanmakuNotShown, const FDanmakuData&, EDanmakuNotShownReason);

/**
 * Manages the kinds of tracks. Tracks are logical abstractions that need not be displayed, and tracks may at
 * present overlap one another. Each kind has an Area, 0 to 100: the percentage of the height of
 * DanmakuCanvasPanel that the kind may use. The areas of scroll, top and reverse comments are measured from the
 * top edge, that of bottom comments from the bottom edge. Scroll and reverse lanes with the same index cover the
 * same band, which carries one direction at a time, so that no two comments there ever meet head-on.
 */
UCLASS()
class SKORVANE_API UDanmakuTrackManager : public UObject
{
	GENERATED_BODY()

public:
	void Init(TObjectPtr<UCanvasPanel> InCanvasPanel, TSubclassOf<UUI_DanmakuNode> InDanmakuNodeClass,
	          TSubclassOf<UUI_DanmakuNode> InDanmakuNodeUserClass);

	// A comment from the time index; dropped when no lane of its kind is free or while paused.
	void SpawnDanmakuNode(const FDanmakuData& InData);
	// The viewer's own comment; shown even while paused, on a random lane when none is free.
	void SpawnDanmakuNodeUser(const FDanmakuData& InData);
	// A comment of the index whose second playback passed over: reported as not shown.
	void ReportJumpedOver(const FDanmakuData& InData);
	// The widget for positioned comments; without one they are not placed.
	void SetPositionedNodeClass(TSubclassOf<UUI_DanmakuPositionedNode> InClass);

	void Open(bool bResume);
	void Close();
	void Pause();
	void Resume();
	void Empty();

	int32 GetTrackNum() const { return ScrollTracks.Num(); }
	int32 GetTopTrackNum() const { return TopTracks.Num(); }
	int32 GetBottomTrackNum() const { return BottomTracks.Num(); }
	int32 GetReverseTrackNum() const { return ReverseTracks.Num(); }

	// Checked for every comment, the viewer's own too; null or empty blocks nothing.
	void SetBlockList(const TSharedPtr<const FDanmakuBlockList>& InBlockList) { BlockList = InBlockList; }
	// Takes effect at once: the lanes follow the areas (comments on dropped lanes leave) and the comments on
	// screen take the opacity. Speed and font scales apply to comments placed from now on.
	void SetDisplayControls(const FDanmakuDisplayControls& InControls);
	const FDanmakuDisplayControls& GetDisplayControls() const { return Controls; }

	// Reports for hosts and tools that account for every comment; placement never depends on the listeners.
	FOnDanmakuPlaced OnDanmakuPlaced;
	FOnDanmakuNotShown OnDanmakuNotShown;
	// While OnDanmakuNotShown runs: the comment's measured node (size, speed, life), so that a listener can
	// check why it was dropped; null when none was made for it (while paused) and outside the report.
	const UUI_DanmakuNode* GetNodeNotShown() const { return NodeNotShown; }

	// UObject
	virtual void BeginDestroy() override;
	// --

	// Height of one lane in canvas units.
	static constexpr double TrackHeight = 15.12;

private:
	void UpdateLocalSize();

	bool AddNodeToScrollTracks(UUI_DanmakuNode* Node, int32 StartIndex, int32 TrackCount);
	bool AddNodeToTopTracks(UUI_DanmakuNode* Node, int32 StartIndex, int32 TrackCount);
	bool AddNodeToBottomTracks(UUI_DanmakuNode* Node, int32 StartIndex, int32 TrackCount);
	bool AddNodeToReverseTracks(UUI_DanmakuNode* Node, int32 StartIndex, int32 TrackCount);
	void SpawnPositionedNode(const FDanmakuData& InData, bool bUserNode);

	UFUNCTION()
	void OnDanmakuNodeStarted(UUI_DanmakuNode* DanmakuNode);

	UFUNCTION()
	void OnDanmakuNodeUserStarted(UUI_DanmakuNode* DanmakuNode);

	UFUNCTION()
	void OnDanmakuNodeEnded(UUI_DanmakuNode* DanmakuNode);

	UFUNCTION()
	void OnDanmakuNodeCanceled(UUI_DanmakuNode* DanmakuNode);

	UUI_DanmakuNode* CreateNode(TSubclassOf<UUI_DanmakuNode> NodeClass);
	void ReportNotShown(const UUI_DanmakuNode* Node, const FDanmakuData& Data, EDanmakuNotShownReason Reason);
	// False when the node does not fit the lanes; it is then off the canvas and reported.
	bool PlaceNode(UUI_DanmakuNode* DanmakuNode, int32 StartIndex, int32 TrackCount, bool bUserNode);
	// Keeps the node of a comment from the index that is off the canvas (not placed, or gone), for the next one.
	void KeepSpareNode(UUI_DanmakuNode* DanmakuNode);
	// The lanes of the node's kind; null for a mode that no lane takes.
	TArray<TObjectPtr<UDanmakuTrack>>* FindTracksForMode(EDanmakuMode Mode);
	// The lanes of the other direction over the same bands as a scrolling mode's; null for a pinned mode.
	const TArray<TObjectPtr<UDanmakuTrack>>* FindOppositeTracks(EDanmakuMode Mode) const;
	// First start lane from which every lane the node covers admits it and whose bands carry nothing in the
	// opposite direction; INDEX_NONE when there is none.
	static int32 FindFreeStartIndex(const TArray<TObjectPtr<UDanmakuTrack>>& Tracks, UUI_DanmakuNode* Node,
	                                int32 TrackCount, const TArray<TObjectPtr<UDanmakuTrack>>* OppositeTracks);
	bool AddNodeToTracks(TArray<TObjectPtr<UDanmakuTrack>>& Tracks, UUI_DanmakuNode* Node, int32 StartIndex,
	                     int32 TrackCount, const FVector2D& Position);
	void ResizeTracks(TArray<TObjectPtr<UDanmakuTrack>>& Tracks, int32& StoredCount, int32 Area, double CanvasHeight);
	FVector2D GetCanvasSize() const;
	// Why a comment from the time index with this text may not be shown now; false when it may. Counts a merged
	// repeat when merging is allowed.
	bool FindHoldBackReason(const FString& Text, bool bMayMerge, EDanmakuNotShownReason& OutReason);
	void ForEachTrack(TFunctionRef<void(UDanmakuTrack&)> Visit);
	void NoteShown(UUI_DanmakuNode* DanmakuNode, bool bUserNode);
	double GetNow() const;

	UPROPERTY()
	TObjectPtr<UCanvasPanel> DanmakuCanvasPanel;
	UPROPERTY()
	TSubclassOf<UUI_DanmakuNode> DanmakuNodeClass;
	UPROPERTY()
	TSubclassOf<UUI_DanmakuNode> DanmakuNodeUserClass;

	UPROPERTY()
	TArray<TObjectPtr<UDanmakuTrack>> ScrollTracks;
	int32 ScrollArea = 75;
	int32 ScrollTrackCount = 0;

	UPROPERTY()
	TArray<TObjectPtr<UDanmakuTrack>> TopTracks;
	int32 TopArea = 75;
	int32 TopTrackCount = 0;

	UPROPERTY()
	TArray<TObjectPtr<UDanmakuTrack>> BottomTracks;
	int32 BottomArea = 25;
	int32 BottomTrackCount = 0;

	// Over the scroll lanes' area, while reverse comments are shown.
	UPROPERTY()
	TArray<TObjectPtr<UDanmakuTrack>> ReverseTracks;
	int32 ReverseTrackCount = 0;

	UPROPERTY()
	TSubclassOf<UUI_DanmakuPositionedNode> DanmakuPositionedNodeClass;
	// Positioned comments on the canvas, which no lane lists.
	UPROPERTY()
	TArray<TObjectPtr<UUI_DanmakuNode>> PositionedNodes;

	// Nodes of comments from the index that were not placed or have left the canvas, ready for the next comment.
	UPROPERTY()
	TArray<TObjectPtr<UUI_DanmakuNode>> SpareNodes;

	bool bIsPaused = false;
	const UUI_DanmakuNode* NodeNotShown = nullptr;

	TSharedPtr<const FDanmakuBlockList> BlockList;
	FDanmakuDisplayControls Controls;
	// When each of the comments shown within the last second appeared, oldest first.
	TArray<double> RecentShownTimes;
	// The comment shown for a text, by the text with letter case taken out, for counting its repeats.
	struct FShownText
	{
		TWeakObjectPtr<UUI_DanmakuNode> Node;
		double ShownAt = 0.0;
		int32 Count = 1;
	};
	TMap<FString, FShownText> ShownTexts;
	int32 ShownTextsPruneAt = 256;
};
