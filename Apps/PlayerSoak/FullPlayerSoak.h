#pragma once

#include "CoreMinimal.h"
#include "DueComments.h"
#include "SoakRun.h"
#include "ViewerDriver.h"

class UMediaPlayer;
class UPanelWidget;
class UUI_Danmaku;
class UUI_PravellaSystem;
class UUserWidget;

// The soak of the full lesson player in its course page: the seeded viewer's pointer and keyboard go through the
// viewer driver, the host's calls (seeks, pushes, reloads, screen sizes) are made here; every comment due must be
// placed or reported not shown within a few frames, and every send that goes out must come back once.
class FFullPlayerSoak : public FSoakRun
{
public:
	FFullPlayerSoak(const FSoakOptions& InOptions, FHeadlessApplication& InApp);

	int32 Run() override;

protected:
	bool Settle() override;
	bool BeforeAction() override;
	bool Act() override;
	bool AfterAction() override;

private:
	// Builds the page once and throws it away, counts what stays, then builds the page the run plays in.
	bool Build();
	// Points at the widget (a name path under the player), waits for the control bar to slide in, and clicks.
	bool ClickOn(const FString& Path);
	bool Send();
	void PushLiveComment();
	// The host takes the page down while the player is fullscreen; false when the run failed or something stays
	// behind.
	bool TakeDown(bool bOk);

	FViewerDriver Driver;
	FString Document;
	TMap<int32, TArray<int32>> DocumentIds;
	UUserWidget* Page = nullptr;
	UUI_PravellaSystem* Player = nullptr;
	UPanelWidget* PagePanel = nullptr;
	UUI_Danmaku* Overlay = nullptr;
	UUserWidget* Bar = nullptr;
	UMediaPlayer* Media = nullptr;
	FDueComments Due;
};
