#include "DanmakuTrackManager.h"

#include "Blueprint/UserWidget.h"
#include "Components/CanvasPanel.h"
#include "DanmakuTrack.h"
#include "Engine/World.h"
#include "UI_DanmakuNode.h"
#include "UI_DanmakuPositionedNode.h"

namespace DanmakuTrackManager
{
// Lanes that fit in Area percent of the canvas height; never negative.
static int32 ComputeTrackCount(int32 Area, double CanvasHeight)
{
	const float AreaHeight = static_cast<float>(Area) * static_cast<float>(CanvasHeight) * 0.01f;
	return FMath::Max(0, FMath::TruncToInt32(AreaHeight * (1.0 / UDanmakuTrackManager::TrackHeight)));
}

// Lanes a node covers: enough to hold its whole height, and at least one so that it is listed somewhere.
static int32 ComputeNodeTrackCount(const UUI_DanmakuNode* Node)
{
	return FMath::Max(1, FMath::CeilToInt32(Node->GetNodeSize().Y / UDanmakuTrackManager::TrackHeight));
}

static bool FitsInTracks(int32 TrackNum, int32 StartIndex, int32 TrackCount)
{
	return StartIndex >= 0 && int64(StartIndex) + int64(TrackCount) <= int64(TrackNum);
}
} // namespace DanmakuTrackManager

void UDanmakuTrackManager::Init(TObjectPtr<UCanvasPanel> InCanvasPanel, TSubclassOf<UUI_DanmakuNode> InDanmakuNodeClass,
                                TSubclassOf<UUI_DanmakuNode> InDanmakuNodeUserClass)
{
	DanmakuCanvasPanel = InCanvasPanel;
	DanmakuNodeClass = InDanmakuNodeClass;
	DanmakuNodeUserClass = InDanmakuNodeUserClass;
	// Spare nodes belong to the former canvas and class.
	SpareNodes.Empty();

	UpdateLocalSize();
}

FVector2D UDanmakuTrackManager::GetCanvasSize() const
{
	return IsValid(DanmakuCanvasPanel) ? DanmakuCanvasPanel->GetCachedGeometry().GetLocalSize() : FVector2D::ZeroVector;
}

void UDanmakuTrackManager::ResizeTracks(TArray<TObjectPtr<UDanmakuTrack>>& Tracks, int32& StoredCount, int32 Area,
                                        double CanvasHeight)
{
	const int32 NewCount = DanmakuTrackManager::ComputeTrackCount(Area, CanvasHeight);
	if (NewCount > Tracks.Num())
	{
		Tracks.Reserve(NewCount);
		while (Tracks.Num() < NewCount)
		{
			Tracks.Add(NewObject<UDanmakuTrack>(this));
		}
	}
	else
	{
		// Dropped lanes take their comments off the canvas with them.
		for (int32 Index = Tracks.Num() - 1; Index >= NewCount; --Index)
		{
			if (IsValid(Tracks[Index]))
			{
				Tracks[Index]->Empty();
			}
			Tracks.RemoveAt(Index);
		}
	}
	StoredCount = NewCount;
}

void UDanmakuTrackManager::SetDisplayControls(const FDanmakuDisplayControls& InControls)
{
	const bool bAreasChanged =
	    InControls.ScrollAndTopArea != Controls.ScrollAndTopArea || InControls.BottomArea != Controls.BottomArea;
	const bool bOpacityChanged = InControls.Opacity != Controls.Opacity;
	const bool bReverseChanged = InControls.bShowReverse != Controls.bShowReverse;
	Controls = InControls;
	if (bAreasChanged || bReverseChanged)
	{
		ScrollArea = Controls.ScrollAndTopArea;
		TopArea = Controls.ScrollAndTopArea;
		BottomArea = Controls.BottomArea;
		UpdateLocalSize();
	}
	if (bOpacityChanged && IsValid(DanmakuCanvasPanel))
	{
		for (UWidget* Child : DanmakuCanvasPanel->GetAllChildren())
		{
			if (UUI_DanmakuNode* Node = Cast<UUI_DanmakuNode>(Child))
			{
				Node->SetRenderOpacity(Controls.Opacity);
			}
		}
	}
	if (Controls.MaxPerSecond <= 0)
	{
		RecentShownTimes.Empty();
	}
	if (Controls.RepeatMergeSeconds <= 0.0f)
	{
		ShownTexts.Empty();
	}
}

double UDanmakuTrackManager::GetNow() const
{
	const UWorld* World = IsValid(DanmakuCanvasPanel) ? DanmakuCanvasPanel->GetWorld() : nullptr;
	return World ? World->GetTimeSeconds() : 0.0;
}

bool UDanmakuTrackManager::FindHoldBackReason(const FString& Text, bool bMayMerge, EDanmakuNotShownReason& OutReason)
{
	if (BlockList.IsValid() && BlockList->IsBlocked(Text))
	{
		OutReason = EDanmakuNotShownReason::Blocked;
		return true;
	}
	const double Now = GetNow();
	if (bMayMerge && Controls.RepeatMergeSeconds > 0.0f)
	{
		const FString Folded = FDanmakuBlockList::FoldCase(Text);
		FShownText* Shown = ShownTexts.Find(Folded);
		UUI_DanmakuNode* ShownNode = Shown ? Shown->Node.Get() : nullptr;
		// The node may have left and come back with another comment since.
		if (ShownNode && ShownNode->GetParent() && Now - Shown->ShownAt <= Controls.RepeatMergeSeconds &&
		    FDanmakuBlockList::FoldCase(ShownNode->GetData().Content) == Folded)
		{
			ShownNode->SetRepeatCount(++Shown->Count);
			OutReason = EDanmakuNotShownReason::MergedRepeat;
			return true;
		}
	}
	if (Controls.MaxOnScreen > 0 && IsValid(DanmakuCanvasPanel) &&
	    DanmakuCanvasPanel->GetChildrenCount() >= Controls.MaxOnScreen)
	{
		OutReason = EDanmakuNotShownReason::OverScreenLimit;
		return true;
	}
	if (Controls.MaxPerSecond > 0)
	{
		int32 Expired = 0;
		while (Expired < RecentShownTimes.Num() && Now - RecentShownTimes[Expired] >= 1.0)
		{
			++Expired;
		}
		RecentShownTimes.RemoveAt(0, Expired);
		if (RecentShownTimes.Num() >= Controls.MaxPerSecond)
		{
			OutReason = EDanmakuNotShownReason::OverRateLimit;
			return true;
		}
	}
	return false;
}

void UDanmakuTrackManager::NoteShown(UUI_DanmakuNode* DanmakuNode, bool bUserNode)
{
	// Also when opaque: a reused node may carry the opacity of an earlier setting.
	DanmakuNode->SetRenderOpacity(Controls.Opacity);
	const double Now = GetNow();
	if (Controls.MaxPerSecond > 0)
	{
		RecentShownTimes.Add(Now);
	}
	// Positioned comments are drawn art: their repeats are not counted on them.
	if (Controls.RepeatMergeSeconds > 0.0f && !bUserNode && DanmakuNode->GetData().Mode != EDanmakuMode::POSITIONED)
	{
		if (ShownTexts.Num() >= ShownTextsPruneAt)
		{
			// Forget texts whose comments are gone or too old to count repeats, so the map stays small.
			TMap<FString, FShownText> Kept;
			for (const TPair<FString, FShownText>& Entry : ShownTexts)
			{
				const UUI_DanmakuNode* Node = Entry.Value.Node.Get();
				if (Node && Node->GetParent() && Now - Entry.Value.ShownAt <= Controls.RepeatMergeSeconds)
				{
					Kept.Add(Entry.Key, Entry.Value);
				}
			}
			ShownTexts = MoveTemp(Kept);
			ShownTextsPruneAt = FMath::Max(256, ShownTexts.Num() * 2);
		}
		FShownText& Shown = ShownTexts.FindOrAdd(FDanmakuBlockList::FoldCase(DanmakuNode->GetData().Content));
		Shown.Node = DanmakuNode;
		Shown.ShownAt = Now;
		Shown.Count = 1;
	}
}

void UDanmakuTrackManager::UpdateLocalSize()
{
	const double CanvasHeight = GetCanvasSize().Y;
	ResizeTracks(ScrollTracks, ScrollTrackCount, ScrollArea, CanvasHeight);
	ResizeTracks(TopTracks, TopTrackCount, TopArea, CanvasHeight);
	ResizeTracks(BottomTracks, BottomTrackCount, BottomArea, CanvasHeight);
	ResizeTracks(ReverseTracks, ReverseTrackCount, Controls.bShowReverse ? ScrollArea : 0, CanvasHeight);
}

UUI_DanmakuNode* UDanmakuTrackManager::CreateNode(TSubclassOf<UUI_DanmakuNode> NodeClass)
{
	UClass* Class = NodeClass.Get();
	if (!IsValid(Class) || !IsValid(DanmakuCanvasPanel))
	{
		return nullptr;
	}
	UUI_DanmakuNode* Node = CreateWidget<UUI_DanmakuNode>(DanmakuCanvasPanel.Get(), Class);
	if (Node)
	{
		Node->SetDisplayScales(Controls.SpeedScale, Controls.FontScale);
	}
	return Node;
}

void UDanmakuTrackManager::SpawnDanmakuNode(const FDanmakuData& InData)
{
	if (bIsPaused)
	{
		ReportNotShown(nullptr, InData, EDanmakuNotShownReason::Paused);
		return;
	}
	if (InData.Mode == EDanmakuMode::POSITIONED)
	{
		SpawnPositionedNode(InData, false);
		return;
	}
	EDanmakuNotShownReason HoldBackReason;
	if (FindHoldBackReason(InData.Content, true, HoldBackReason))
	{
		ReportNotShown(nullptr, InData, HoldBackReason);
		return;
	}
	UUI_DanmakuNode* Node = nullptr;
	while (!Node && !SpareNodes.IsEmpty())
	{
		// One a host put back on a canvas, or destroyed, is not spare.
		Node = SpareNodes.Pop().Get();
		Node = IsValid(Node) && !Node->GetParent() ? Node : nullptr;
	}
	if (Node)
	{
		// Whoever listened to the node for its former comment (its lanes, a host's trace) is done with it.
		Node->OnEnded.Clear();
		Node->OnCanceled.Clear();
		Node->SetDisplayScales(Controls.SpeedScale, Controls.FontScale);
	}
	else
	{
		Node = CreateNode(DanmakuNodeClass);
		if (!Node)
		{
			return;
		}
		Node->OnStarted.AddUObject(this, &UDanmakuTrackManager::OnDanmakuNodeStarted);
	}
	Node->OnEnded.AddUObject(this, &UDanmakuTrackManager::KeepSpareNode);
	Node->OnCanceled.AddUObject(this, &UDanmakuTrackManager::KeepSpareNode);
	Node->Init(InData, DanmakuCanvasPanel, bIsPaused);
}

void UDanmakuTrackManager::SpawnDanmakuNodeUser(const FDanmakuData& InData)
{
	if (InData.Mode == EDanmakuMode::POSITIONED)
	{
		SpawnPositionedNode(InData, true);
		return;
	}
	// The viewer always sees their own comment unless it is on the block list: no density limit or merging.
	if (BlockList.IsValid() && BlockList->IsBlocked(InData.Content))
	{
		ReportNotShown(nullptr, InData, EDanmakuNotShownReason::Blocked);
		return;
	}
	UUI_DanmakuNode* Node = CreateNode(DanmakuNodeUserClass);
	if (!Node)
	{
		return;
	}
	Node->OnStarted.AddUObject(this, &UDanmakuTrackManager::OnDanmakuNodeUserStarted);
	Node->OnEnded.AddUObject(this, &UDanmakuTrackManager::OnDanmakuNodeEnded);
	Node->OnCanceled.AddUObject(this, &UDanmakuTrackManager::OnDanmakuNodeCanceled);
	Node->Init(InData, DanmakuCanvasPanel, bIsPaused);
}

TArray<TObjectPtr<UDanmakuTrack>>* UDanmakuTrackManager::FindTracksForMode(EDanmakuMode Mode)
{
	switch (Mode)
	{
		case EDanmakuMode::SCROLL:
			return &ScrollTracks;
		case EDanmakuMode::TOP:
			return &TopTracks;
		case EDanmakuMode::BOTTOM:
			return &BottomTracks;
		case EDanmakuMode::REVERSE:
			return Controls.bShowReverse ? &ReverseTracks : nullptr;
		default:
			return nullptr;
	}
}

const TArray<TObjectPtr<UDanmakuTrack>>* UDanmakuTrackManager::FindOppositeTracks(EDanmakuMode Mode) const
{
	switch (Mode)
	{
		case EDanmakuMode::SCROLL:
			return &ReverseTracks;
		case EDanmakuMode::REVERSE:
			return &ScrollTracks;
		default:
			return nullptr;
	}
}

int32 UDanmakuTrackManager::FindFreeStartIndex(const TArray<TObjectPtr<UDanmakuTrack>>& Tracks, UUI_DanmakuNode* Node,
                                               int32 TrackCount,
                                               const TArray<TObjectPtr<UDanmakuTrack>>* OppositeTracks)
{
	// A tall comment must not be put across a lane whose newest comment it would run into, so every lane it
	// covers has to admit it. Each lane is asked once: a refusal restarts the run of admitting lanes after it.
	// Comments of the two directions on one band would always meet unless one left first, so a band takes a
	// direction only while the other has nothing on it.
	int32 RunLength = 0;
	for (int32 Index = 0; Index < Tracks.Num(); ++Index)
	{
		const bool bOppositeBusy = OppositeTracks && OppositeTracks->IsValidIndex(Index) &&
		                           IsValid((*OppositeTracks)[Index]) && (*OppositeTracks)[Index]->HasNodeOnCanvas();
		if (bOppositeBusy || !IsValid(Tracks[Index]) || !Tracks[Index]->CanAddNode(Node))
		{
			RunLength = 0;
			continue;
		}
		if (++RunLength >= TrackCount)
		{
			return Index - TrackCount + 1;
		}
	}
	return INDEX_NONE;
}

bool UDanmakuTrackManager::AddNodeToTracks(TArray<TObjectPtr<UDanmakuTrack>>& Tracks, UUI_DanmakuNode* Node,
                                           int32 StartIndex, int32 TrackCount, const FVector2D& Position)
{
	if (!DanmakuTrackManager::FitsInTracks(Tracks.Num(), StartIndex, TrackCount))
	{
		Node->RemoveFromParent();
		return false;
	}
	for (int32 Index = StartIndex; Index < StartIndex + TrackCount; ++Index)
	{
		Tracks[Index]->AddNode(Node);
		Node->AddUsedTrack(Tracks[Index]);
	}
	Node->SetPosition(Position);
	if (bIsPaused)
	{
		Node->Pause();
	}
	return true;
}

bool UDanmakuTrackManager::AddNodeToScrollTracks(UUI_DanmakuNode* Node, int32 StartIndex, int32 TrackCount)
{
	// The node starts with its left edge on the right border, just outside the visible area.
	const FVector2D Position(GetCanvasSize().X, StartIndex * TrackHeight);
	return AddNodeToTracks(ScrollTracks, Node, StartIndex, TrackCount, Position);
}

bool UDanmakuTrackManager::AddNodeToTopTracks(UUI_DanmakuNode* Node, int32 StartIndex, int32 TrackCount)
{
	const FVector2D Position(GetCanvasSize().X * 0.5 - Node->GetNodeSize().X * 0.5, StartIndex * TrackHeight);
	return AddNodeToTracks(TopTracks, Node, StartIndex, TrackCount, Position);
}

bool UDanmakuTrackManager::AddNodeToBottomTracks(UUI_DanmakuNode* Node, int32 StartIndex, int32 TrackCount)
{
	// Lane 0 puts the node's bottom edge on the canvas's bottom edge; higher lanes stack upwards.
	const FVector2D CanvasSize = GetCanvasSize();
	const FVector2D NodeSize = Node->GetNodeSize();
	const FVector2D Position(CanvasSize.X * 0.5 - NodeSize.X * 0.5,
	                         CanvasSize.Y - StartIndex * TrackHeight - NodeSize.Y);
	return AddNodeToTracks(BottomTracks, Node, StartIndex, TrackCount, Position);
}

bool UDanmakuTrackManager::AddNodeToReverseTracks(UUI_DanmakuNode* Node, int32 StartIndex, int32 TrackCount)
{
	// The node starts with its right edge on the left border, just outside the visible area.
	const FVector2D Position(-Node->GetNodeSize().X, StartIndex * TrackHeight);
	return AddNodeToTracks(ReverseTracks, Node, StartIndex, TrackCount, Position);
}

void UDanmakuTrackManager::SetPositionedNodeClass(TSubclassOf<UUI_DanmakuPositionedNode> InClass)
{
	DanmakuPositionedNodeClass = InClass;
}

void UDanmakuTrackManager::ReportJumpedOver(const FDanmakuData& InData)
{
	ReportNotShown(nullptr, InData, EDanmakuNotShownReason::JumpedOver);
}

void UDanmakuTrackManager::SpawnPositionedNode(const FDanmakuData& InData, bool bUserNode)
{
	FDanmakuPositionedComment Comment;
	if (!FDanmakuPositionedComment::Parse(InData.Content, Comment))
	{
		ReportNotShown(nullptr, InData, EDanmakuNotShownReason::BadPositionedPayload);
		return;
	}
	EDanmakuNotShownReason HoldBackReason;
	const bool bHeldBack = bUserNode ? BlockList.IsValid() && BlockList->IsBlocked(Comment.Text)
	                                 : FindHoldBackReason(Comment.Text, false, HoldBackReason);
	if (bHeldBack)
	{
		ReportNotShown(nullptr, InData, bUserNode ? EDanmakuNotShownReason::Blocked : HoldBackReason);
		return;
	}
	UClass* Class = DanmakuPositionedNodeClass.Get();
	UUI_DanmakuPositionedNode* Node = IsValid(Class) && IsValid(DanmakuCanvasPanel)
	                                      ? CreateWidget<UUI_DanmakuPositionedNode>(DanmakuCanvasPanel.Get(), Class)
	                                      : nullptr;
	if (!Node)
	{
		ReportNotShown(nullptr, InData, EDanmakuNotShownReason::ModeNeverPlaced);
		return;
	}
	Node->OnEnded.AddUObject(this, &UDanmakuTrackManager::OnDanmakuNodeEnded);
	Node->OnCanceled.AddUObject(this, &UDanmakuTrackManager::OnDanmakuNodeCanceled);
	Node->InitPositioned(InData, Comment, DanmakuCanvasPanel, bIsPaused);
	PositionedNodes.Add(Node);
	NoteShown(Node, bUserNode);
	FDanmakuPlacement Placement;
	Placement.Node = Node;
	Placement.bUserNode = bUserNode;
	OnDanmakuPlaced.Broadcast(Placement);
}

void UDanmakuTrackManager::OnDanmakuNodeStarted(UUI_DanmakuNode* DanmakuNode)
{
	UpdateLocalSize();
	const int32 TrackCount = DanmakuTrackManager::ComputeNodeTrackCount(DanmakuNode);

	const TArray<TObjectPtr<UDanmakuTrack>>* Tracks = FindTracksForMode(DanmakuNode->GetData().Mode);
	if (!Tracks || Tracks->IsEmpty())
	{
		DanmakuNode->RemoveFromParent();
		ReportNotShown(DanmakuNode, DanmakuNode->GetData(),
		               Tracks ? EDanmakuNotShownReason::NoLanes : EDanmakuNotShownReason::ModeNeverPlaced);
		KeepSpareNode(DanmakuNode);
		return;
	}

	const int32 StartIndex =
	    FindFreeStartIndex(*Tracks, DanmakuNode, TrackCount, FindOppositeTracks(DanmakuNode->GetData().Mode));
	if (StartIndex == INDEX_NONE)
	{
		// Dropped, not queued: a late comment is worth less than a readable screen.
		DanmakuNode->RemoveFromParent();
		ReportNotShown(DanmakuNode, DanmakuNode->GetData(), EDanmakuNotShownReason::NoFreeLane);
		KeepSpareNode(DanmakuNode);
		return;
	}
	if (!PlaceNode(DanmakuNode, StartIndex, TrackCount, false))
	{
		KeepSpareNode(DanmakuNode);
	}
}

void UDanmakuTrackManager::KeepSpareNode(UUI_DanmakuNode* DanmakuNode)
{
	// A burst can bring thousands of comments in a second with only a few lanes free, and a long lesson brings
	// a comment every few frames. The node of one that was not placed, or that has left the canvas, carries the
	// next comment rather than another being made to live until the next collection, so nodes stay as many as
	// the canvas has held at once. A node may say it left twice (cancelled as it is taken off, then ended).
	if (!DanmakuNode->GetParent() && !SpareNodes.Contains(DanmakuNode))
	{
		SpareNodes.Add(DanmakuNode);
	}
}

void UDanmakuTrackManager::ReportNotShown(const UUI_DanmakuNode* Node, const FDanmakuData& Data,
                                          EDanmakuNotShownReason Reason)
{
	NodeNotShown = Node;
	OnDanmakuNotShown.Broadcast(Data, Reason);
	NodeNotShown = nullptr;
}

void UDanmakuTrackManager::OnDanmakuNodeUserStarted(UUI_DanmakuNode* DanmakuNode)
{
	UpdateLocalSize();
	const int32 TrackCount = DanmakuTrackManager::ComputeNodeTrackCount(DanmakuNode);

	const TArray<TObjectPtr<UDanmakuTrack>>* Tracks = FindTracksForMode(DanmakuNode->GetData().Mode);
	if (!Tracks)
	{
		// No lane takes this mode; leaving the node unplaced would strand it wherever the canvas put it.
		DanmakuNode->RemoveFromParent();
		ReportNotShown(DanmakuNode, DanmakuNode->GetData(), EDanmakuNotShownReason::ModeNeverPlaced);
		return;
	}

	int32 StartIndex =
	    FindFreeStartIndex(*Tracks, DanmakuNode, TrackCount, FindOppositeTracks(DanmakuNode->GetData().Mode));
	if (StartIndex == INDEX_NONE)
	{
		// The viewer must see their own comment, so it goes on a random lane even if that overlaps others.
		const int32 Spare = Tracks->Num() - TrackCount;
		StartIndex = Spare < 0 ? 0 : FMath::RandRange(0, Spare);
	}
	PlaceNode(DanmakuNode, StartIndex, TrackCount, true);
}

bool UDanmakuTrackManager::PlaceNode(UUI_DanmakuNode* DanmakuNode, int32 StartIndex, int32 TrackCount, bool bUserNode)
{
	bool bPlaced = false;
	switch (DanmakuNode->GetData().Mode)
	{
		case EDanmakuMode::SCROLL:
			bPlaced = AddNodeToScrollTracks(DanmakuNode, StartIndex, TrackCount);
			break;
		case EDanmakuMode::TOP:
			bPlaced = AddNodeToTopTracks(DanmakuNode, StartIndex, TrackCount);
			break;
		case EDanmakuMode::REVERSE:
			bPlaced = AddNodeToReverseTracks(DanmakuNode, StartIndex, TrackCount);
			break;
		default:
			bPlaced = AddNodeToBottomTracks(DanmakuNode, StartIndex, TrackCount);
			break;
	}
	if (!bPlaced)
	{
		const TArray<TObjectPtr<UDanmakuTrack>>* Tracks = FindTracksForMode(DanmakuNode->GetData().Mode);
		ReportNotShown(DanmakuNode, DanmakuNode->GetData(),
		               Tracks && !Tracks->IsEmpty() ? EDanmakuNotShownReason::TooTall
		                                            : EDanmakuNotShownReason::NoLanes);
		return false;
	}
	NoteShown(DanmakuNode, bUserNode);
	FDanmakuPlacement Placement;
	Placement.Node = DanmakuNode;
	Placement.FirstLane = StartIndex;
	Placement.LaneCount = TrackCount;
	Placement.bUserNode = bUserNode;
	OnDanmakuPlaced.Broadcast(Placement);
	return true;
}

void UDanmakuTrackManager::OnDanmakuNodeEnded(UUI_DanmakuNode* DanmakuNode)
{
	PositionedNodes.Remove(DanmakuNode);
}

void UDanmakuTrackManager::OnDanmakuNodeCanceled(UUI_DanmakuNode* DanmakuNode)
{
	PositionedNodes.Remove(DanmakuNode);
}

void UDanmakuTrackManager::ForEachTrack(TFunctionRef<void(UDanmakuTrack&)> Visit)
{
	for (TArray<TObjectPtr<UDanmakuTrack>>* Tracks : {&ScrollTracks, &TopTracks, &BottomTracks, &ReverseTracks})
	{
		for (UDanmakuTrack* Track : *Tracks)
		{
			if (IsValid(Track))
			{
				Visit(*Track);
			}
		}
	}
}

void UDanmakuTrackManager::Pause()
{
	ForEachTrack([](UDanmakuTrack& Track) { Track.Pause(); });
	for (UUI_DanmakuNode* Node : PositionedNodes)
	{
		if (IsValid(Node))
		{
			Node->Pause();
		}
	}
	bIsPaused = true;
}

void UDanmakuTrackManager::Resume()
{
	ForEachTrack([](UDanmakuTrack& Track) { Track.Resume(); });
	for (UUI_DanmakuNode* Node : PositionedNodes)
	{
		if (IsValid(Node))
		{
			Node->Resume();
		}
	}
	bIsPaused = false;
}

void UDanmakuTrackManager::Empty()
{
	ForEachTrack([](UDanmakuTrack& Track) { Track.Empty(); });
	// Removed nodes report back through their events while we walk, so walk a copy.
	const TArray<TObjectPtr<UUI_DanmakuNode>> Positioned = PositionedNodes;
	for (UUI_DanmakuNode* Node : Positioned)
	{
		if (IsValid(Node))
		{
			Node->RemoveFromParent();
		}
	}
	PositionedNodes.Empty();
}

void UDanmakuTrackManager::Open(bool bResume)
{
	if (bResume)
	{
		Resume();
	}
	if (IsValid(DanmakuCanvasPanel))
	{
		DanmakuCanvasPanel->SetVisibility(ESlateVisibility::SelfHitTestInvisible);
	}
}

void UDanmakuTrackManager::Close()
{
	if (IsValid(DanmakuCanvasPanel))
	{
		DanmakuCanvasPanel->SetVisibility(ESlateVisibility::Hidden);
		// The removed nodes leave their tracks through their own events.
		DanmakuCanvasPanel->ClearChildren();
	}
	Pause();
}

void UDanmakuTrackManager::BeginDestroy()
{
	for (UDanmakuTrack* Track : ScrollTracks)
	{
		if (Track)
		{
			Track->ConditionalBeginDestroy();
		}
	}
	ScrollTracks.Empty();

	Super::BeginDestroy();
}
