#pragma once

#include "CoreMinimal.h"

// Comments owed a report (placed or not shown), each with the frames it became owed in, oldest first.
class FOwedReports
{
public:
	void Owe(int32 Id, int64 Frame) { Frames.FindOrAdd(Id).Add(Frame); }
	bool IsOwed(int32 Id) const { return Frames.Contains(Id); }
	// Settles the oldest debt to Id; false when nothing was owed to it.
	bool Answer(int32 Id);
	// A comment owed since before Frame, with that frame; false when there is none.
	bool FindOverdue(int64 Frame, int32& OutId, int64& OutSince) const;
	int32 Num() const { return Frames.Num(); }

private:
	TMap<int32, TArray<int64>> Frames;
};
