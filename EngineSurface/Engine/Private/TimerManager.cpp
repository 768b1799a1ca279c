#include "TimerManager.h"

#include <algorithm>

namespace
{
// std heaps keep the greatest on top; the earliest entry must be.
template <typename EntryType>
bool IsDueLater(const EntryType& A, const EntryType& B)
{
	return A.ExpireTime != B.ExpireTime ? A.ExpireTime > B.ExpireTime : A.Id > B.Id;
}
} // namespace

void FTimerManager::SetTimer(FTimerHandle& InOutHandle, const FTimerDelegate& Delegate, float InRate, bool bInLoop,
                             float InFirstDelay)
{
	ClearTimer(InOutHandle);
	if (InRate <= 0.0f)
	{
		return;
	}
	const uint64 Id = NextId++;
	FTimerData& Timer = Timers.FindOrAdd(Id);
	Timer.Id = Id;
	Timer.Delegate = Delegate;
	Timer.Rate = InRate;
	Timer.bLoop = bInLoop;
	Timer.ExpireTime = InternalTime + (InFirstDelay >= 0.0f ? InFirstDelay : InRate);
	Timer.SetDuringTick = bInTick ? TickCount : 0;
	PushDue(Timer);
	InOutHandle.Handle = Timer.Id;
}

void FTimerManager::SetTimer(FTimerHandle& InOutHandle, TFunction<void(void)>&& Callback, float InRate, bool bInLoop,
                             float InFirstDelay)
{
	SetTimer(InOutHandle, FTimerDelegate::CreateLambda(MoveTemp(Callback)), InRate, bInLoop, InFirstDelay);
}

void FTimerManager::ClearTimer(FTimerHandle& InOutHandle)
{
	Timers.Remove(InOutHandle.Handle);
	InOutHandle.Invalidate();
}

void FTimerManager::ClearAllTimersForObject(const void* Object)
{
	if (!Object)
	{
		return;
	}
	TArray<uint64> Bound;
	for (const TPair<uint64, FTimerData>& Pair : Timers)
	{
		if (Pair.Value.Delegate.IsBoundToObject(Object))
		{
			Bound.Add(Pair.Key);
		}
	}
	for (uint64 Id : Bound)
	{
		Timers.Remove(Id);
	}
}

bool FTimerManager::TimerExists(FTimerHandle Handle) const
{
	const FTimerData* Timer = Handle.Handle ? Timers.Find(Handle.Handle) : nullptr;
	return Timer && Timer->IsAlive();
}

float FTimerManager::GetTimerRemaining(FTimerHandle Handle) const
{
	if (!TimerExists(Handle))
	{
		return -1.0f;
	}
	return float(Timers.FindChecked(Handle.Handle).ExpireTime - InternalTime);
}

float FTimerManager::GetTimerRate(FTimerHandle Handle) const
{
	return TimerExists(Handle) ? float(Timers.FindChecked(Handle.Handle).Rate) : -1.0f;
}

void FTimerManager::Tick(float DeltaSeconds)
{
	++TickCount;
	InternalTime += DeltaSeconds;
	bInTick = true;
	TArray<FDueEntry> SetDuringThisTick;
	while (!DueOrder.IsEmpty() && DueOrder[0].ExpireTime <= InternalTime)
	{
		const FDueEntry Entry = PopDue();
		FTimerData* Timer = Timers.Find(Entry.Id);
		// Cleared since, or an entry left from before a re-set of the same timer.
		if (!Timer || Timer->ExpireTime != Entry.ExpireTime)
		{
			continue;
		}
		if (Timer->SetDuringTick != 0 && Timer->SetDuringTick == TickCount)
		{
			SetDuringThisTick.Add(Entry);
			continue;
		}
		if (!Timer->IsAlive())
		{
			Timers.Remove(Entry.Id);
			continue;
		}
		// The callback may set or clear timers, this one included, so it runs on a copy after the bookkeeping.
		const FTimerDelegate Delegate = Timer->Delegate;
		if (Timer->bLoop)
		{
			Timer->ExpireTime += Timer->Rate;
			PushDue(*Timer);
		}
		else
		{
			Timers.Remove(Entry.Id);
		}
		Delegate.Execute();
	}
	for (const FDueEntry& Entry : SetDuringThisTick)
	{
		DueOrder.Add(Entry);
		std::push_heap(DueOrder.GetData(), DueOrder.GetData() + DueOrder.Num(), IsDueLater<FDueEntry>);
	}
	bInTick = false;
}

void FTimerManager::PushDue(const FTimerData& Timer)
{
	DueOrder.Add({Timer.ExpireTime, Timer.Id});
	std::push_heap(DueOrder.GetData(), DueOrder.GetData() + DueOrder.Num(), IsDueLater<FDueEntry>);
}

FTimerManager::FDueEntry FTimerManager::PopDue()
{
	std::pop_heap(DueOrder.GetData(), DueOrder.GetData() + DueOrder.Num(), IsDueLater<FDueEntry>);
	return DueOrder.Pop();
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
	if (FTimerData* Timer = Timers.Find(Handle.Handle))
	{
		Timer->Target = Object;
		Timer->bHasTarget = true;
	}
}
