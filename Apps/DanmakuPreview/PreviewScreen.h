#pragma once

#include "CoreMinimal.h"

class FHeadlessApplication;
class UTextBlock;
class UUI_Danmaku;
class UUI_DanmakuBar;
class UUI_DanmakuNodeSetting;
class UUserWidget;

// The preview's screen: the bundled preview host (video, overlay, input bar, style panel and a time read-out)
// fitted to the chosen canvas and put on the viewport.
class FPreviewScreen
{
public:
	// False with the message when the host asset or one of its parts is missing.
	bool Build(FHeadlessApplication& App, const FVector2D& Canvas, FString& OutError);
	// The media time in the read-out, set only when its tenth of a second changes.
	void ShowTime(double Seconds);

	UUserWidget* Host = nullptr;
	UUI_Danmaku* Overlay = nullptr;
	UUI_DanmakuBar* Bar = nullptr;
	UUI_DanmakuNodeSetting* Panel = nullptr;
	UTextBlock* TimeText = nullptr;

private:
	int32 LastTimeTextTenths = -1;
};
