#pragma once

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"
#include "Components/CanvasPanel.h"
#include "Engine/Engine.h"
#include "Engine/World.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/MediaSourceRegistry.h"
#include "MediaPlayer.h"
#include "UI_DanmakuNode.h"
#include "UI_PravellaSystem.h"

#include "LessonPlayerScreen.generated.h"

// Stands in for the game around the player: counts the end-of-video event, may open the next lesson from it, and
// listens to the media player directly as a host's own code would.
UCLASS()
class ULessonHostDouble : public UObject
{
	GENERATED_BODY()

public:
	UFUNCTION()
	void OnFinished()
	{
		++Finished;
		UrlSeenAtEnd = Player ? Player->GetUrl() : FString();
		if (Player && !NextUrl.IsEmpty())
		{
			Player->OpenUrl(NextUrl);
		}
		if (Player && bRestartAtEnd)
		{
			Player->Seek(FTimespan::Zero());
			Player->Play();
		}
	}

	UFUNCTION()
	void OnMediaEnded() { ++MediaEnded; }

	UFUNCTION()
	void OnTypeChanged(bool bFullScreen) { TypeChanges += bFullScreen ? TEXT("F") : TEXT("E"); }

	UFUNCTION()
	void OnSent(const FString& VideoURL, const int64& SpawnTime, const FString& Content, const EDanmakuMode& Mode,
	            const int32& FontSize, const FString& FontColor)
	{
		Sent.Add(Content);
	}

	UPROPERTY()
	TObjectPtr<UMediaPlayer> Player;
	TArray<FString> Sent;
	// "F" for each move to fullscreen, "E" for each move back into the panel.
	FString TypeChanges;
	FString NextUrl;
	FString UrlSeenAtEnd;
	bool bRestartAtEnd = false;
	int32 Finished = 0;
	int32 MediaEnded = 0;
};

// A 1920x1080 screen with the full lesson player made from its widget asset, on described lessons.
class FLessonPlayerScreen
{
public:
	static constexpr float FrameSeconds = 1.0f / 60.0f;
	static inline const TCHAR* LessonUrl = TEXT("https://lessons.test/one.mp4");
	static inline const TCHAR* SecondLessonUrl = TEXT("https://lessons.test/two.mp4");

	explicit FLessonPlayerScreen(const TCHAR* AssetPath = TEXT("/Game/UI/WBP_LessonPlayer"), double Duration = 60.0,
	                             double OpenSeconds = 0.1)
	{
		App.SetGarbageCollectionInterval(-1.0);
		if (GEngine)
		{
			GEngine->ClearOnScreenDebugMessages();
		}
		for (const TCHAR* Url : {LessonUrl, SecondLessonUrl})
		{
			FMediaSourceDescription Description;
			Description.Duration = FTimespan::FromSeconds(Duration);
			Description.OpenSeconds = OpenSeconds;
			FMediaSourceRegistry::Register(Url, Description);
		}
		Host = NewObject<ULessonHostDouble>();
		Host->AddToRoot();
		// A host screen holds the player among other widgets; otherwise the player is the screen.
		if (FString(AssetPath).Contains(TEXT("Host")))
		{
			HostScreen = CreateWidget<UUserWidget>(App.GetWorld(),
			                                       StaticLoadClass(UUserWidget::StaticClass(), nullptr, AssetPath));
			HostScreen->AddToViewport();
			Player = Cast<UUI_PravellaSystem>(HostScreen->GetWidgetFromName(TEXT("Player")));
		}
		else
		{
			UClass* PlayerClass = StaticLoadClass(UUI_PravellaSystem::StaticClass(), nullptr, AssetPath);
			Player = CreateWidget<UUI_PravellaSystem>(App.GetWorld(), PlayerClass);
			Player->AddToViewport();
		}
		Media = FindMediaPlayer();
		Host->Player = Media;
		Player->OnFinshPlayMovie.AddDynamic(Host, &ULessonHostDouble::OnFinished);
		Step();
	}

	~FLessonPlayerScreen()
	{
		Player->RemoveFromParent();
		if (HostScreen)
		{
			HostScreen->RemoveFromParent();
		}
		Host->RemoveFromRoot();
		FMediaSourceRegistry::UnregisterAll();
	}

	// The media player asset that the player's asset assigns (loaded assets are shared, as in the engine).
	static UMediaPlayer* FindMediaPlayer()
	{
		return Cast<UMediaPlayer>(
		    StaticLoadObject(UMediaPlayer::StaticClass(), nullptr, TEXT("/Game/Media/MP_LessonPlayer")));
	}

	template <typename T>
	T* Child(const TCHAR* Name) const
	{
		return Cast<T>(Player->GetWidgetFromName(FName(Name)));
	}

	void Step(float Seconds = FrameSeconds) { App.Tick(Seconds); }
	void StepFor(double Seconds)
	{
		for (double Elapsed = 0.0; Elapsed < Seconds - 1e-6; Elapsed += FrameSeconds)
		{
			Step();
		}
	}
	void PlayUntil(double Seconds, int32 MaxFrames = 100000)
	{
		for (int32 Frame = 0; Frame < MaxFrames && Media->GetTime().GetTotalSeconds() < Seconds; ++Frame)
		{
			Step();
		}
	}
	void OpenLesson(const TCHAR* Url = LessonUrl)
	{
		Player->PlayMediaByNet(Url);
		StepFor(0.2);
	}

	static FVector2D CenterOf(UWidget* Widget)
	{
		const FGeometry& Geometry = Widget->GetCachedGeometry();
		return Geometry.GetAbsolutePosition() + Geometry.GetAbsoluteSize() * 0.5;
	}
	// Points at the control, waits for the control bar to slide in, and clicks, as a viewer does.
	void Click(const TCHAR* Name)
	{
		App.MoveMouse(CenterOf(Child<UWidget>(Name)) + FVector2D(1.0, 0.0));
		StepFor(0.3);
		App.Click(CenterOf(Child<UWidget>(Name)));
		Step();
	}

	// Comment nodes on the overlay's canvas now.
	TArray<FString> CommentsOnScreen() const
	{
		TArray<FString> Contents;
		UUserWidget* Overlay = Child<UUserWidget>(TEXT("Danmaku"));
		UCanvasPanel* Canvas = Cast<UCanvasPanel>(Overlay->GetWidgetFromName(TEXT("DanmakuCanvasPanel")));
		for (UWidget* Widget : Canvas->GetAllChildren())
		{
			if (UUI_DanmakuNode* Node = Cast<UUI_DanmakuNode>(Widget))
			{
				Contents.Add(Node->GetData().Content);
			}
		}
		return Contents;
	}

	FHeadlessApplication App;
	UUserWidget* HostScreen = nullptr;
	ULessonHostDouble* Host = nullptr;
	UUI_PravellaSystem* Player = nullptr;
	UMediaPlayer* Media = nullptr;
};

// One comment as the danmaku document's element form.
inline FString MakeComment(const FString& Content, double Seconds, int32 Id = 1)
{
	return FString::Printf(TEXT("{\"danmaku_id\":%d,\"danmaku_spawn_time\":%lld,\"danmaku_content\":\"%s\","
	                            "\"danmaku_mode\":0,\"danmaku_font_size\":24,\"danmaku_font_color\":\"#FFFFFF\"}"),
	                       Id, static_cast<long long>(Seconds * ETimespan::TicksPerSecond), *Content);
}
