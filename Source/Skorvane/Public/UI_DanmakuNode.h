#pragma once

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/TextBlock.h"
#include "DanmakuDataStruct.h"

#include "UI_DanmakuNode.generated.h"

class UCanvasPanel;
class UDanmakuTrack;
class UUI_DanmakuNode;

DECLARE_MULTICAST_DELEGATE_OneParam(FOnDanmakuNodeEvent, UUI_DanmakuNode*);

// One comment on the overlay's canvas. It measures itself, works out its life and speed, asks to be placed
// through OnStarted, scrolls left (a reverse comment right) and takes itself off the canvas when its time is up.
UCLASS()
class SKORVANE_API UUI_DanmakuNode : public UUserWidget
{
	GENERATED_BODY()

protected:
	UPROPERTY(meta = (BindWidget, ShowInnerProperties))
	TObjectPtr<UTextBlock> NodeContentText;

public:
	// Longer texts are cut to this many characters, the last one an ellipsis, so that one comment cannot stall a
	// frame with its layout.
	static constexpr int32 MaxShownTextLength = 1000;

	// Ready to be placed; the track manager places or removes the node during this broadcast.
	FOnDanmakuNodeEvent OnStarted;
	// The node's time ran out and it has left the canvas.
	FOnDanmakuNodeEvent OnEnded;
	// The widget was destructed (removed or hidden); listeners treat it like OnEnded.
	FOnDanmakuNodeEvent OnCanceled;
	// The track manager reuses the node of a comment from the index for a later comment once it is off the canvas,
	// and clears both events then: a listener bound while one comment shows hears only that comment's end.

	void Init(const FDanmakuData& InData, TObjectPtr<UCanvasPanel> InCanvasPanel, bool bInIsPaused);
	// Set before Init: the life time is divided by SpeedScale, the font size multiplied by FontScale.
	void SetDisplayScales(float InSpeedScale, float InFontScale);
	// Shows the text followed by the number of times it was sent ("text ×3") and measures the node again.
	void SetRepeatCount(int32 Count);

	void Pause();
	void Resume();

	// Top-left corner in canvas units.
	void SetPosition(FVector2D InPosition);
	FVector2D GetPosition() const;

	FVector2D GetNodeSize() const { return NodeSize; }
	float GetRollSpeed() const { return RollSpeed; }
	// Seconds left to live.
	float GetRollTime() const { return RollTime; }
	const FDanmakuData& GetData() const { return Data; }
	// The text as shown, before any repeat count, and whether it was cut to MaxShownTextLength.
	const FString& GetShownText() const { return ShownText; }
	bool IsTextShortened() const { return bTextShortened; }
	// The font size the text is drawn at.
	float GetShownFontSize() const { return ShownFontSize; }

	// The lanes the current comment holds; Init starts a comment with none.
	void AddUsedTrack(TObjectPtr<UDanmakuTrack> InTrack);
	TArray<TObjectPtr<UDanmakuTrack>> GetUseTracks() const { return UsedTracks; }

protected:
	// UUserWidget
	virtual void NativeOnInitialized() override;
	virtual void NativeConstruct() override;
	virtual void NativeDestruct() override;
	virtual void NativeTick(const FGeometry& MyGeometry, float InDeltaTime) override;
	// --

	// Puts the node on the canvas, shows the text (cut when too long) in the size and colour and measures it.
	void ShowOnCanvas(TObjectPtr<UCanvasPanel> InCanvasPanel, const FString& Text, float FontSize,
	                  const FLinearColor& TextColor, bool bOutline);

	UPROPERTY(meta = (ShowInnerProperties))
	TObjectPtr<UCanvasPanelSlot> NodeCanvasPanelSlot;

	bool bIsPaused = false;
	FDanmakuData Data;
	FVector2D NodeSize = FVector2D::ZeroVector;
	// Canvas width plus node width: the way a scroll node travels.
	float RollDistance = 0.0f;
	// Remaining life in seconds.
	float RollTime = 0.0f;
	float RollSpeed = 0.0f;
	UPROPERTY()
	TArray<TObjectPtr<UDanmakuTrack>> UsedTracks;
	float SpeedScale = 1.0f;
	float FontScale = 1.0f;
	FString ShownText;
	// The text block's font as the asset sets it, before any comment's size and outline.
	FSlateFontInfo AssetFont;
	bool bTextShortened = false;
	float ShownFontSize = 0.0f;
};
