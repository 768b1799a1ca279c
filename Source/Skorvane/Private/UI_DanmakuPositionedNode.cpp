#include "UI_DanmakuPositionedNode.h"

#include "Components/CanvasPanel.h"
#include "Components/TextBlock.h"
#include "UI_Danmaku.h"

void UUI_DanmakuPositionedNode::InitPositioned(const FDanmakuData& InData, const FDanmakuPositionedComment& InComment,
                                               TObjectPtr<UCanvasPanel> InCanvasPanel, bool bInIsPaused)
{
	bIsPaused = bInIsPaused;
	Data = InData;
	Comment = InComment;
	FDanmakuPositionedComment::FitStage(InCanvasPanel->GetCachedGeometry().GetLocalSize(), StageScale, StageOffset);

	const FString& Hex =
	    FDanmakuData::IsReadableFontColor(Data.FontColor) ? Data.FontColor : FString(FDanmakuData::DefaultFontColor);
	const int32 FontSize = Data.FontSize > 0 ? Data.FontSize : UUI_Danmaku::NormalFontSize;
	// Sizes belong to the stage like the positions, so the comment keeps its place among the picture's parts.
	ShowOnCanvas(InCanvasPanel, Comment.Text, static_cast<float>(FontSize * StageScale),
	             FLinearColor(FColor::FromHex(Hex)), Comment.bOutline);

	// The engine's render transform: turned about the top-left corner, squeezed by the turn about the vertical.
	FWidgetTransform Transform;
	Transform.Angle = Comment.RotateZ;
	Transform.Scale = FVector2D(FMath::Cos(FMath::DegreesToRadians(double(Comment.RotateY))), 1.0);
	SetRenderTransformPivot(FVector2D::ZeroVector);
	SetRenderTransform(Transform);

	RollTime = Comment.Life;
	RollSpeed = 0.0f;
	ApplyMotion();
	SetVisibility(ESlateVisibility::Visible);
}

void UUI_DanmakuPositionedNode::NativeTick(const FGeometry& MyGeometry, float InDeltaTime)
{
	Super::NativeTick(MyGeometry, InDeltaTime);
	if (!bIsPaused && GetParent())
	{
		ApplyMotion();
	}
}

void UUI_DanmakuPositionedNode::ApplyMotion()
{
	const float Elapsed = Comment.Life - RollTime;
	SetPosition(ToCanvas(Comment.GetPositionAt(Elapsed)));
	// On the text, so that the overlay's own opacity on the node multiplies with it.
	NodeContentText->SetRenderOpacity(Comment.GetAlphaAt(Elapsed));
}
