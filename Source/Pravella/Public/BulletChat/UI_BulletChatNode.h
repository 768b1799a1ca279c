#pragma once

#include "CoreMinimal.h"
#include "BulletChat/BulletChatData.h"
#include "Core/UI_PravellaBase.h"
#include "Components/CanvasPanel.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/TextBlock.h"
#include "TimerManager.h"

#include "UI_BulletChatNode.generated.h"

class UUI_BulletChatNode;

DECLARE_DELEGATE_OneParam(FOnBulletChatNodeStarted, UUI_BulletChatNode*);
DECLARE_MULTICAST_DELEGATE_OneParam(FOnBulletChatNodeEnded, UUI_BulletChatNode*);

// One legacy comment on the overlay's canvas. On its first laid-out tick it measures itself, draws a speed and
// asks to be placed; then it steps left every 0.01 seconds until it has crossed the canvas and removes itself.
UCLASS()
class PRAVELLA_API UUI_BulletChatNode : public UUI_PravellaBase
{
	GENERATED_BODY()

public:
	// Fired once, when the node has measured itself and started moving.
	FOnBulletChatNodeStarted OnStarted;
	// Fired once, when the node has crossed the canvas, just before it leaves it.
	FOnBulletChatNodeEnded OnEnded;
	// Fired once, when the node is taken off its canvas before it has crossed it.
	FOnBulletChatNodeEnded OnRemoved;

	// Starts the node on a record, also one that carried another before.
	void Init(const FBulletChatData& InData);

	const FBulletChatData& GetData() const { return Data; }
	FVector2D GetNodeSize() const { return NodeSize; }
	FVector2D GetParentSize() const { return ParentSize; }
	// Canvas units per second.
	float GetSpeed() const { return Speed; }
	// True once the node has measured itself and asked to be placed.
	bool HasStarted() const { return bStarted; }

	// Top-left corner in canvas units; zero and ignored off a canvas panel.
	FVector2D GetPosition() const;
	void SetPosition(FVector2D InPosition);

	void Pause();
	void Resume();

protected:
	// UUserWidget
	virtual void NativeConstruct() override;
	virtual void NativeTick(const FGeometry& MyGeometry, float InDeltaTime) override;
	virtual void NativeDestruct() override;
	// --

private:
	void InitData();
	void StartStepTimer();

	UFUNCTION()
	void NodeTick();

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCanvasPanel> NodeCanvas;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UTextBlock> NodeText;

	UPROPERTY()
	TObjectPtr<UCanvasPanelSlot> CanvasSlot;

	FTimerHandle TickTimerHandle;
	FBulletChatData Data;
	FVector2D NodeSize = FVector2D::ZeroVector;
	FVector2D ParentSize = FVector2D::ZeroVector;
	float Speed = 0.0f;
	float LifeTime = 0.0f;
	float ElapsedTime = 0.0f;
	bool bStarted = false;
	bool bEnded = false;
	bool bRemoved = false;
	bool bIsPaused = false;
	bool bMeasureNextTick = false;
};
