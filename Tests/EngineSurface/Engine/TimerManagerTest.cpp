#include "TimerManager.h"

#include "EngineTestTypes.h"

#include <gtest/gtest.h>

namespace
{
// Keeps a target alive from native code for the test and lets it go at the end.
struct FTimerTest
{
	FTimerManager Timers;
	TStrongObjectPtr<UTimerTarget> Target{NewObject<UTimerTarget>()};

	void Ticks(int32 Count, float DeltaSeconds)
	{
		for (int32 Index = 0; Index < Count; ++Index)
		{
			Timers.Tick(DeltaSeconds);
		}
	}
};
} // namespace

TEST(TimerManager, LoopingTimerFiresOncePerPeriod)
{
	FTimerTest Test;
	FTimerHandle Handle;
	Test.Timers.SetTimer(Handle, Test.Target.Get(), &UTimerTarget::OnTimer, 0.5f, true);

	Test.Ticks(4, 0.1f);
	EXPECT_EQ(Test.Target->Calls, 0);
	Test.Ticks(1, 0.1f);
	EXPECT_EQ(Test.Target->Calls, 1);
	Test.Ticks(15, 0.1f);
	EXPECT_EQ(Test.Target->Calls, 4);
	EXPECT_TRUE(Test.Timers.IsTimerActive(Handle));
	EXPECT_FLOAT_EQ(Test.Timers.GetTimerRate(Handle), 0.5f);
}

TEST(TimerManager, LongFrameFiresLoopingTimerForEveryPeriodInIt)
{
	FTimerTest Test;
	FTimerHandle Handle;
	Test.Timers.SetTimer(Handle, Test.Target.Get(), &UTimerTarget::OnTimer, 0.25f, true);

	Test.Timers.Tick(1.1f);

	EXPECT_EQ(Test.Target->Calls, 4);
	EXPECT_NEAR(Test.Timers.GetTimerRemaining(Handle), 0.15f, 1e-4f);
}

TEST(TimerManager, OneShotFiresOnceAfterFirstDelayAndKeepsItsHandle)
{
	FTimerTest Test;
	FTimerHandle Handle;
	Test.Timers.SetTimer(Handle, Test.Target.Get(), &UTimerTarget::OnTimer, 2.0f, false, 0.3f);

	Test.Ticks(2, 0.1f);
	EXPECT_EQ(Test.Target->Calls, 0);
	EXPECT_NEAR(Test.Timers.GetTimerRemaining(Handle), 0.1f, 1e-4f);
	Test.Ticks(30, 0.1f);

	EXPECT_EQ(Test.Target->Calls, 1);
	EXPECT_FALSE(Test.Timers.TimerExists(Handle));
	EXPECT_TRUE(Handle.IsValid());
	EXPECT_EQ(Test.Timers.GetTimerRemaining(Handle), -1.0f);
}

TEST(TimerManager, SettingAnActiveHandleAgainRestartsTheWait)
{
	FTimerTest Test;
	FTimerHandle Handle;
	Test.Timers.SetTimer(Handle, Test.Target.Get(), &UTimerTarget::OnTimer, 0.75f);
	Test.Ticks(5, 0.1f);

	Test.Timers.SetTimer(Handle, Test.Target.Get(), &UTimerTarget::OnTimer, 0.75f);
	Test.Ticks(5, 0.1f);
	EXPECT_EQ(Test.Target->Calls, 0);
	Test.Ticks(3, 0.1f);

	EXPECT_EQ(Test.Target->Calls, 1);
	EXPECT_EQ(Test.Timers.GetNumTimers(), 0);
}

TEST(TimerManager, ZeroRateAndClearTimerRemoveTheTimer)
{
	FTimerTest Test;
	FTimerHandle Cleared;
	FTimerHandle ZeroRate;
	Test.Timers.SetTimer(Cleared, Test.Target.Get(), &UTimerTarget::OnTimer, 0.1f, true);
	Test.Timers.SetTimer(ZeroRate, Test.Target.Get(), &UTimerTarget::OnTimer, 0.1f, true);

	Test.Timers.ClearTimer(Cleared);
	Test.Timers.SetTimer(ZeroRate, Test.Target.Get(), &UTimerTarget::OnTimer, 0.0f, true);
	Test.Ticks(10, 0.1f);

	EXPECT_EQ(Test.Target->Calls, 0);
	EXPECT_FALSE(Cleared.IsValid());
	EXPECT_FALSE(ZeroRate.IsValid());
	EXPECT_FALSE(Test.Timers.IsTimerActive(Cleared));
}

TEST(TimerManager, ClearAllTimersForObjectStopsOnlyThatObjectsTimers)
{
	FTimerTest Test;
	TStrongObjectPtr<UTimerTarget> Other(NewObject<UTimerTarget>());
	FTimerHandle First;
	FTimerHandle Second;
	FTimerHandle OtherHandle;
	Test.Timers.SetTimer(First, Test.Target.Get(), &UTimerTarget::OnTimer, 0.1f, true);
	Test.Timers.SetTimer(Second, Test.Target.Get(), &UTimerTarget::OnTimer, 0.2f, true);
	Test.Timers.SetTimer(OtherHandle, Other.Get(), &UTimerTarget::OnTimer, 0.1f, true);
	Test.Ticks(2, 0.1f);
	const int32 CallsBefore = Test.Target->Calls;

	Test.Timers.ClearAllTimersForObject(Test.Target.Get());
	Test.Ticks(10, 0.1f);

	EXPECT_EQ(CallsBefore, 3);
	EXPECT_EQ(Test.Target->Calls, CallsBefore);
	EXPECT_FALSE(Test.Timers.TimerExists(First));
	EXPECT_FALSE(Test.Timers.TimerExists(Second));
	EXPECT_EQ(Other->Calls, 12);
}

TEST(TimerManager, TimerOfCollectedOrDestroyedObjectNeverFires)
{
	FTimerManager Timers;
	int32 Calls = 0;
	UTimerTarget* Collected = NewObject<UTimerTarget>();
	TStrongObjectPtr<UTimerTarget> Destroyed(NewObject<UTimerTarget>());
	FTimerHandle CollectedHandle;
	FTimerHandle DestroyedHandle;
	FTimerHandle Witness;
	Timers.SetTimer(CollectedHandle, Collected, &UTimerTarget::OnTimer, 0.1f, true);
	Timers.SetTimer(DestroyedHandle, Destroyed.Get(), &UTimerTarget::OnTimer, 0.1f, true);
	Timers.SetTimer(
	    Witness, [&Calls] { ++Calls; }, 0.1f, true);

	CollectGarbage();
	Destroyed->ConditionalBeginDestroy();
	Timers.Tick(0.1f);

	EXPECT_EQ(Destroyed->Calls, 0);
	EXPECT_FALSE(Timers.TimerExists(CollectedHandle));
	EXPECT_FALSE(Timers.TimerExists(DestroyedHandle));
	EXPECT_EQ(Calls, 1);
}

TEST(TimerManager, CallbacksMaySetAndClearTimersIncludingTheirOwn)
{
	FTimerManager Timers;
	FTimerHandle Self;
	FTimerHandle Victim;
	FTimerHandle Spawned;
	TArray<FString> Fired;
	Timers.SetTimer(
	    Victim, [&Fired] { Fired.Add(TEXT("victim")); }, 0.2f, true);
	Timers.SetTimer(
	    Self,
	    [&]
	    {
		    Fired.Add(TEXT("self"));
		    Timers.ClearTimer(Victim);
		    // Re-setting its own handle from inside the callback restarts it from now.
		    Timers.SetTimer(
		        Self, [&Fired] { Fired.Add(TEXT("restarted")); }, 0.3f, false);
		    Timers.SetTimer(
		        Spawned, [&Fired] { Fired.Add(TEXT("spawned")); }, 0.1f, false, 0.0f);
	    },
	    0.1f, true);

	Timers.Tick(0.1f);
	EXPECT_EQ(Fired, (TArray<FString>{TEXT("self")}));
	Timers.Tick(0.1f);
	EXPECT_EQ(Fired, (TArray<FString>{TEXT("self"), TEXT("spawned")}));
	Timers.Tick(0.15f);
	EXPECT_EQ(Fired.Num(), 2);
	Timers.Tick(0.1f);

	EXPECT_EQ(Fired, (TArray<FString>{TEXT("self"), TEXT("spawned"), TEXT("restarted")}));
	EXPECT_EQ(Timers.GetNumTimers(), 0);
}

TEST(TimerManager, DueTimersFireInTheOrderTheyFellDue)
{
	FTimerManager Timers;
	FTimerHandle Slow;
	FTimerHandle Fast;
	TArray<int32> Order;
	Timers.SetTimer(
	    Slow, [&Order] { Order.Add(3); }, 0.3f, false);
	Timers.SetTimer(
	    Fast, [&Order] { Order.Add(1); }, 0.1f, true);

	Timers.Tick(0.35f);

	EXPECT_EQ(Order, (TArray<int32>{1, 1, 1, 3}));
}

TEST(TimerManager, ManyTimersDueInOneFrameFireByTheMomentTheyFellDueThenInTheOrderTheyWereSet)
{
	FTimerManager Timers;
	TArray<FTimerHandle> Handles;
	Handles.SetNum(40);
	TArray<TPair<double, int32>> Expected;
	TArray<int32> Fired;
	for (int32 Index = 0; Index < Handles.Num(); ++Index)
	{
		const float Rate = 0.01f * float(1 + Index % 7);
		Timers.SetTimer(
		    Handles[Index], [&Fired, Index] { Fired.Add(Index); }, Rate, true);
		for (double Due = Rate; Due <= double(0.1f); Due += Rate)
		{
			Expected.Add({Due, Index});
		}
	}
	Expected.Sort([](const TPair<double, int32>& A, const TPair<double, int32>& B)
	              { return A.Key != B.Key ? A.Key < B.Key : A.Value < B.Value; });

	Timers.Tick(0.1f);

	ASSERT_EQ(Fired.Num(), Expected.Num());
	for (int32 Call = 0; Call < Fired.Num(); ++Call)
	{
		EXPECT_EQ(Fired[Call], Expected[Call].Value) << Call;
	}
}
