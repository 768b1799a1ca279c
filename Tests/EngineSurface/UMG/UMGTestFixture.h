#pragma once

#include "CoreMinimal.h"
#include "Engine/World.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/HeadlessViewport.h"
#include "Misc/Paths.h"
#include "UMGTestTypes.h"

#include <gtest/gtest.h>

// One application per test, with the test assets of this folder as the project's content.
class FUMGTest : public ::testing::Test
{
protected:
	static constexpr float Frame = 1.0f / 60.0f;

	void SetUp() override
	{
		FPaths::SetProjectDir(TEXT(PRAVELLA_PROJECT_DIR "/Tests/EngineSurface/UMG/"));
		GetLifecycleLog().Empty();
	}

	void TearDown() override
	{
		FHeadlessViewport::Get().Reset();
		FPaths::SetProjectDir(TEXT(PRAVELLA_PROJECT_DIR "/"));
	}

	UTestFormWidget* CreateForm(const TCHAR* Path = TEXT("/Game/Test/WBP_TestForm"))
	{
		UClass* Class = StaticLoadClass(UTestFormWidget::StaticClass(), nullptr, Path);
		return Class ? CreateWidget<UTestFormWidget>(App.GetWorld(), Class) : nullptr;
	}

	// The form on screen, laid out: ready for pointer actions.
	UTestFormWidget* ShowForm()
	{
		UTestFormWidget* Form = CreateForm();
		Form->AddToViewport();
		App.Tick(Frame);
		Form->Events.Empty();
		return Form;
	}

	// Centre of a laid-out widget, in viewport units.
	static FVector2D CentreOf(const UWidget* Widget)
	{
		const FGeometry& Geometry = Widget->GetCachedGeometry();
		return Geometry.GetAbsolutePosition() + Geometry.GetLocalSize() * 0.5;
	}

	void ClickAt(FVector2D Position)
	{
		App.Click(Position);
		App.Tick(Frame);
	}

	FHeadlessApplication App{FVector2D(640.0, 480.0)};
};
