#pragma once

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"
#include "Components/CanvasPanel.h"
#include "Engine/World.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/MediaSourceRegistry.h"
#include "MediaPlayer.h"
#include "UI_Danmaku.h"
#include "UI_DanmakuBar.h"
#include "UI_DanmakuNode.h"
#include "UI_DanmakuNodeSetting.h"

#include "DanmakuScreen.generated.h"

// One comment as the host's send handler received it.
struct FSentDanmaku
{
	FString VideoURL;
	int64 SpawnTime = 0;
	FString Content;
	EDanmakuMode Mode = EDanmakuMode::SCROLL;
	int32 FontSize = 0;
	FString FontColor;
};

// Stands in for the lesson player around the overlay: it receives sent comments and clears the overlay when a
// seek completes.
UCLASS()
class UDanmakuHostDouble : public UObject
{
	GENERATED_BODY()

public:
	UFUNCTION()
	void OnSeekCompleted()
	{
		if (Overlay)
		{
			Overlay->Empty();
		}
	}

	UFUNCTION()
	void OnSend(const FString& VideoURL, const int64& SpawnTime, const FString& Content, const EDanmakuMode& Mode,
	            const int32& FontSize, const FString& FontColor)
	{
		Sent.Add({VideoURL, SpawnTime, Content, Mode, FontSize, FontColor});
	}

	UPROPERTY()
	TObjectPtr<UUI_Danmaku> Overlay;
	TArray<FSentDanmaku> Sent;
};

// A comment node as it first appeared on the overlay's canvas.
struct FShownDanmaku
{
	FString Content;
	bool bUserNode = false;
	// Media time of the frame it appeared in.
	double MediaSeconds = 0.0;
};

// A 1920x1080 screen holding the preview host (overlay, bar and style panel), wired up as the lesson player
// wires them, with a media player on a described source. Records every comment node that appears.
class FDanmakuScreen
{
public:
	static constexpr float FrameSeconds = 1.0f / 60.0f;
	static inline const TCHAR* LessonUrl = TEXT("https://lessons.test/lesson.mp4");

	explicit FDanmakuScreen(double DurationSeconds = 600.0, bool bWire = true)
	{
		App.SetGarbageCollectionInterval(-1.0);
		FMediaSourceDescription Description;
		Description.Duration = FTimespan::FromSeconds(DurationSeconds);
		Description.OpenSeconds = 0.0;
		FMediaSourceRegistry::Register(LessonUrl, Description);

		Player = NewObject<UMediaPlayer>();
		Player->AddToRoot();
		HostDouble = NewObject<UDanmakuHostDouble>();
		HostDouble->AddToRoot();

		UClass* HostClass = StaticLoadClass(UUserWidget::StaticClass(), nullptr, TEXT("/Game/UI/WBP_DanmakuPreview"));
		Host = CreateWidget<UUserWidget>(App.GetWorld(), HostClass);
		Host->AddToViewport();
		Overlay = Cast<UUI_Danmaku>(Host->GetWidgetFromName(TEXT("Danmaku")));
		Bar = Cast<UUI_DanmakuBar>(Host->GetWidgetFromName(TEXT("DanmakuBar")));
		Panel = Cast<UUI_DanmakuNodeSetting>(Host->GetWidgetFromName(TEXT("DanmakuNodeSetting")));
		Canvas = Child<UCanvasPanel>(Overlay, TEXT("DanmakuCanvasPanel"));
		Overlay->OnTrackManagerCreated.AddLambda([this](UDanmakuTrackManager* Manager) { Record(Manager); });
		Record(Overlay->GetTrackManager());
		HostDouble->Overlay = Overlay;
		Bar->OnSendDanmaku.AddDynamic(HostDouble, &UDanmakuHostDouble::OnSend);
		Player->OnSeekCompleted.AddDynamic(HostDouble, &UDanmakuHostDouble::OnSeekCompleted);
		if (bWire)
		{
			Wire(Player);
		}
	}

	~FDanmakuScreen()
	{
		// The viewport outlives the test; leave nothing on it for the next one.
		Host->RemoveFromParent();
		Player->RemoveFromRoot();
		HostDouble->RemoveFromRoot();
		FMediaSourceRegistry::UnregisterAll();
	}

	void Wire(UMediaPlayer* MediaPlayer) { Overlay->Init(MediaPlayer, Bar, Panel); }

	// A fullscreen toggle: the host's tree leaves the screen, comes back, and the host wires it up again.
	void TakeOffScreenAndBack()
	{
		Host->RemoveFromParent();
		Step();
		Host->AddToViewport();
		Wire(Player);
		Step();
	}

	void OpenLesson(bool bPlay = true)
	{
		Player->PlayOnOpen = bPlay;
		Player->OpenUrl(LessonUrl);
	}

	template <typename T>
	static T* Child(UUserWidget* Widget, const TCHAR* Name)
	{
		return Cast<T>(Widget->GetWidgetFromName(FName(Name)));
	}

	void Step(float Seconds = FrameSeconds) { App.Tick(Seconds); }
	// Ticks whole frames until the media clock reaches Seconds (or MaxFrames pass).
	void PlayUntil(double Seconds, int32 MaxFrames = 100000)
	{
		for (int32 Frame = 0; Frame < MaxFrames && Player->GetTime().GetTotalSeconds() < Seconds; ++Frame)
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
	void SeekTo(double Seconds)
	{
		Player->Seek(FTimespan::FromSeconds(Seconds));
		Step();
	}

	static FVector2D CenterOf(UWidget* Widget)
	{
		const FGeometry& Geometry = Widget->GetCachedGeometry();
		return Geometry.GetAbsolutePosition() + Geometry.GetAbsoluteSize() * 0.5;
	}
	void Click(UWidget* Widget)
	{
		App.Click(CenterOf(Widget));
		Step();
	}
	void Hover(UWidget* Widget)
	{
		App.MoveMouse(CenterOf(Widget));
		Step();
	}
	void MoveMouseAway()
	{
		App.MoveMouse(FVector2D(1900.0, 20.0));
		Step();
	}
	void Type(const FString& Text)
	{
		App.TypeText(Text);
		Step();
	}
	void PressEnter()
	{
		App.PressEnter();
		Step();
	}
	// Clicks into the comment field, types and presses Enter, as a viewer sends a comment.
	void SendComment(const FString& Text)
	{
		Click(Child<UWidget>(Bar, TEXT("InputDanmakuText")));
		Type(Text);
		PressEnter();
	}

	TArray<FString> ShownContents() const
	{
		TArray<FString> Contents;
		for (const FShownDanmaku& Shown : ShownNodes)
		{
			Contents.Add(Shown.Content);
		}
		return Contents;
	}
	int32 CountShown(const FString& Content, bool bUserNode) const
	{
		int32 Count = 0;
		for (const FShownDanmaku& Shown : ShownNodes)
		{
			Count += Shown.Content == Content && Shown.bUserNode == bUserNode ? 1 : 0;
		}
		return Count;
	}

	FHeadlessApplication App;
	UMediaPlayer* Player = nullptr;
	UDanmakuHostDouble* HostDouble = nullptr;
	UUserWidget* Host = nullptr;
	UUI_Danmaku* Overlay = nullptr;
	UUI_DanmakuBar* Bar = nullptr;
	UUI_DanmakuNodeSetting* Panel = nullptr;
	UCanvasPanel* Canvas = nullptr;
	TArray<FShownDanmaku> ShownNodes;

private:
	// A node carries one comment after another, so appearances are counted as the overlay places them.
	void Record(UDanmakuTrackManager* Manager)
	{
		if (!Manager)
		{
			return;
		}
		Manager->OnDanmakuPlaced.AddLambda(
		    [this](const FDanmakuPlacement& Placement) {
			    ShownNodes.Add(
			        {Placement.Node->GetData().Content, Placement.bUserNode, Player->GetTime().GetTotalSeconds()});
		    });
	}
};

// A comment document with one comment per (content, spawn seconds) pair, in the given order.
inline FString MakeDanmakuDocument(const TArray<TPair<FString, double>>& Comments)
{
	FString Json = TEXT("{\"datas\":[");
	for (int32 Index = 0; Index < Comments.Num(); ++Index)
	{
		Json += FString::Printf(
		    TEXT("%s{\"danmaku_id\":%d,\"post_id\":1,\"user_id\":2,\"user_display_name\":\"viewer\","
		         "\"danmaku_post_date\":\"2026.04.12-19.15.44\",\"danmaku_spawn_time\":%lld,"
		         "\"danmaku_content\":\"%s\",\"danmaku_mode\":0,\"danmaku_font_size\":24,"
		         "\"danmaku_font_color\":\"#FFFFFF\"}"),
		    Index ? TEXT(",") : TEXT(""), Index + 1,
		    static_cast<long long>(Comments[Index].Value * ETimespan::TicksPerSecond), *Comments[Index].Key);
	}
	return Json + TEXT("]}");
}
