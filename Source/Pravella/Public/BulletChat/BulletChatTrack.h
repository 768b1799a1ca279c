#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "TimerManager.h"

#include "BulletChatTrack.generated.h"

class UUI_BulletChatNode;

// One band of the legacy overlay, one track height tall and never drawn. It lists the nodes running in it and
// lets a new node in only when it cannot catch up the newest one before that has left the canvas.
UCLASS()
class PRAVELLA_API UBulletChatTrack : public UObject
{
	GENERATED_BODY()

public:
	void AddNode(UUI_BulletChatNode* Node);
	bool CanAddNode(UUI_BulletChatNode* Node);
	// Takes every listed node off the canvas and forgets it.
	void Empty();
	void Pause();
	void Resume();

protected:
	UBulletChatTrack();

	// UObject
	virtual void BeginDestroy() override;
	// --

private:
	UFUNCTION()
	void OnNodeEnd(UUI_BulletChatNode* Node);

	UFUNCTION()
	void OnTick();

	// Oldest first.
	UPROPERTY()
	TArray<TObjectPtr<UUI_BulletChatNode>> Nodes;

	FTimerHandle TickTimerHandle;
};
