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
	// Spare nodes belong to the former canvas and class.
	SpareNodes.Reset();

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
	if (!Data.bHasID && Data.LocalKey == 0)
	{
		return false;
	}
	// A node taken off the canvas while its overlay was off screen never said so: it no longer counts.
	return ShowingNodes.ContainsByPredicate(
	    [&Data](const UUI_BulletChatNode* Node)
	    {
		    if (!IsValid(Node) || !Node->GetParent())
		    {
			    return false;
		    }
		    const FBulletChatData& Shown = Node->GetData();
		    return Data.bHasID ? Shown.bHasID && Shown.ID == Data.ID : !Shown.bHasID && Shown.LocalKey == Data.LocalKey;
	    });
}

void UBulletChatTrackManager::SpawnBulletChatNode(const FBulletChatData& InData)
{
	UClass* Class = NodeClass.Get();
	if (!Class || !Class->IsChildOf(UUI_BulletChatNode::StaticClass()))
	{
		OnBulletChatNotPlaced.Broadcast(InData, EBulletChatNotPlacedReason::NoNodeClass);
		return;
	}
	if (!Canvas)
	{
		OnBulletChatNotPlaced.Broadcast(InData, EBulletChatNotPlacedReason::NoCanvas);
		return;
	}
	if (IsShowing(InData))
	{
		OnBulletChatNotPlaced.Broadcast(InData, EBulletChatNotPlacedReason::AlreadyShowing);
		return;
	}
	UUI_BulletChatNode* Node = TakeSpareNode();
	if (!Node)
	{
		Node = Cast<UUI_BulletChatNode>(UUserWidget::CreateWidgetInstance(*Canvas, Class, NAME_None));
	}
	if (!Node)
	{
		OnBulletChatNotPlaced.Broadcast(InData, EBulletChatNotPlacedReason::NoNodeClass);
		return;
	}
	Node->Init(InData);
	// The canvas is live: the node is constructed, and takes its slot, as it is added.
	Canvas->AddChild(Node);
	Node->SetPosition(FVector2D(Canvas->GetCachedGeometry().GetLocalSize().X, 0.0));

	ShowingNodes.RemoveAll([](const UUI_BulletChatNode* Shown) { return !IsValid(Shown) || !Shown->GetParent(); });
	ShowingNodes.Add(Node);
	Node->OnStarted.BindUObject(this, &UBulletChatTrackManager::OnFinishSpawnNode);
	Node->OnEnded.AddUObject(this, &UBulletChatTrackManager::OnNodeEnd);
	Node->OnRemoved.AddUObject(this, &UBulletChatTrackManager::OnNodeRemoved);
}

UUI_BulletChatNode* UBulletChatTrackManager::TakeSpareNode()
{
	while (!SpareNodes.IsEmpty())
	{
		UUI_BulletChatNode* Node = SpareNodes.Pop().Get();
		// One still on the canvas was kept at its end but never left (a listener to that end spawned at once).
		if (IsValid(Node) && !Node->GetParent())
		{
			// Whoever listened to the node for its former record (its tracks, a host) is done with it.
			Node->OnEnded.Clear();
			Node->OnRemoved.Clear();
			return Node;
		}
	}
	return nullptr;
}

void UBulletChatTrackManager::KeepSpareNode(UUI_BulletChatNode* Node)
{
	// Every record gets a node, so the nodes of a long lesson would pile up until the next collection; one whose
	// record has gone carries the next one instead. Ended nodes are kept just before they leave the canvas.
	if (!SpareNodes.Contains(Node))
	{
		SpareNodes.Add(Node);
	}
}

void UBulletChatTrackManager::OnFinishSpawnNode(UUI_BulletChatNode* Node)
{
	const int32 Needed = FMath::CeilToInt32(Node->GetNodeSize().Y * BulletChatTrackManager::TrackFactor);
	if (Tracks.IsEmpty())
	{
		OnBulletChatNotPlaced.Broadcast(Node->GetData(), EBulletChatNotPlacedReason::NoTracks);
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
			ReportPlaced(Node, Start, Needed, false);
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
	if (AddNodeToTracks(Node, Start, Needed))
	{
		ReportPlaced(Node, Start, Needed, true);
	}
	else
	{
		OnBulletChatNotPlaced.Broadcast(Node->GetData(), EBulletChatNotPlacedReason::TooTall);
	}
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
	ForgetShowing(Node);
	KeepSpareNode(Node);
}

void UBulletChatTrackManager::OnNodeRemoved(UUI_BulletChatNode* Node)
{
	// Whoever took the node off the canvas, it no longer shows its record.
	ForgetShowing(Node);
	if (!Node->HasStarted())
	{
		OnBulletChatNotPlaced.Broadcast(Node->GetData(), EBulletChatNotPlacedReason::RemovedBeforeStart);
	}
	KeepSpareNode(Node);
}

void UBulletChatTrackManager::ReportPlaced(UUI_BulletChatNode* Node, int32 FirstTrack, int32 Count, bool bShared)
{
	FBulletChatPlacement Placement;
	Placement.Node = Node;
	Placement.FirstTrack = FirstTrack;
	Placement.TrackCount = Count;
	Placement.bSharedBand = bShared;
	OnBulletChatPlaced.Broadcast(Placement);
}

void UBulletChatTrackManager::ForgetShowing(UUI_BulletChatNode* Node)
{
	ShowingNodes.Remove(Node);
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
	// Also the nodes no track lists yet (not measured): each one's removal forgets it.
	const TArray<TObjectPtr<UUI_BulletChatNode>> Showing = ShowingNodes;
	for (UUI_BulletChatNode* Node : Showing)
	{
		if (IsValid(Node))
		{
			Node->RemoveFromParent();
		}
	}
	ShowingNodes.Empty();
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
