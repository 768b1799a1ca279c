#pragma once

#include "CoreMinimal.h"
#include "Engine/EngineTypes.h"
#include "UObject/Object.h"

DECLARE_DELEGATE(FTimerDelegate);

// The world's timers. Time advances only through Tick, which the world calls once per frame.
//
// A timer bound to an object holds it weakly: once the object is collected, or its destruction has begun, the
// timer is dropped without firing. When a frame is longer than a looping timer's rate, the timer fires once for every
// period that ended in the frame (as the engine does); all due timers fire in the order of the moments they were due.
// Timers set during Tick, including a timer re-set from its own callback, wait for the next frame.
class ENGINE_API FTimerManager
{
public:
	FTimerManager() = default;
	FTimerManager(const FTimerManager&) = delete;
	FTimerManager& operator=(const FTimerManager&) = delete;

	// Replaces any timer on InOutHandle. A rate of zero or less only clears; a negative first delay means
	// the rate.
	template <typename UserClass, typename MethodOwner>
	void SetTimer(FTimerHandle& InOutHandle, UserClass* Object, void (MethodOwner::*Method)(), float InRate,
	              bool bInLoop = false, float InFirstDelay = -1.0f)
	{
		SetTimer(InOutHandle, FTimerDelegate::CreateUObject(Object, Method), InRate, bInLoop, InFirstDelay);
		if constexpr (std::is_base_of_v<UObject, UserClass>)
		{
			SetTarget(InOutHandle, Object);
		}
	}
	void SetTimer(FTimerHandle& InOutHandle, const FTimerDelegate& Delegate, float InRate, bool bInLoop,
	              float InFirstDelay = -1.0f);
	// A callback bound to no object; it fires until cleared.
	void SetTimer(FTimerHandle& InOutHandle, TFunction<void(void)>&& Callback, float InRate, bool bInLoop,
	              float InFirstDelay = -1.0f);

	// Removes the timer and invalidates the handle.
	void ClearTimer(FTimerHandle& InOutHandle);
	// Removes every timer whose delegate is bound to Object.
	void ClearAllTimersForObject(const void* Object);
	void ClearAllTimers()
	{
		Timers.Empty();
		DueOrder.Empty();
	}

	bool TimerExists(FTimerHandle Handle) const;
	// Timers here are never paused, so an existing timer is an active one.
	bool IsTimerActive(FTimerHandle Handle) const { return TimerExists(Handle); }
	// Seconds until the timer fires next; -1 when there is no such timer.
	float GetTimerRemaining(FTimerHandle Handle) const;
	// -1 when there is no such timer.
	float GetTimerRate(FTimerHandle Handle) const;
	int32 GetNumTimers() const { return Timers.Num(); }

	// Advances the manager's clock and fires what fell due.
	void Tick(float DeltaSeconds);

private:
	struct FTimerData
	{
		uint64 Id = 0;
		FTimerDelegate Delegate;
		double Rate = 0.0;
		double ExpireTime = 0.0;
		bool bLoop = false;
		// The tick during which the timer was set, 0 outside Tick; such a timer waits for the next frame.
		uint64 SetDuringTick = 0;
		TWeakObjectPtr<UObject> Target;
		bool bHasTarget = false;

		bool IsAlive() const;
	};

	// When a timer falls due: ordered by time, then by Id, so that of equal times the one set first fires first.
	struct FDueEntry
	{
		double ExpireTime = 0.0;
		uint64 Id = 0;
	};

	void SetTarget(FTimerHandle Handle, UObject* Object);
	void PushDue(const FTimerData& Timer);
	FDueEntry PopDue();

	// By Id. A cleared timer leaves its entry in DueOrder behind; it is skipped when it comes up.
	TMap<uint64, FTimerData> Timers;
	// A binary min-heap, as the engine keeps its active timers, so a frame with many due timers stays cheap.
	TArray<FDueEntry> DueOrder;
	double InternalTime = 0.0;
	uint64 NextId = 1;
	uint64 TickCount = 0;
	bool bInTick = false;
};
