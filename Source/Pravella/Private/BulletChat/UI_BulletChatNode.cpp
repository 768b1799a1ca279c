#include "BulletChat/UI_BulletChatNode.h"

#include "Components/CanvasPanel.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/PanelWidget.h"
#include "Components/TextBlock.h"
#include "Engine/World.h"
#include "TimerManager.h"

namespace BulletChatNode
{
static constexpr double StepSeconds = 0.01;
static constexpr float MinSpeed = 100.0f;
// 40 / 32767: a random draw of 15 bits spreads the speed over 100 to 140.
static constexpr float SpeedPerDraw = 0.0012207404f;
} // namespace BulletChatNode

void UUI_BulletChatNode::Init(const FBulletChatData& InData)
{
	Data = InData;
	NodeText->SetText(FText::FromString(Data.Content));
	// A node carries one record after another: each starts unmeasured, unmoved and running.
	NodeSize = FVector2D::ZeroVector;
	Speed = 0.0f;
	LifeTime = 0.0f;
	ElapsedTime = 0.0f;
	bStarted = false;
	bEnded = false;
	bRemoved = false;
	bIsPaused = false;
	bMeasureNextTick = false;
	ForceLayoutPrepass();
}

FVector2D UUI_BulletChatNode::GetPosition() const
{
	return CanvasSlot ? CanvasSlot->GetPosition() : FVector2D::ZeroVector;
}

void UUI_BulletChatNode::SetPosition(FVector2D InPosition)
{
	if (CanvasSlot)
	{
		CanvasSlot->SetPosition(InPosition);
	}
}

void UUI_BulletChatNode::Pause()
{
	bIsPaused = true;
}

void UUI_BulletChatNode::Resume()
{
	bIsPaused = false;
}

void UUI_BulletChatNode::NativeConstruct()
{
	Super::NativeConstruct();

	CanvasSlot = Cast<UCanvasPanelSlot>(Slot);
	if (CanvasSlot)
	{
		CanvasSlot->SetAutoSize(true);
	}
	// Destruction cleared the step timer; a node rebuilt with its overlay goes on from where it stood.
	if (bStarted && !bEnded)
	{
		StartStepTimer();
	}
}

void UUI_BulletChatNode::NativeTick(const FGeometry& MyGeometry, float InDeltaTime)
{
	Super::NativeTick(MyGeometry, InDeltaTime);

	if (bIsPaused)
	{
		return;
	}
	const FVector2D CanvasSize = NodeCanvas->GetCachedGeometry().GetLocalSize();
	if (CanvasSize.X == 0.0 && CanvasSize.Y == 0.0)
	{
		return;
	}
	if (bStarted)
	{
		return;
	}
	// The inner canvas may keep the size of the node's former record until it is laid out again, which an engine
	// may do after this tick. A size that differs from what the text asks for is one tick from fresh.
	if (!bMeasureNextTick && !CanvasSize.Equals(NodeCanvas->GetDesiredSize(), 0.01))
	{
		bMeasureNextTick = true;
		return;
	}
	InitData();
	StartStepTimer();
	OnStarted.ExecuteIfBound(this);
	bStarted = true;
}

void UUI_BulletChatNode::NativeDestruct()
{
	Super::NativeDestruct();

	// A node whose overlay leaves the screen stays on the canvas; only one taken off it is gone.
	if (!GetParent() && !bEnded && !bRemoved)
	{
		bRemoved = true;
		OnRemoved.Broadcast(this);
	}

	if (UWorld* World = GetWorld())
	{
		World->GetTimerManager().ClearAllTimersForObject(this);
	}
}

void UUI_BulletChatNode::InitData()
{
	NodeSize = NodeCanvas->GetCachedGeometry().GetLocalSize();
	const UPanelWidget* Parent = GetParent();
	ParentSize = Parent ? Parent->GetCachedGeometry().GetLocalSize() : FVector2D::ZeroVector;
	Speed = BulletChatNode::MinSpeed + static_cast<float>(FMath::Rand() & 0x7FFF) * BulletChatNode::SpeedPerDraw;
	LifeTime = static_cast<float>((NodeSize.X + ParentSize.X) / Speed);
}

void UUI_BulletChatNode::StartStepTimer()
{
	if (UWorld* World = GetWorld())
	{
		World->GetTimerManager().SetTimer(TickTimerHandle,
		                                  FTimerDelegate::CreateUObject(this, &UUI_BulletChatNode::NodeTick),
		                                  static_cast<float>(BulletChatNode::StepSeconds), true);
	}
}

void UUI_BulletChatNode::NodeTick()
{
	if (bIsPaused)
	{
		return;
	}
	ElapsedTime = static_cast<float>(ElapsedTime + BulletChatNode::StepSeconds);
	if (ElapsedTime < LifeTime)
	{
		const FVector2D Position = GetPosition();
		SetPosition(FVector2D(Position.X - Speed * BulletChatNode::StepSeconds, Position.Y));
		return;
	}

	// Stopped first, so that a timer call still due in this frame cannot end the node a second time.
	if (UWorld* World = GetWorld())
	{
		World->GetTimerManager().ClearTimer(TickTimerHandle);
	}
	bEnded = true;
	OnEnded.Broadcast(this);
	RemoveFromParent();
}
