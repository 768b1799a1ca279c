#pragma once

#include "CoreMinimal.h"
#include "OwedReports.h"
#include "SoakRun.h"

class UBulletChatTrackManager;
class UCanvasPanel;
class UMediaPlayer;
class UUI_BulletChat;
struct FBulletChatData;
struct FBulletChatPlacement;
enum class EBulletChatNotPlacedReason : uint8;

// The soak of the legacy overlay on its own, under the host's calls only (it has no controls of its own): every
// comment the overlay hands to its track manager must be placed or reported not placed within a few frames.
class FLegacySoak : public FSoakRun
{
public:
	using FSoakRun::FSoakRun;

	int32 Run() override;

protected:
	bool Settle() override;
	bool BeforeAction() override;
	bool Act() override;

private:
	bool Build();
	void OnPlaced(const FBulletChatPlacement& Placement);
	void OnNotPlaced(const FBulletChatData& Data, EBulletChatNotPlacedReason Reason);
	// Whether a node of the comment is on the canvas; the canvas is walked once a frame or action, when first asked.
	bool IsOnCanvas(int32 Id);
	void HandOver(int32 Id);
	void PushLiveComment();
	// Ends the lesson and waits for the last answers; false when the run failed or one never came.
	bool Finish(bool bOk);

	FString Document;
	TMap<int32, TArray<int32>> DocumentIds;
	UMediaPlayer* Media = nullptr;
	UUI_BulletChat* Overlay = nullptr;
	UCanvasPanel* Canvas = nullptr;
	UBulletChatTrackManager* Manager = nullptr;
	// Comments the overlay handed to the manager and no report has answered since.
	FOwedReports Outstanding;
	// Ids reported during the frame, answered once the frame's hand-overs are known.
	TArray<int32> FrameReports;
	int32 DueSecond = INDEX_NONE;
	TMap<int32, bool> CanvasIds;
	bool bCanvasIdsKnown = false;
	bool bHostPaused = false;
	bool bVisible = true;
};
