#include "UI_DanmakuNode.h"

#include "Components/CanvasPanel.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/TextBlock.h"
#include "DanmakuTrack.h"
#include "UI_Danmaku.h"

namespace DanmakuNode
{
// A comment lives 0.0058 s per unit of its way across the canvas, or 70 % of that, chosen at random; both are
// floored to whole seconds.
static constexpr double ShortLifeFactor = 0.00406;
static constexpr double ExtraLifeFactor = 0.00174;
// Below this luminance (linear) a dark outline would vanish into the text; such text gets a light one instead.
static constexpr float DarkTextLuminance = 0.05f;
} // namespace DanmakuNode

void UUI_DanmakuNode::NativeOnInitialized()
{
	Super::NativeOnInitialized();

	// Invisible until Init has formatted and measured it.
	SetVisibility(ESlateVisibility::Hidden);
	AssetFont = NodeContentText->GetFont();
	UpdateCanTick();
	bIsPaused = true;
}

void UUI_DanmakuNode::NativeConstruct()
{
	Super::NativeConstruct();
}

void UUI_DanmakuNode::NativeDestruct()
{
	// Only a node taken off its canvas is gone. One whose overlay leaves the screen and comes back (a fullscreen
	// toggle) stays on the canvas and must keep its lanes, or later comments run into it.
	if (!GetParent())
	{
		OnCanceled.Broadcast(this);
	}

	Super::NativeDestruct();
}

void UUI_DanmakuNode::ShowOnCanvas(TObjectPtr<UCanvasPanel> InCanvasPanel, const FString& Text, float FontSize,
                                   const FLinearColor& TextColor, bool bOutline)
{
	NodeCanvasPanelSlot = InCanvasPanel->AddChildToCanvas(this);
	NodeCanvasPanelSlot->SetAutoSize(true);

	bTextShortened = Text.Len() > MaxShownTextLength;
	ShownText = Text;
	if (bTextShortened)
	{
		// Never between the two halves of a surrogate pair.
		int32 Keep = MaxShownTextLength - 1;
		Keep -= Text[Keep - 1] >= 0xD800 && Text[Keep - 1] <= 0xDBFF ? 1 : 0;
		ShownText = Text.Left(Keep) + TEXT("\u2026");
	}
	NodeContentText->SetText(FText::FromString(ShownText));

	// From the asset's font each time: a node carries many comments, and one's outline must not stay on the next.
	FSlateFontInfo Font = AssetFont;
	ShownFontSize = FontSize;
	Font.Size = FontSize;
	// The asset's outline keeps text readable on any picture; near-black text needs a light one to show at all.
	FLinearColor& OutlineColor = Font.OutlineSettings.OutlineColor;
	if (!bOutline)
	{
		Font.OutlineSettings.OutlineSize = 0;
	}
	else if (Font.OutlineSettings.OutlineSize > 0 && TextColor.GetLuminance() < DanmakuNode::DarkTextLuminance &&
	         OutlineColor.GetLuminance() < DanmakuNode::DarkTextLuminance)
	{
		OutlineColor = FLinearColor(1.0f, 1.0f, 1.0f, OutlineColor.A);
	}
	NodeContentText->SetFont(Font);

	NodeContentText->SetColorAndOpacity(FSlateColor(TextColor));

	ForceLayoutPrepass();
	NodeSize = GetDesiredSize();
}

void UUI_DanmakuNode::Init(const FDanmakuData& InData, TObjectPtr<UCanvasPanel> InCanvasPanel, bool bInIsPaused)
{
	bIsPaused = bInIsPaused;
	Data = InData;
	UsedTracks.Reset();

	// A colour that does not read would make the text invisible, a size of 0 or below would make it vanish.
	const FString& Hex =
	    FDanmakuData::IsReadableFontColor(Data.FontColor) ? Data.FontColor : FString(FDanmakuData::DefaultFontColor);
	const int32 FontSize = Data.FontSize > 0 ? Data.FontSize : UUI_Danmaku::NormalFontSize;
	ShowOnCanvas(InCanvasPanel, Data.Content, static_cast<float>(FontSize) * FontScale,
	             FLinearColor(FColor::FromHex(Hex)), true);

	RollDistance = static_cast<float>(GetParent()->GetCachedGeometry().GetLocalSize().X + NodeSize.X);
	const int32 LifeChoice = FMath::RandRange(0, 1);
	RollTime = static_cast<float>(
	    FMath::FloorToDouble((DanmakuNode::ShortLifeFactor + DanmakuNode::ExtraLifeFactor * LifeChoice) *
	                         RollDistance) /
	    SpeedScale);
	RollSpeed = RollDistance / RollTime;

	SetVisibility(ESlateVisibility::Visible);

	OnStarted.Broadcast(this);
}

void UUI_DanmakuNode::NativeTick(const FGeometry& MyGeometry, float InDeltaTime)
{
	Super::NativeTick(MyGeometry, InDeltaTime);

	if (bIsPaused)
	{
		return;
	}

	RollTime -= InDeltaTime;
	if (!(RollTime >= 0.0f))
	{
		RemoveFromParent();
		OnEnded.Broadcast(this);
		return;
	}

	if (Data.Mode != EDanmakuMode::SCROLL && Data.Mode != EDanmakuMode::REVERSE)
	{
		return;
	}

	FVector2D Position = NodeCanvasPanelSlot->GetPosition();
	Position.X += (Data.Mode == EDanmakuMode::REVERSE ? InDeltaTime : -InDeltaTime) * RollSpeed;
	NodeCanvasPanelSlot->SetPosition(Position);
}

void UUI_DanmakuNode::SetDisplayScales(float InSpeedScale, float InFontScale)
{
	SpeedScale = InSpeedScale;
	FontScale = InFontScale;
}

void UUI_DanmakuNode::SetRepeatCount(int32 Count)
{
	const double OldWidth = NodeSize.X;
	NodeContentText->SetText(FText::FromString(FString::Printf(TEXT("%s \u00D7%d"), *ShownText, Count)));
	ForceLayoutPrepass();
	NodeSize = GetDesiredSize();
	const double Grown = NodeSize.X - OldWidth;
	if (!NodeCanvasPanelSlot || Grown == 0.0)
	{
		return;
	}
	// A pinned comment stays centred as it widens. A scrolling one grows at its leading edge, away from the comment
	// its lane admitted behind it against its old width; its trailing edge, which decides when it has left the
	// canvas, goes on as before, so its life needs no change.
	FVector2D Position = GetPosition();
	if (Data.Mode == EDanmakuMode::SCROLL)
	{
		Position.X -= Grown;
	}
	else if (Data.Mode != EDanmakuMode::REVERSE)
	{
		Position.X -= Grown * 0.5;
	}
	SetPosition(Position);
}

void UUI_DanmakuNode::Pause()
{
	bIsPaused = true;
}

void UUI_DanmakuNode::Resume()
{
	bIsPaused = false;
}

void UUI_DanmakuNode::SetPosition(FVector2D InPosition)
{
	NodeCanvasPanelSlot->SetPosition(InPosition);
}

FVector2D UUI_DanmakuNode::GetPosition() const
{
	return NodeCanvasPanelSlot->GetPosition();
}

void UUI_DanmakuNode::AddUsedTrack(TObjectPtr<UDanmakuTrack> InTrack)
{
	UsedTracks.Add(InTrack);
}
