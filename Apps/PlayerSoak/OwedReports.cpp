#include "OwedReports.h"

bool FOwedReports::Answer(int32 Id)
{
	TArray<int64>* Owed = Frames.Find(Id);
	if (!Owed)
	{
		return false;
	}
	Owed->RemoveAt(0);
	if (Owed->IsEmpty())
	{
		Frames.Remove(Id);
	}
	return true;
}

bool FOwedReports::FindOverdue(int64 Frame, int32& OutId, int64& OutSince) const
{
	for (const TPair<int32, TArray<int64>>& Owed : Frames)
	{
		if (Owed.Value[0] < Frame)
		{
			OutId = Owed.Key;
			OutSince = Owed.Value[0];
			return true;
		}
	}
	return false;
}
