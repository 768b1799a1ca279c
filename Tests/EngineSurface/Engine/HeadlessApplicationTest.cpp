#include "Headless/HeadlessApplication.h"

#include "Engine/World.h"
#include "EngineTestTypes.h"

#include <gtest/gtest.h>

namespace
{
// Phase handlers stay registered for the whole process, so they only record while a test points them here.
TArray<FString>* GPhaseLog = nullptr;

const bool bHandlersRegistered = []
{
	// Registered out of phase order on purpose: the frame runs them in phase order.
	FHeadlessApplication::RegisterPhaseHandler(EHeadlessTickPhase::WidgetTick,
	                                           [](FHeadlessApplication&, float)
	                                           {
		                                           if (GPhaseLog)
		                                           {
			                                           GPhaseLog->Add(TEXT("widgets"));
		                                           }
	                                           });
	FHeadlessApplication::RegisterPhaseHandler(
	    EHeadlessTickPhase::Input,
	    [](FHeadlessApplication& App, float)
	    {
		    if (GPhaseLog)
		    {
			    GPhaseLog->Add(FString::Printf(TEXT("input %d"), App.TakeInputEvents().Num()));
		    }
	    });
	return true;
}();
} // namespace

TEST(HeadlessApplication, TickRunsPhasesInFrameOrderWithTheWorldBetween)
{
	FHeadlessApplication App;
	TArray<FString> Log;
	GPhaseLog = &Log;
	FTimerHandle Handle;
	App.GetWorld()->GetTimerManager().SetTimer(
	    Handle, [&Log] { Log.Add(TEXT("timer")); }, 0.1f, false);
	App.Click(FVector2D(10.0, 20.0));

	App.Tick(0.1f);
	App.Tick(0.1f);
	GPhaseLog = nullptr;

	EXPECT_EQ(Log,
	          (TArray<FString>{TEXT("input 3"), TEXT("timer"), TEXT("widgets"), TEXT("input 0"), TEXT("widgets")}));
	EXPECT_EQ(App.GetFrameNumber(), 2u);
	EXPECT_NEAR(App.GetWorld()->GetTimeSeconds(), 0.2, 1e-6);
}

TEST(HeadlessApplication, AdvanceTicksWholeStepsWithoutDrift)
{
	FHeadlessApplication App;
	App.Advance(1.0f);
	EXPECT_EQ(App.GetFrameNumber(), 60u);
	App.Advance(0.25f, 0.1f);
	EXPECT_EQ(App.GetFrameNumber(), 63u);
	EXPECT_NEAR(App.GetCurrentTime(), 1.25, 1e-5);
}

TEST(HeadlessApplication, QueuedInputKeepsOrderAndMousePosition)
{
	FHeadlessApplication App;
	App.Click(FVector2D(5.0, 6.0));
	App.TypeText(TEXT("hi"));
	App.PressEnter();

	const TArray<FHeadlessInputEvent> Events = App.TakeInputEvents();
	ASSERT_EQ(Events.Num(), 5);
	EXPECT_EQ(Events[0].Type, FHeadlessInputEvent::EType::MouseMove);
	EXPECT_EQ(Events[2].Type, FHeadlessInputEvent::EType::MouseUp);
	EXPECT_EQ(Events[2].Position, FVector2D(5.0, 6.0));
	EXPECT_EQ(Events[3].Text, TEXT("hi"));
	EXPECT_EQ(Events[4].Type, FHeadlessInputEvent::EType::KeyEnter);
	EXPECT_TRUE(App.TakeInputEvents().IsEmpty());
}

TEST(HeadlessApplication, CollectsGarbageBetweenFramesAtItsInterval)
{
	FHeadlessApplication App;
	App.SetGarbageCollectionInterval(1.0);
	TWeakObjectPtr<UTimerTarget> Unreferenced(NewObject<UTimerTarget>(App.GetWorld()));

	App.Advance(0.5f, 0.1f);
	EXPECT_TRUE(Unreferenced.IsValid());
	App.Advance(0.5f, 0.1f);

	EXPECT_FALSE(Unreferenced.IsValid());
	EXPECT_TRUE(IsValid(App.GetWorld()));
}

TEST(HeadlessApplication, TeardownFreesTheWorld)
{
	TWeakObjectPtr<UWorld> World;
	{
		FHeadlessApplication App;
		World = App.GetWorld();
		EXPECT_EQ(FHeadlessApplication::Get(), &App);
	}
	EXPECT_EQ(FHeadlessApplication::Get(), nullptr);
	EXPECT_FALSE(World.IsValid());
}
