#include "DueComments.h"

#include "DanmakuTrackManager.h"
#include "MediaPlayer.h"
#include "UI_DanmakuNode.h"

FDueComments::FDueComments(FSoakRun& InSoak, FSoakFigures& InFigures, const TMap<int32, TArray<int32>>& InIdsBySecond)
    : Soak(InSoak), Figures(InFigures), IdsBySecond(InIdsBySecond)
{
}

void FDueComments::MakeDue(int32 Id, int64 Frame)
{
	Outstanding.Owe(Id, Frame);
	++Figures.Due;
}

void FDueComments::MaybeShow(int32 Id, int64 Frame)
{
	MaybeShown.Add(Id, Frame);
}

void FDueComments::Report(int32 Id, bool bPlaced, EDanmakuNotShownReason Reason)
{
	FrameReports.Add(Id);
	if (bPlaced)
	{
		++Figures.Placed;
	}
	else
	{
		++Figures.NotShown;
		++Figures.NotShownByReason.FindOrAdd(StaticEnum<EDanmakuNotShownReason>()->GetNameStringByValue(int64(Reason)));
	}
}

void FDueComments::Bind(UDanmakuTrackManager* Manager)
{
	Manager->OnDanmakuPlaced.AddLambda(
	    [this](const FDanmakuPlacement& Placement)
	    {
		    if (Placement.bUserNode)
		    {
			    ++Figures.OwnShown;
			    return;
		    }
		    Report(Placement.Node->GetData().DanmakuID, true, EDanmakuNotShownReason::NoFreeLane);
	    });
	Manager->OnDanmakuNotShown.AddLambda([this](const FDanmakuData& Data, EDanmakuNotShownReason Reason)
	                                     { Report(Data.DanmakuID, false, Reason); });
}

TArray<int32> FDueComments::HandedSeconds(const UMediaPlayer& Media, int32 Second) const
{
	TArray<int32> Handed;
	if (Media.IsPlaying() && Second != HandedSecond)
	{
		Handed.AddUnique(Second);
	}
	for (int32 Id : FrameReports)
	{
		if (Id == 0 || Outstanding.IsOwed(Id) || MaybeShown.Contains(Id))
		{
			continue;
		}
		for (const TPair<int32, TArray<int32>>& Bucket : IdsBySecond)
		{
			if (Bucket.Value.Contains(Id))
			{
				Handed.AddUnique(Bucket.Key);
				break;
			}
		}
	}
	return Handed;
}

bool FDueComments::AnswerReports()
{
	for (int32 Id : FrameReports)
	{
		if (Outstanding.Answer(Id))
		{
			continue;
		}
		if (MaybeShown.Remove(Id) > 0)
		{
			++Figures.Due;
			continue;
		}
		// The viewer's own comment carries no id: not shown as it was sent, when it is not due from the index.
		if (Id == 0)
		{
			--Figures.NotShown;
			++Figures.OwnNotShown;
			continue;
		}
		return Soak.Fail(FString::Printf(TEXT("comment %d was reported but was not due"), Id));
	}
	FrameReports.Reset();
	return true;
}

bool FDueComments::Settle(const UMediaPlayer& Media, int64 Frame)
{
	const int32 Second = SoakSecondOf(Media.GetTime());
	for (int32 HandedNow : HandedSeconds(Media, Second))
	{
		// A second passed over is reported once, when the clock is already past it.
		if (HandedNow == Second)
		{
			HandedSecond = HandedNow;
		}
		if (const TArray<int32>* Ids = IdsBySecond.Find(HandedNow))
		{
			for (int32 Id : *Ids)
			{
				MakeDue(Id, Frame);
			}
		}
	}
	if (!AnswerReports())
	{
		return false;
	}
	TArray<int32> KeptForLater;
	for (const TPair<int32, int64>& Pushed : MaybeShown)
	{
		if (Pushed.Value < Frame - SoakReportFrames)
		{
			KeptForLater.Add(Pushed.Key);
		}
	}
	for (int32 Id : KeptForLater)
	{
		++Figures.Skipped;
		MaybeShown.Remove(Id);
	}
	int32 Overdue = 0;
	int64 Since = 0;
	if (Outstanding.FindOverdue(Frame - SoakReportFrames, Overdue, Since))
	{
		return Soak.Fail(FString::Printf(TEXT("comment %d, due at frame %lld, was neither placed nor reported"),
		                                 Overdue, static_cast<long long>(Since)));
	}
	return true;
}
