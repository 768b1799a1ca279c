#pragma once

#include "CoreMinimal.h"
#include "Engine/World.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/HeadlessViewport.h"
#include "Pravella/UI_VolumeButton.h"
#include "Pravella/UI_VolumeProgress.h"
#include "UI_PravellaSystem.h"

#include "PravellaTestTypes.generated.h"

// The full lesson player with its protected lookups and volume components opened to the tests.
UCLASS()
class UVolumeStandInPlayer : public UUI_PravellaSystem
{
	GENERATED_BODY()

public:
	using UUI_PravellaBase::GetNameWidgetAnimation;
	using UUI_PravellaBase::GetParentSystem;
	using UUI_PravellaSystem::IsNetURL;
	using UUI_PravellaSystem::PlayMedia;

	UMediaSoundComponent* GetSound() const { return MediaSoundComponent; }
	// A subclass may give the widget its media player as it is constructed; this one takes NextMediaPlayer then.
	void InitMadia() override
	{
		if (NextMediaPlayer)
		{
			MediaPlayer = NextMediaPlayer;
		}
		Super::InitMadia();
	}

	UPROPERTY()
	TObjectPtr<UMediaPlayer> NextMediaPlayer;

	UUI_VolumeButton* GetVolumeButton() const
	{
		return Cast<UUI_VolumeButton>(GetWidgetFromName(TEXT("VolumeButton")));
	}
	UUI_VolumeProgress* GetVolumeProgress() const
	{
		return Cast<UUI_VolumeProgress>(GetWidgetFromName(TEXT("VolumeProgress")));
	}
};

UCLASS()
class UImageVideoTestWidget : public UUI_ImageVideo
{
	GENERATED_BODY()

public:
	UMediaPlayer* GetMediaPlayer() const { return MediaPlayer; }
};

// A headless application with widget assets on screen, driven by pointer actions a frame apart.
struct FPravellaStage
{
	static constexpr float Frame = 1.0f / 60.0f;

	~FPravellaStage() { FHeadlessViewport::Get().Reset(); }

	template <typename T>
	T* Show(const TCHAR* AssetPath)
	{
		T* Widget = CreateWidget<T>(App.GetWorld(), StaticLoadClass(T::StaticClass(), nullptr, AssetPath));
		check(Widget);
		Widget->AddToViewport();
		App.Tick(Frame);
		return Widget;
	}

	// The point at Fraction of the widget's width, halfway down.
	static FVector2D At(const UWidget* Widget, double Fraction = 0.5)
	{
		const FGeometry& Geometry = Widget->GetCachedGeometry();
		return Geometry.GetAbsolutePosition() + Geometry.GetLocalSize() * FVector2D(Fraction, 0.5);
	}

	// Moves the pointer there (the player's control bar slides in on movement) and, with bPress, clicks.
	void Click(FVector2D Position, bool bPress = true)
	{
		App.MoveMouse(Position);
		App.Advance(0.3f);
		if (bPress)
		{
			App.Click(Position);
		}
		App.Tick(Frame);
	}

	FHeadlessApplication App;
};
