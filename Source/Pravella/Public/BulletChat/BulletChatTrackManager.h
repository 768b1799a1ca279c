#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "Templates/SubclassOf.h"
#include "BulletChat/BulletChatData.h"
#include "BulletChat/BulletChatTrack.h"
#include "Components/CanvasPanel.h"

#include "BulletChatTrackManager.generated.h"

class UUI_BulletChatNode;

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

	TObjectPtr<UCanvasPanel> Canvas;
	TSubclassOf<UUI_BulletChatNode> NodeClass;
	int32 TrackCount = 0;
	bool bIsPaused = false;

	// Top (index 0) to bottom.
	UPROPERTY()
	TArray<TObjectPtr<UBulletChatTrack>> Tracks;

	// IDs of the records on screen, in spawn order.
	UPROPERTY()
	TArray<int32> ShowingNodeIDs;

	// The same for records without an ID, by the local key their index gave them.
	UPROPERTY()
	TArray<int32> ShowingLocalKeys;
};
