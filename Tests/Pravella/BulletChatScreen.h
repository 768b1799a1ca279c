#pragma once

#include "CoreMinimal.h"
#include "BulletChat/UI_BulletChat.h"
#include "BulletChat/UI_BulletChatNode.h"
#include "Components/CanvasPanel.h"
#include "Engine/World.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/HeadlessViewport.h"
#include "Headless/MediaSourceRegistry.h"
#include "MediaPlayer.h"

// A comment node as it first appeared on the canvas, with the media time of that frame.
struct FShownBulletChat
{
	FString Content;
	double MediaSeconds = 0.0;
};

// A headless screen of the given size filled by the legacy overlay (WBP_BulletChat), whose media player plays
// a described ten-minute lesson. Records every comment node that appears on the overlay's canvas.
class FBulletChatScreen
{
public:
	static constexpr float FrameSeconds = 1.0f / 60.0f;
	static inline const TCHAR* LessonUrl = TEXT("https://lessons.test/Legacy/Lesson.mp4");

	explicit FBulletChatScreen(FVector2D Size = FVector2D(1000.0, 300.0), bool bInit = true) : App(Size)
	{
		App.SetGarbageCollectionInterval(-1.0);
		FMediaSourceDescription Description;
		Description.Duration = FTimespan::FromSeconds(600.0);
		Description.OpenSeconds = 0.0;
		FMediaSourceRegistry::Register(LessonUrl, Description);

		Player = NewObject<UMediaPlayer>();
		Player->AddToRoot();
		UClass* OverlayClass = StaticLoadClass(UUI_BulletChat::StaticClass(), nullptr, TEXT("/Game/UI/WBP_BulletChat"));
		Overlay = CreateWidget<UUI_BulletChat>(App.GetWorld(), OverlayClass);
		Overlay->AddToRoot();
		Overlay->AddToViewport();
		Canvas = Cast<UCanvasPanel>(Overlay->GetWidgetFromName(TEXT("RootCanvas")));
		if (bInit)
		{
			Overlay->Init(Player);
		}
	}

	~FBulletChatScreen()
	{
		Overlay->RemoveFromParent();
		Overlay->RemoveFromRoot();
		Player->RemoveFromRoot();
		FMediaSourceRegistry::UnregisterAll();
		FHeadlessViewport::Get().Reset();
	}

	void OpenLesson(bool bPlay = true)
	{
		Player->PlayOnOpen = bPlay;
		Player->OpenUrl(LessonUrl);
	}

	void Step()
	{
		App.Tick(FrameSeconds);
		// A node carries one record after another: it shows a new one when it was off the canvas at the last
		// step, or had started moving then and has not now (it ended and was given a record within the frame).
		TMap<UUI_BulletChatNode*, bool> Seen;
		for (UUI_BulletChatNode* Node : Nodes())
		{
			const bool* WasStarted = LastSeen.Find(Node);
			if (!WasStarted || (*WasStarted && !Node->HasStarted()))
			{
				ShownNodes.Add({Node->GetData().Content, Player->GetTime().GetTotalSeconds()});
			}
			Seen.Add(Node, Node->HasStarted());
		}
		LastSeen = MoveTemp(Seen);
	}
	void PlayUntil(double MediaSeconds)
	{
		for (int32 Frame = 0; Frame < 100000 && Player->GetTime().GetTotalSeconds() < MediaSeconds; ++Frame)
		{
			Step();
		}
	}
	void StepFor(double Seconds)
	{
		for (double Elapsed = 0.0; Elapsed < Seconds - 1e-6; Elapsed += FrameSeconds)
		{
			Step();
		}
	}

	TArray<UUI_BulletChatNode*> Nodes() const
	{
		TArray<UUI_BulletChatNode*> Result;
		for (UWidget* Widget : Canvas->GetAllChildren())
		{
			if (UUI_BulletChatNode* Node = Cast<UUI_BulletChatNode>(Widget))
			{
				Result.Add(Node);
			}
		}
		return Result;
	}
	UUI_BulletChatNode* FindNode(const FString& Content) const
	{
		for (UUI_BulletChatNode* Node : Nodes())
		{
			if (Node->GetData().Content == Content)
			{
				return Node;
			}
		}
		return nullptr;
	}
	const FShownBulletChat* FindShown(const FString& Content) const
	{
		return ShownNodes.FindByPredicate([&Content](const FShownBulletChat& Shown)
		                                  { return Shown.Content == Content; });
	}
	int32 CountShown(const FString& Content) const
	{
		int32 Count = 0;
		for (const FShownBulletChat& Shown : ShownNodes)
		{
			Count += Shown.Content == Content ? 1 : 0;
		}
		return Count;
	}

	FHeadlessApplication App;
	UMediaPlayer* Player = nullptr;
	UUI_BulletChat* Overlay = nullptr;
	UCanvasPanel* Canvas = nullptr;
	TArray<FShownBulletChat> ShownNodes;

private:
	TMap<UUI_BulletChatNode*, bool> LastSeen;
};

// One legacy record as JSON; an ID below zero leaves the "id" key out.
inline FString MakeBulletChatRecord(int32 ID, const TCHAR* Time, const TCHAR* Content)
{
	const FString Id = ID >= 0 ? FString::Printf(TEXT("\"id\":%d,"), ID) : FString();
	return FString::Printf(TEXT("{%s\"post_id\":3,\"bullet_chat_author_id\":4,\"bullet_chat_author\":\"viewer\","
	                            "\"bullet_chat_date\":\"2026.04.12-19.15.44\",\"time\":\"%s\","
	                            "\"bullet_chat_content\":\"%s\",\"fabulous\":2}"),
	                       *Id, Time, Content);
}

struct FBulletChatRecordText
{
	int32 ID = 0;
	const TCHAR* Time;
	const TCHAR* Content;
};

inline FString MakeBulletChatDocument(const TArray<FBulletChatRecordText>& Records)
{
	TArray<FString> Items;
	for (const FBulletChatRecordText& Record : Records)
	{
		Items.Add(MakeBulletChatRecord(Record.ID, Record.Time, Record.Content));
	}
	return TEXT("{\"datas\":[") + FString::Join(Items, TEXT(",")) + TEXT("]}");
}
