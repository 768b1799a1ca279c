#pragma once

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"
#include "Components/CheckBox.h"
#include "Components/Slider.h"
#include "Components/TextBlock.h"
#include "Engine/World.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/HeadlessViewport.h"
#include "PravellaTestTypes.h"

// A headless application with one widget asset of the project on screen, driven by pointer actions a frame apart.
class FPravellaTestStage
{
public:
	static constexpr float Frame = 1.0f / 60.0f;

	FPravellaTestStage() { App.SetGarbageCollectionInterval(0.0); }
	~FPravellaTestStage() { FHeadlessViewport::Get().Reset(); }

	template <typename T>
	T* Show(const TCHAR* AssetPath)
	{
		T* Widget = CreateWidget<T>(App.GetWorld(), StaticLoadClass(T::StaticClass(), nullptr, AssetPath));
		if (Widget)
		{
			Widget->AddToViewport();
			App.Tick(Frame);
		}
		return Widget;
	}

	template <typename T>
	static T* Child(const UUserWidget* Owner, const TCHAR* Name)
	{
		return Cast<T>(Owner->GetWidgetFromName(FName(Name)));
	}

	// A point inside the widget at Fraction of its width, halfway down.
	static FVector2D PointIn(const UWidget* Widget, double Fraction = 0.5)
	{
		const FGeometry& Geometry = Widget->GetCachedGeometry();
		return Geometry.GetAbsolutePosition() + Geometry.GetLocalSize() * FVector2D(Fraction, 0.5);
	}

	void MoveTo(FVector2D Position)
	{
		App.MoveMouse(Position);
		App.Tick(Frame);
	}

	void Click(const UWidget* Widget)
	{
		App.Click(PointIn(Widget));
		App.Tick(Frame);
	}

	// Presses on the slider at From of its width, drags to To and lets go there.
	void Drag(const USlider* Slider, double From, double To)
	{
		MoveTo(PointIn(Slider, From));
		App.PressMouse();
		App.Tick(Frame);
		MoveTo(PointIn(Slider, To));
		App.ReleaseMouse();
		App.Tick(Frame);
	}

	FHeadlessApplication App{FVector2D(640.0, 480.0)};
};
