#pragma once

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"
#include "Components/CanvasPanel.h"
#include "DanmakuDataStruct.h"
#include "DanmakuTrackManager.h"
#include "Engine/World.h"
#include "Headless/HeadlessApplication.h"
#include "UI_DanmakuNode.h"
#include "UI_DanmakuPositionedNode.h"
#include "UObject/GarbageCollection.h"

// A headless application with a full-viewport canvas on screen at a known viewport size and a track manager using the
// shipped node widgets. Ticks are fixed steps, random draws seeded.
class FDanmakuStage
{
public:
	static constexpr double LaneHeight = 15.12;

	explicit FDanmakuStage(FVector2D ViewportSize = FVector2D(1920.0, 1080.0), int32 Seed = 1) : App(ViewportSize)
	{
		FMath::RandInit(Seed);
		App.SetGarbageCollectionInterval(-1.0);
		Host = CreateWidget<UUserWidget>(
		    App.GetWorld(), StaticLoadClass(UUserWidget::StaticClass(), nullptr, TEXT("/Game/Test/WBP_DanmakuStage")));
		Host->AddToViewport();
		CanvasPanel = Cast<UCanvasPanel>(Host->GetWidgetFromName(TEXT("DanmakuCanvasPanel")));
		App.Tick(0.0f);
		// The overlay owns its manager through a property; the stage keeps it alive from native code instead.
		TrackManager.Reset(NewObject<UDanmakuTrackManager>(Host));
		// As the overlay's class properties do, keep the node classes loaded for as long as the manager uses them.
		LoadedNodeClass.Reset(NodeClass().Get());
		LoadedUserNodeClass.Reset(UserNodeClass().Get());
		LoadedPositionedNodeClass.Reset(StaticLoadClass(UUI_DanmakuPositionedNode::StaticClass(), nullptr,
		                                                TEXT("/Game/UI/WBP_DanmakuPositionedNode")));
		TrackManager->Init(CanvasPanel, LoadedNodeClass.Get(), LoadedUserNodeClass.Get());
		TrackManager->SetPositionedNodeClass(LoadedPositionedNodeClass.Get());
	}

	// Off the screen, so that no later stage ticks this one's nodes or the listeners a test bound to them.
	~FDanmakuStage() { Host->RemoveFromParent(); }

	static TSubclassOf<UUI_DanmakuNode> NodeClass()
	{
		return StaticLoadClass(UUI_DanmakuNode::StaticClass(), nullptr, TEXT("/Game/UI/WBP_DanmakuNode"));
	}
	static TSubclassOf<UUI_DanmakuNode> UserNodeClass()
	{
		return StaticLoadClass(UUI_DanmakuNode::StaticClass(), nullptr, TEXT("/Game/UI/WBP_DanmakuNodeUser"));
	}

	static FDanmakuData Comment(const FString& Content, EDanmakuMode Mode = EDanmakuMode::SCROLL, int32 FontSize = 24,
	                            const FString& Color = TEXT("#FFFFFF"))
	{
		FDanmakuData Data;
		Data.Content = Content;
		Data.Mode = Mode;
		Data.FontSize = FontSize;
		Data.FontColor = Color;
		return Data;
	}

	UDanmakuTrackManager* Manager() const { return TrackManager.Get(); }
	UCanvasPanel* Canvas() const { return CanvasPanel; }

	TArray<UUI_DanmakuNode*> Nodes() const
	{
		TArray<UUI_DanmakuNode*> Result;
		for (int32 Index = 0; Index < Canvas()->GetChildrenCount(); ++Index)
		{
			if (UUI_DanmakuNode* Node = Cast<UUI_DanmakuNode>(Canvas()->GetChildAt(Index)))
			{
				Result.Add(Node);
			}
		}
		return Result;
	}

	// The node the comment got on the canvas, or null when it was not shown.
	UUI_DanmakuNode* Spawn(const FDanmakuData& Data)
	{
		const int32 Before = Canvas()->GetChildrenCount();
		Manager()->SpawnDanmakuNode(Data);
		return Canvas()->GetChildrenCount() > Before ? Cast<UUI_DanmakuNode>(Canvas()->GetChildAt(Before)) : nullptr;
	}
	UUI_DanmakuNode* SpawnUser(const FDanmakuData& Data)
	{
		const int32 Before = Canvas()->GetChildrenCount();
		Manager()->SpawnDanmakuNodeUser(Data);
		return Canvas()->GetChildrenCount() > Before ? Cast<UUI_DanmakuNode>(Canvas()->GetChildAt(Before)) : nullptr;
	}

	// A node on the canvas that no manager or track knows about, left where the canvas put it.
	UUI_DanmakuNode* LooseNode(const FDanmakuData& Data, bool bPaused = true)
	{
		UUI_DanmakuNode* Node = CreateWidget<UUI_DanmakuNode>(Canvas(), NodeClass());
		Node->Init(Data, Canvas(), bPaused);
		return Node;
	}

	void Advance(float Seconds, float Step = 0.01f) { App.Advance(Seconds, Step); }

	FHeadlessApplication App;
	UUserWidget* Host = nullptr;
	UCanvasPanel* CanvasPanel = nullptr;
	TStrongObjectPtr<UDanmakuTrackManager> TrackManager;
	TStrongObjectPtr<UClass> LoadedNodeClass;
	TStrongObjectPtr<UClass> LoadedUserNodeClass;
	TStrongObjectPtr<UClass> LoadedPositionedNodeClass;
};
