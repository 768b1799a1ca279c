#include "BulletChat/BulletChatTrackManager.h"

#include "Blueprint/UserWidget.h"
#include "BulletChat/BulletChatTrack.h"
#include "BulletChat/UI_BulletChatNode.h"
#include "Components/CanvasPanel.h"

namespace BulletChatTrackManager
{
// 1 / TrackHeight, applied as a product.
static constexpr double TrackFactor = 0.06613756613756615;
} // namespace BulletChatTrackManager

void UBulletChatTrackManager::Init(TObjectPtr<UCanvasPanel> InCanvas, TSubclassOf<UUI_BulletChatNode> InNodeClass)
{
	Canvas = InCanvas;
	NodeClass = InNodeClass;

	// A second call must not stack a second set of tracks below the canvas; the nodes on screen run on untracked.
	for (UBulletChatTrack* Track : Tracks)
	{
		Track->ConditionalBeginDestroy();
	}
	Tracks.Reset();

	const double Height = Canvas ? Canvas->GetCachedGeometry().GetLocalSize().Y : 0.0;
	TrackCount = FMath::Max(0, FMath::TruncToInt32(Height * BulletChatTrackManager::TrackFactor));
	Tracks.Reserve(TrackCount);
	for (int32 Index = 0; Index < TrackCount; ++Index)
	{
		Tracks.Add(NewObject<UBulletChatTrack>(this));
	}
}

bool UBulletChatTrackManager::IsShowing(const FBulletChatData& Data) const
{
	if (Data.bHasID)
	{
		return ShowingNodeIDs.Contains(Data.ID);
	}
	return Data.LocalKey != 0 && ShowingLocalKeys.Contains(Data.LocalKey);
}

void UBulletChatTrackManager::SpawnBulletChatNode(const FBulletChatData& InData)
{
	UClass* Class = NodeClass.Get();
	if (!Class || !Class->IsChildOf(UUI_BulletChatNode::StaticClass()) || !Canvas)
	{
		return;
	}
	if (IsShowing(InData))
	{
		return;
	}
	UUI_BulletChatNode* Node = Cast<UUI_BulletChatNode>(UUserWidget::CreateWidgetInstance(*Canvas, Class, NAME_None));
	if (!Node)
	{
		return;
	}
	Node->Init(InData);
	// The canvas is live: the node is constructed, and takes its slot, as it is added.
	Canvas->AddChild(Node);
	Node->SetPosition(FVector2D(Canvas->GetCachedGeometry().GetLocalSize().X, 0.0));

	if (InData.bHasID)
	{
		ShowingNodeIDs.AddUnique(InData.ID);
	}
	else if (InData.LocalKey != 0)
	{
		ShowingLocalKeys.AddUnique(InData.LocalKey);
	}
	Node->OnStarted.BindUObject(this, &UBulletChatTrackManager::OnFinishSpawnNode);
	Node->OnEnded.AddUObject(this, &UBulletChatTrackManager::OnNodeEnd);
}

void UBulletChatTrackManager::OnFinishSpawnNode(UUI_BulletChatNode* Node)
{
	const int32 Needed = FMath::CeilToInt32(Node->GetNodeSize().Y * BulletChatTrackManager::TrackFactor);
	if (Tracks.IsEmpty())
	{
		return;
	}
	for (int32 Start = 0; Start + Needed <= Tracks.Num(); ++Start)
	{
		bool bFree = true;
		for (int32 Index = Start; bFree && Index < Start + Needed; ++Index)
		{
			bFree = Tracks[Index]->CanAddNode(Node);
		}
		if (bFree)
		{
			AddNodeToTracks(Node, Start, Needed);
			return;
		}
	}

	// No free band: the node shares a random one rather than being lost.
	const int32 Range = Tracks.Num() - Needed;
	int32 Start = 0;
	if (Range + 1 > 0)
	{
		const float Draw = static_cast<float>(FMath::Rand() & 0x7FFF) / 32767.0f;
		Start = FMath::Min(FMath::TruncToInt32(Draw * static_cast<float>(Range + 1)), Range);
	}
	AddNodeToTracks(Node, Start, Needed);
}

bool UBulletChatTrackManager::AddNodeToTracks(UUI_BulletChatNode* Node, int32 StartIndex, int32 Count)
{
	if (StartIndex < 0 || StartIndex + Count > Tracks.Num())
	{
		return false;
	}
	for (int32 Index = StartIndex; Index < StartIndex + Count; ++Index)
	{
		Tracks[Index]->AddNode(Node);
	}
	Node->SetPosition(FVector2D(Node->GetParentSize().X, StartIndex * TrackHeight));
	if (bIsPaused)
	{
		Node->Pause();
	}
	return true;
}

void UBulletChatTrackManager::OnNodeEnd(UUI_BulletChatNode* Node)
{
	const FBulletChatData& Data = Node->GetData();
	if (Data.bHasID)
	{
		ShowingNodeIDs.Remove(Data.ID);
	}
	else
	{
		ShowingLocalKeys.Remove(Data.LocalKey);
	}
}

void UBulletChatTrackManager::Pause()
{
	for (UBulletChatTrack* Track : Tracks)
	{
		Track->Pause();
	}
	bIsPaused = true;
}

void UBulletChatTrackManager::Resume()
{
	for (UBulletChatTrack* Track : Tracks)
	{
		Track->Resume();
	}
	bIsPaused = false;
}

void UBulletChatTrackManager::Empty()
{
	for (UBulletChatTrack* Track : Tracks)
	{
		Track->Empty();
	}
	ShowingNodeIDs.Empty();
	ShowingLocalKeys.Empty();
}

void UBulletChatTrackManager::BeginDestroy()
{
	for (UBulletChatTrack* Track : Tracks)
	{
		if (Track)
		{
			Track->ConditionalBeginDestroy();
		}
	}
	Tracks.Empty();

	Super::BeginDestroy();
}
