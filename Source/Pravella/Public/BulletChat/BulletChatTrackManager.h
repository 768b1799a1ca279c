#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "Templates/SubclassOf.h"
#include "BulletChat/BulletChatData.h"
#include "BulletChat/BulletChatTrack.h"
#include "Components/CanvasPanel.h"

#include "BulletChatTrackManager.generated.h"

class UUI_BulletChatNode;

// Why a record handed to the manager did not get a band of tracks.
UENUM()
enum class EBulletChatNotPlacedReason : uint8
{
	// A node of a record with the same ID (or of the same record, when it has none) is on screen.
	AlreadyShowing,
	// The manager was given no canvas.
	NoCanvas,
	// The node class is unset or not a comment node, or no widget could be made of it.
	NoNodeClass,
	// The canvas is lower than one track. The node still crosses it along its top edge.
	NoTracks,
	// The node is taller than all tracks together. It still crosses the canvas along its top edge.
	TooTall,
	// The node was taken off the canvas before it had measured itself.
	RemovedBeforeStart
};

// Where the manager put a comment; the node is already positioned at the right border of its band.
struct FBulletChatPlacement
{
	UUI_BulletChatNode* Node = nullptr;
	int32 FirstTrack = 0;
	int32 TrackCount = 0;
	// No band was free: the node shares a random one with the nodes already there.
	bool bSharedBand = false;
};

DECLARE_MULTICAST_DELEGATE_OneParam(FOnBulletChatPlaced, const FBulletChatPlacement&);
DECLARE_MULTICAST_DELEGATE_TwoParams(FOnBulletChatNotPlaced, const FBulletChatData&, EBulletChatNotPlacedReason);

// Lays the legacy comments out on tracks stacked over the whole canvas height. It creates a node for each record
// it is asked to show, unless a node of the same record ID is on screen, and puts the node on the first band of
// free tracks once the node has measured itself, or on a random band when none is free.
UCLASS()
class PRAVELLA_API UBulletChatTrackManager : public UObject
{
	GENERATED_BODY()

public:
	// Creates the tracks from the canvas's laid-out height, replacing any made by an earlier call.
	void Init(TObjectPtr<UCanvasPanel> InCanvas, TSubclassOf<UUI_BulletChatNode> InNodeClass);

	void SpawnBulletChatNode(const FBulletChatData& InData);

	// Pause and Resume reach the nodes in tracks and every node placed later; Empty removes the nodes in tracks
	// and lets every record be shown again.
	void Pause();
	void Resume();
	void Empty();

	int32 GetTrackNum() const { return Tracks.Num(); }

	// Reports for hosts and tools that account for every record handed to SpawnBulletChatNode: each one gets
	// exactly one of them, at once or when its node has measured itself. Placement never depends on listeners.
	FOnBulletChatPlaced OnBulletChatPlaced;
	FOnBulletChatNotPlaced OnBulletChatNotPlaced;

	// Height of one track in canvas units.
	static constexpr double TrackHeight = 15.12;

protected:
	// UObject
	virtual void BeginDestroy() override;
	// --

private:
	bool IsShowing(const FBulletChatData& Data) const;
	bool AddNodeToTracks(UUI_BulletChatNode* Node, int32 StartIndex, int32 Count);

	UFUNCTION()
	void OnFinishSpawnNode(UUI_BulletChatNode* Node);

	UFUNCTION()
	void OnNodeEnd(UUI_BulletChatNode* Node);

	UFUNCTION()
	void OnNodeRemoved(UUI_BulletChatNode* Node);

	void ReportPlaced(UUI_BulletChatNode* Node, int32 FirstTrack, int32 Count, bool bShared);
	// A node whose record has left the canvas, without the listeners of its former record; null when none.
	UUI_BulletChatNode* TakeSpareNode();
	void KeepSpareNode(UUI_BulletChatNode* Node);
	void ForgetShowing(UUI_BulletChatNode* Node);

	TObjectPtr<UCanvasPanel> Canvas;
	TSubclassOf<UUI_BulletChatNode> NodeClass;
	int32 TrackCount = 0;
	bool bIsPaused = false;

	// Top (index 0) to bottom.
	UPROPERTY()
	TArray<TObjectPtr<UBulletChatTrack>> Tracks;

	// The nodes on the canvas, in spawn order: a record is showing while a node of its ID (or, without one, of its
	// local key) is among them. Kept per node, so that one node's end frees its record only when no other runs.
	UPROPERTY()
	TArray<TObjectPtr<UUI_BulletChatNode>> ShowingNodes;

	// Nodes whose record has ended or was taken off the canvas, ready for the next record.
	UPROPERTY()
	TArray<TObjectPtr<UUI_BulletChatNode>> SpareNodes;
};
