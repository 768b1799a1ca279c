#include "TimerManager.h"

void FTimerManager::SetTimer(FTimerHandle& InOutHandle, const FTimerDelegate& Delegate, float InRate, bool bInLoop,
                             float InFirstDelay)
{
	ClearTimer(InOutHandle);
	if (InRate <= 0.0f)
	{
		return;
	}
	FTimerData& Timer = Timers.Emplace_GetRef();
	Timer.Id = NextId++;
	Timer.Delegate = Delegate;
	Timer.Rate = InRate;
	Timer.bLoop = bInLoop;
	Timer.ExpireTime = InternalTime + (InFirstDelay >= 0.0f ? InFirstDelay : InRate);
	Timer.SetDuringTick = bInTick ? TickCount : 0;
	InOutHandle.Handle = Timer.Id;
}

void FTimerManager::SetTimer(FTimerHandle& InOutHandle, TFunction<void(void)>&& Callback, float InRate, bool bInLoop,
                             float InFirstDelay)
{
	SetTimer(InOutHandle, FTimerDelegate::CreateLambda(MoveTemp(Callback)), InRate, bInLoop, InFirstDelay);
}

void FTimerManager::ClearTimer(FTimerHandle& InOutHandle)
{
	const int32 Index = FindIndex(InOutHandle.Handle);
	if (Index != INDEX_NONE)
	{
		Timers.RemoveAt(Index);
	}
	InOutHandle.Invalidate();
}

void FTimerManager::ClearAllTimersForObject(const void* Object)
{
	if (!Object)
	{
		return;
	}
	Timers.RemoveAll([Object](const FTimerData& Timer) { return Timer.Delegate.IsBoundToObject(Object); });
}

bool FTimerManager::TimerExists(FTimerHandle Handle) const
{
	const int32 Index = FindIndex(Handle.Handle);
	return Index != INDEX_NONE && Timers[Index].IsAlive();
}

float FTimerManager::GetTimerRemaining(FTimerHandle Handle) const
{
	if (!TimerExists(Handle))
	{
		return -1.0f;
	}
	return float(Timers[FindIndex(Handle.Handle)].ExpireTime - InternalTime);
}

float FTimerManager::GetTimerRate(FTimerHandle Handle) const
{
	return TimerExists(Handle) ? float(Timers[FindIndex(Handle.Handle)].Rate) : -1.0f;
}

void FTimerManager::Tick(float DeltaSeconds)
{
	++TickCount;
	InternalTime += DeltaSeconds;
	bInTick = true;
	for (int32 Index = FindNextDue(); Index != INDEX_NONE; Index = FindNextDue())
	{
		FTimerData& Timer = Timers[Index];
		if (!Timer.IsAlive())
		{
			Timers.RemoveAt(Index);
			continue;
		}
		// The callback may set or clear timers, this one included, so it runs on a copy after the bookkeeping.
		const FTimerDelegate Delegate = Timer.Delegate;
		if (Timer.bLoop)
		{
			Timer.ExpireTime += Timer.Rate;
		}
		else
		{
			Timers.RemoveAt(Index);
		}
		Delegate.Execute();
	}
	bInTick = false;
}

bool FTimerManager::FTimerData::IsAlive() const
{
	if (bHasTarget && (!Target.IsValid() || Target.Get()->HasBegunDestroy()))
	{
		return false;
	}
	return Delegate.IsBound();
}

void FTimerManager::SetTarget(FTimerHandle Handle, UObject* Object)
{
	const int32 Index = FindIndex(Handle.Handle);
	if (Index != INDEX_NONE)
	{
		Timers[Index].Target = Object;
		Timers[Index].bHasTarget = true;
	}
}

int32 FTimerManager::FindIndex(uint64 Id) const
{
	if (Id == 0)
	{
		return INDEX_NONE;
	}
	return Timers.IndexOfByPredicate([Id](const FTimerData& Timer) { return Timer.Id == Id; });
}

int32 FTimerManager::FindNextDue() const
{
	int32 Best = INDEX_NONE;
	for (int32 Index = 0; Index < Timers.Num(); ++Index)
	{
		const FTimerData& Timer = Timers[Index];
		if (Timer.ExpireTime > InternalTime || (Timer.SetDuringTick != 0 && Timer.SetDuringTick == TickCount))
		{
			continue;
		}
		// Timers keep the order they were set in, so the first of equal expiry times is the oldest.
		if (Best == INDEX_NONE || Timer.ExpireTime < Timers[Best].ExpireTime)
		{
			Best = Index;
		}
	}
	return Best;
}
