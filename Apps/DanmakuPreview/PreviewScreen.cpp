#include "PreviewScreen.h"

#include "AppConsole.h"
#include "Blueprint/UserWidget.h"
#include "Blueprint/WidgetTree.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/Image.h"
#include "Components/TextBlock.h"
#include "Headless/HeadlessApplication.h"
#include "Materials/Material.h"
#include "UI_Danmaku.h"
#include "UI_DanmakuBar.h"
#include "UI_DanmakuNodeSetting.h"

namespace
{
// Space kept under the overlay for the input bar.
constexpr double BarHeight = 64.0;
} // namespace

bool FPreviewScreen::Build(FHeadlessApplication& App, const FVector2D& Canvas, FString& OutError)
{
	UClass* HostClass = StaticLoadClass(UUserWidget::StaticClass(), nullptr, TEXT("/Game/UI/WBP_DanmakuPreview"));
	Host = HostClass ? CreateWidget<UUserWidget>(App.GetWorld(), HostClass) : nullptr;
	if (!Host)
	{
		OutError = TEXT("the preview screen /Game/UI/WBP_DanmakuPreview did not load");
		return false;
	}
	Overlay = Cast<UUI_Danmaku>(Host->WidgetTree->FindWidget(TEXT("Danmaku")));
	Bar = Cast<UUI_DanmakuBar>(Host->WidgetTree->FindWidget(TEXT("DanmakuBar")));
	Panel = Cast<UUI_DanmakuNodeSetting>(Host->WidgetTree->FindWidget(TEXT("DanmakuNodeSetting")));
	TimeText = Cast<UTextBlock>(Host->WidgetTree->FindWidget(TEXT("MediaTimeText")));
	if (!Overlay || !Bar || !Panel || !TimeText || !TimeText->Slot)
	{
		OutError = TEXT("the preview screen lacks the overlay, the bar, the style panel or the time text");
		return false;
	}
	// The asset is drawn for 1920 by 1080; fit the overlay, the bar and the panel to the chosen canvas.
	if (UCanvasPanelSlot* OverlaySlot = Cast<UCanvasPanelSlot>(Overlay->Slot))
	{
		OverlaySlot->SetPosition(FVector2D::ZeroVector);
		OverlaySlot->SetSize(FVector2D(Canvas.X, FMath::Max(Canvas.Y - BarHeight, 1.0)));
	}
	// The video under the comments, as the engine draws it: an image whose material samples the media texture of
	// the player (a described lesson shows the texture's clear colour, black). The asset leaves it hidden, since
	// without the material it would be a white box.
	if (UImage* Video = Cast<UImage>(Host->WidgetTree->FindWidget(TEXT("Video"))))
	{
		Video->SetBrushFromMaterial(LoadObject<UMaterial>(nullptr, TEXT("/Game/Media/M_PreviewVideo")));
		Video->SetVisibility(ESlateVisibility::Visible);
		if (UCanvasPanelSlot* VideoSlot = Cast<UCanvasPanelSlot>(Video->Slot))
		{
			VideoSlot->SetPosition(FVector2D::ZeroVector);
			VideoSlot->SetSize(FVector2D(Canvas.X, FMath::Max(Canvas.Y - BarHeight, 1.0)));
		}
	}
	if (UCanvasPanelSlot* BarSlot = Cast<UCanvasPanelSlot>(Bar->Slot))
	{
		BarSlot->SetPosition(FVector2D(20.0, Canvas.Y - BarHeight + 8.0));
	}
	if (UCanvasPanelSlot* PanelSlot = Cast<UCanvasPanelSlot>(Panel->Slot))
	{
		PanelSlot->SetPosition(FVector2D(60.0, FMath::Max(Canvas.Y - BarHeight - PanelSlot->GetSize().Y - 10.0, 0.0)));
	}
	if (UCanvasPanelSlot* TimeSlot = Cast<UCanvasPanelSlot>(TimeText->GetParent()->Slot))
	{
		TimeSlot->SetPosition(FVector2D(FMath::Max(Canvas.X - 200.0, 0.0), 8.0));
	}
	Host->AddToViewport(0);
	return true;
}

void FPreviewScreen::ShowTime(double Seconds)
{
	const int32 Tenths = int32(Seconds * 10.0);
	if (Tenths != LastTimeTextTenths)
	{
		LastTimeTextTenths = Tenths;
		TimeText->SetText(FText::FromString(FAppConsole::FormatClock(Seconds)));
	}
}
