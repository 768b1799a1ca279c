#pragma once

#include "CoreMinimal.h"

// A comment document ({"datas": [...]}) read once from its file and checked token by token, without building the
// JSON object model, before the overlay files it: what is wrong and where for a broken document, and the comments
// that can never be shown for a sound one.
class FCommentDocument
{
public:
	enum class EUnshowable : uint8
	{
		// Filed under a second before the lesson starts.
		NegativeTime,
		// Infinite or beyond 64 bits of ticks: the JSON layer clamps it to a time no clock reaches.
		TimeOutOfRange,
		PastTheEnd
	};
	struct FUnshowable
	{
		int32 Id = 0;
		int32 Mode = 0;
		// Media seconds of the comment; NaN when its time is no number.
		double Seconds = 0.0;
		EUnshowable Reason = EUnshowable::NegativeTime;
	};

	// Reads and checks the file; false with a message naming the file and, for broken JSON, the line and
	// character of the fault.
	bool Read(const FString& InPath, FString& OutError);
	// Adds the comments filed at or after the end of media of this length to the unshowable ones (once).
	void FindPastTheEnd(double DurationSeconds);
	// Hands the text over (to the overlay) and forgets it; the counts stay.
	FString TakeText() { return MoveTemp(Text); }

	static FString ReasonName(EUnshowable Reason);
	int32 CountUnshowable(EUnshowable Reason) const;

	FString Path;
	int32 Comments = 0;
	int32 NeverPlacedMode = 0;
	// Ids beyond 32 bits, which the overlay saturates.
	int32 ClampedIds = 0;
	FString FirstClampedId;
	TArray<FUnshowable> Unshowable;

private:
	struct FFiled
	{
		double Seconds = 0.0;
		int32 Id = 0;
		int32 Mode = 0;
	};
	bool ReadUtf8(FString& OutError);
	bool Scan(FString& OutError);

	FString Text;
	TArray<FFiled> Filed;
	bool bPastTheEndFound = false;
};
