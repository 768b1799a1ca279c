#include "Engine/World.h"

#include "EngineTestTypes.h"

#include <gtest/gtest.h>

TEST(World, ObjectsFindTheirWorldThroughTheirOuters)
{
	TStrongObjectPtr<UWorld> World(NewObject<UWorld>());
	UTimerTarget* Inner = NewObject<UTimerTarget>(World.Get());
	UTimerTarget* InnerOfInner = NewObject<UTimerTarget>(Inner);

	EXPECT_EQ(World->GetWorld(), World.Get());
	EXPECT_EQ(InnerOfInner->GetWorld(), World.Get());
	EXPECT_EQ(NewObject<UTimerTarget>()->GetWorld(), nullptr);
}

TEST(World, TickAdvancesTheClockAndFiresTimers)
{
	TStrongObjectPtr<UWorld> World(NewObject<UWorld>());
	TStrongObjectPtr<UTimerTarget> Target(NewObject<UTimerTarget>(World.Get()));
	FTimerHandle Handle;
	Target->GetWorld()->GetTimerManager().SetTimer(Handle, Target.Get(), &UTimerTarget::OnTimer, 0.5f, true);

	for (int32 Frame = 0; Frame < 60; ++Frame)
	{
		World->Tick(1.0f / 60.0f);
	}

	EXPECT_NEAR(World->GetTimeSeconds(), 1.0, 1e-5);
	EXPECT_EQ(Target->Calls, 2);
}

TEST(World, DestroyedWorldFiresNoMoreTimers)
{
	TStrongObjectPtr<UWorld> World(NewObject<UWorld>());
	int32 Calls = 0;
	FTimerHandle Handle;
	World->GetTimerManager().SetTimer(
	    Handle, [&Calls] { ++Calls; }, 0.1f, true);

	World->ConditionalBeginDestroy();
	World->Tick(1.0f);

	EXPECT_EQ(Calls, 0);
}
