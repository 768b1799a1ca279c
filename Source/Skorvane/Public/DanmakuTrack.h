#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "TimerManager.h"

#include "DanmakuTrack.generated.h"

class UUI_DanmakuNode;

// One logical lane of the overlay, one lane height tall and never drawn. It lists the nodes on it and decides
// whether a new node may enter now without running into them.
UCLASS()
class SKORVANE_API UDanmakuTrack : public UObject
{
	GENERATED_BODY()

public:
	UDanmakuTrack();

	void AddNode(UUI_DanmakuNode* Node);
	void RemoveNode(UUI_DanmakuNode* Node);
	bool CanAddNode(UUI_DanmakuNode* Node);
	// Whether a node listed here is still on a canvas.
	bool HasNodeOnCanvas() const { return FindNewestNodeOnCanvas() != nullptr; }

	void Pause();
	void Resume();
	// Takes every listed node off the canvas and forgets it.
	void Empty();

	// UObject
	virtual void BeginDestroy() override;
	// --

private:
	// For scroll and reverse nodes alike: each enters at its own border and moves away from it.
	bool CanAddScrollNode(UUI_DanmakuNode* Node);
	bool CanAddTopNode(UUI_DanmakuNode* Node);
	bool CanAddBottomNode(UUI_DanmakuNode* Node);

	// The most recently added node that is still on a canvas; a node that left without its events reaching this
	// track yet counts as gone.
	UUI_DanmakuNode* FindNewestNodeOnCanvas() const;

	UFUNCTION()
	void OnNodeEnded(UUI_DanmakuNode* Node);

	UFUNCTION()
	void OnTick();

	// Oldest first.
	UPROPERTY(meta = (ShowInnerProperties))
	TArray<TObjectPtr<UUI_DanmakuNode>> Nodes;

	FTimerHandle TickTimerHandle;
};
