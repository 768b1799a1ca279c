#pragma once

#include "CoreMinimal.h"
#include "DanmakuPositionedComment.h"
#include "UI_DanmakuNode.h"

#include "UI_DanmakuPositionedNode.generated.h"

// A positioned comment: shown where its payload puts it on the authoring stage, fitted into the canvas, moving
// and fading as the payload says, rotated about its top-left corner. It takes no lane.
UCLASS()
class SKORVANE_API UUI_DanmakuPositionedNode : public UUI_DanmakuNode
{
	GENERATED_BODY()

public:
	// Puts the comment on the canvas at its start; the stage is fitted to the canvas's current size.
	void InitPositioned(const FDanmakuData& InData, const FDanmakuPositionedComment& InComment,
	                    TObjectPtr<UCanvasPanel> InCanvasPanel, bool bInIsPaused);

	const FDanmakuPositionedComment& GetComment() const { return Comment; }
	// Canvas units per stage pixel.
	double GetStageScale() const { return StageScale; }
	// The text's top-left corner on the canvas where the move starts and where it ends.
	FVector2D GetStartPosition() const { return ToCanvas(Comment.Start); }
	FVector2D GetEndPosition() const { return ToCanvas(Comment.End); }

protected:
	// UUserWidget
	virtual void NativeTick(const FGeometry& MyGeometry, float InDeltaTime) override;
	// --

private:
	FVector2D ToCanvas(const FVector2D& StagePosition) const { return StageOffset + StagePosition * StageScale; }
	// Position and opacity for the time the comment has been on screen.
	void ApplyMotion();

	FDanmakuPositionedComment Comment;
	double StageScale = 1.0;
	FVector2D StageOffset = FVector2D::ZeroVector;
};
