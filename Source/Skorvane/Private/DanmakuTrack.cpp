#include "DanmakuTrack.h"

#include "Components/PanelWidget.h"
#include "Engine/World.h"
#include "TimerManager.h"
#include "UI_DanmakuNode.h"

namespace DanmakuTrack
{
static constexpr float TickInterval = 0.5f;

static bool IsOnCanvas(const UUI_DanmakuNode* Node)
{
	return IsValid(Node) && IsValid(Node->GetParent());
}
} // namespace DanmakuTrack

UDanmakuTrack::UDanmakuTrack()
{
	if (UWorld* World = GetWorld())
	{
		World->GetTimerManager().SetTimer(TickTimerHandle, this, &UDanmakuTrack::OnTick, DanmakuTrack::TickInterval,
		                                  true);
	}
}

void UDanmakuTrack::AddNode(UUI_DanmakuNode* Node)
{
	Nodes.Add(Node);
	Node->OnEnded.AddUObject(this, &UDanmakuTrack::OnNodeEnded);
	Node->OnCanceled.AddUObject(this, &UDanmakuTrack::OnNodeEnded);
}

void UDanmakuTrack::RemoveNode(UUI_DanmakuNode* Node)
{
	Nodes.Remove(Node);
}

void UDanmakuTrack::OnNodeEnded(UUI_DanmakuNode* Node)
{
	Nodes.Remove(Node);
}

void UDanmakuTrack::OnTick() {}

bool UDanmakuTrack::CanAddNode(UUI_DanmakuNode* Node)
{
	switch (Node->GetData().Mode)
	{
		case EDanmakuMode::SCROLL:
		case EDanmakuMode::REVERSE:
			return CanAddScrollNode(Node);
		case EDanmakuMode::TOP:
			return CanAddTopNode(Node);
		case EDanmakuMode::BOTTOM:
			return CanAddBottomNode(Node);
		default:
			return false;
	}
}

UUI_DanmakuNode* UDanmakuTrack::FindNewestNodeOnCanvas() const
{
	for (int32 Index = Nodes.Num() - 1; Index >= 0; --Index)
	{
		if (DanmakuTrack::IsOnCanvas(Nodes[Index]))
		{
			return Nodes[Index];
		}
	}
	return nullptr;
}

bool UDanmakuTrack::CanAddScrollNode(UUI_DanmakuNode* Node)
{
	const UUI_DanmakuNode* Last = FindNewestNodeOnCanvas();
	if (!Last)
	{
		return true;
	}

	const float CanvasWidth = static_cast<float>(Last->GetParent()->GetCachedGeometry().GetLocalSize().X);
	const float LastWidth = static_cast<float>(Last->GetNodeSize().X);
	// How far the newest node's trailing edge has come in from the border it entered at: the right border for a
	// scroll node, the left one for a reverse node.
	const float Entered =
	    static_cast<float>(Last->GetData().Mode == EDanmakuMode::REVERSE ? Last->GetPosition().X + LastWidth
	                                                                     : double(CanvasWidth) - Last->GetPosition().X);
	if (!(Entered > LastWidth))
	{
		return false;
	}

	const float LastSpeed = Last->GetRollSpeed();
	const float NodeSpeed = Node->GetRollSpeed();
	if (LastSpeed >= NodeSpeed)
	{
		return true;
	}

	// The new node enters at the same border; it must not close the gap before the last one has left.
	const float CatchUpTime = static_cast<float>(double(Entered - LastWidth) / double(NodeSpeed - LastSpeed));
	const float LeaveTime = static_cast<float>((double(CanvasWidth) + LastWidth - Entered) / double(LastSpeed));
	return CatchUpTime > LeaveTime;
}

bool UDanmakuTrack::CanAddTopNode(UUI_DanmakuNode* Node)
{
	return FindNewestNodeOnCanvas() == nullptr;
}

bool UDanmakuTrack::CanAddBottomNode(UUI_DanmakuNode* Node)
{
	return FindNewestNodeOnCanvas() == nullptr;
}

void UDanmakuTrack::Pause()
{
	for (UUI_DanmakuNode* Node : Nodes)
	{
		if (IsValid(Node))
		{
			Node->Pause();
		}
	}
}

void UDanmakuTrack::Resume()
{
	for (UUI_DanmakuNode* Node : Nodes)
	{
		if (IsValid(Node))
		{
			Node->Resume();
		}
	}
}

void UDanmakuTrack::Empty()
{
	// Removed nodes report back through OnNodeEnded while we walk, so walk a copy.
	const TArray<TObjectPtr<UUI_DanmakuNode>> Listed = Nodes;
	for (UUI_DanmakuNode* Node : Listed)
	{
		if (IsValid(Node))
		{
			Node->RemoveFromParent();
		}
	}
	Nodes.Empty();
}

void UDanmakuTrack::BeginDestroy()
{
	Nodes.Empty();
	if (UWorld* World = GetWorld())
	{
		World->GetTimerManager().ClearAllTimersForObject(this);
	}

	Super::BeginDestroy();
}
