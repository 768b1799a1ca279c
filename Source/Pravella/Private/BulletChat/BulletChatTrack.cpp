#include "BulletChat/BulletChatTrack.h"

#include "BulletChat/UI_BulletChatNode.h"
#include "Engine/World.h"
#include "TimerManager.h"

namespace BulletChatTrack
{
static constexpr float TickInterval = 0.5f;
} // namespace BulletChatTrack

UBulletChatTrack::UBulletChatTrack()
{
	if (UWorld* World = GetWorld())
	{
		World->GetTimerManager().SetTimer(TickTimerHandle, this, &UBulletChatTrack::OnTick,
		                                  BulletChatTrack::TickInterval, true);
	}
}

void UBulletChatTrack::AddNode(UUI_BulletChatNode* Node)
{
	Nodes.Add(Node);
	Node->OnEnded.AddUObject(this, &UBulletChatTrack::OnNodeEnd);
	// A node someone else took off the canvas no longer moves; as the newest node it would close the track.
	Node->OnRemoved.AddUObject(this, &UBulletChatTrack::OnNodeEnd);
}

bool UBulletChatTrack::CanAddNode(UUI_BulletChatNode* Node)
{
	// The newest node still on a canvas: one taken off it while its overlay was off screen never said so.
	const UUI_BulletChatNode* Last = nullptr;
	for (int32 Index = Nodes.Num() - 1; Index >= 0 && !Last; --Index)
	{
		Last = IsValid(Nodes[Index]) && Nodes[Index]->GetParent() ? Nodes[Index].Get() : nullptr;
	}
	if (!Last)
	{
		return true;
	}
	const double CanvasWidth = Last->GetParentSize().X;
	const double LastWidth = Last->GetNodeSize().X;
	// How far the newest node's left edge has come in from the right border.
	const float Entered = static_cast<float>(CanvasWidth - Last->GetPosition().X);
	if (!(Entered > LastWidth))
	{
		return false;
	}

	const float LastSpeed = Last->GetSpeed();
	const float NodeSpeed = Node->GetSpeed();
	if (LastSpeed >= NodeSpeed)
	{
		return true;
	}
	// The new node enters at the right border; it must not close the gap before the newest one has left.
	const float CatchUp = static_cast<float>((Entered - LastWidth) / (NodeSpeed - LastSpeed));
	const float Remain = static_cast<float>((CanvasWidth + LastWidth - Entered) / LastSpeed);
	return CatchUp > Remain;
}

void UBulletChatTrack::Empty()
{
	// The nodes' end events reach this track while it walks, so walk a copy.
	const TArray<TObjectPtr<UUI_BulletChatNode>> Listed = Nodes;
	for (UUI_BulletChatNode* Node : Listed)
	{
		Node->RemoveFromParent();
	}
	Nodes.Empty();
}

void UBulletChatTrack::Pause()
{
	for (UUI_BulletChatNode* Node : Nodes)
	{
		Node->Pause();
	}
}

void UBulletChatTrack::Resume()
{
	for (UUI_BulletChatNode* Node : Nodes)
	{
		Node->Resume();
	}
}

void UBulletChatTrack::OnNodeEnd(UUI_BulletChatNode* Node)
{
	Nodes.Remove(Node);
}

void UBulletChatTrack::OnTick() {}

void UBulletChatTrack::BeginDestroy()
{
	Nodes.Empty();
	if (UWorld* World = GetWorld())
	{
		World->GetTimerManager().ClearAllTimersForObject(this);
	}

	Super::BeginDestroy();
}
