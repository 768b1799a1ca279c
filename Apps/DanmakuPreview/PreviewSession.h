#pragma once

#include "CoreMinimal.h"
#include "PreviewOptions.h"
#include "CommentDocument.h"
#include "AppConsole.h"
#include "CommentCounts.h"
#include "CommentTrace.h"
#include "UObject/GarbageCollection.h"

#include <functional>

class FHeadlessApplication;
class UDanmakuTrackManager;
class UMediaPlayer;
class UTextBlock;
class UUI_Danmaku;
class UUI_DanmakuBar;
class UUI_DanmakuNodeSetting;
class UUserWidget;
class UWidget;

// One run of the preview: plays the lesson with its comments through the real overlay, acts as a viewer at a
// few moments, writes snapshots, the trace and the summary.
class FPreviewSession : private FGCObject
{
public:
	explicit FPreviewSession(const FPreviewOptions& InOptions);
	~FPreviewSession() override;

	// Returns the process exit code; errors are printed to standard error.
	int32 Run();

private:
	struct FViewerAction
	{
		double MediaSeconds = 0.0;
		FString Label;
		std::function<void()> Perform;
	};

	bool LoadDocument(FString& OutError);
	bool OpenMedia(FString& OutError);
	bool BuildScreen(FString& OutError);
	void ScheduleViewerActions();
	void BindReports(UDanmakuTrackManager* Manager);
	void NoteLanes(const UDanmakuTrackManager* Manager);
	bool WriteSnapshot(double MediaSeconds);
	void UpdateTimeText(double MediaSeconds);
	bool WriteSummary(double PlayedSeconds);
	// A new path or a regular file that is none of the inputs and no other output; false with the reason.
	bool CheckOutput(const FString& File, const TCHAR* What, FString& OutError) const;

	FVector2D CentreOf(const FString& OwnerName, const FString& ChildName) const;
	UWidget* FindChild(const FString& OwnerName, const FString& ChildName) const;
	void ClickChild(const FString& OwnerName, const FString& ChildName);
	double MediaSeconds() const;

	// FGCObject
	void AddReferencedObjects(FReferenceCollector& Collector) override;
	// --

	FPreviewOptions Options;
	FHeadlessApplication* App = nullptr;
	UUserWidget* Host = nullptr;
	UUI_Danmaku* Overlay = nullptr;
	UUI_DanmakuBar* Bar = nullptr;
	UUI_DanmakuNodeSetting* Panel = nullptr;
	UTextBlock* TimeText = nullptr;
	UMediaPlayer* Player = nullptr;
	FString MediaUrl;
	FCommentCounts Counts;
	FCommentTrace Trace;
	FCommentDocument Document;
	FProgressReport Progress;
	TArray<FViewerAction> Actions;
	TArray<FString> Snapshots;
	TArray<FString> MissedSnapshots;
	int32 LastTimeTextTenths = -1;
};
