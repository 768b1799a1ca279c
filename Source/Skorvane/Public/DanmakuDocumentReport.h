#pragma once

#include "CoreMinimal.h"
#include "DanmakuDataStruct.h"

// The overlay's time index: every comment filed under the whole second of media time that holds its spawn time.
using FDanmakuIndex = TMap<FTimespan, TArray<FDanmakuData>>;

enum class EDanmakuDocumentFormat : uint8
{
	// {"datas": [{...}, ...]}
	Json,
	// <i><d p="...">text</d>...</i>, as video sites export comments.
	Xml
};

// What one reading of a comment document found, in the same pass that filed its comments: why a refused document
// was refused and where, and what a read one holds that a host may want to tell its user about.
struct SKORVANE_API FDanmakuDocumentReport
{
	// A comment filed under a second that no media clock reaches.
	struct FUnreachable
	{
		int32 Id = 0;
		int32 Mode = 0;
		// Media seconds as the document gives them.
		double Seconds = 0.0;
		// Not finite, or beyond 64 bits of ticks (filed at the nearest limit); otherwise a second or more before
		// the start.
		bool bOutOfRange = false;
	};

	bool bRead = false;
	// A refused document's first fault as the parser words it, with its line (from 1) and, for JSON, its character
	// (from 1); 0 where the parser does not say.
	FString Fault;
	int32 FaultLine = 0;
	int32 FaultCharacter = 0;

	// Comments filed, and how many of them have each mode number.
	int32 Comments = 0;
	TMap<int32, int32> Modes;
	// Colours that do not read, shown in the default colour.
	int32 UnreadableColours = 0;
	TArray<FUnreachable> Unreachable;

	// JSON: ids beyond 32 bits, which are saturated, and times written as text that reads as no number, which are
	// filed at 0 s; each with the first one as written, shortened and escaped.
	int32 ClampedIds = 0;
	FString FirstClampedId;
	int32 UnreadTimes = 0;
	FString FirstUnreadTime;

	// XML: comments left out for a missing or bad p attribute, and colours cut to 24 bits.
	int32 Skipped = 0;
	int32 MaskedColours = 0;

	int32 CountMode(int32 Mode) const;
	// Counts one comment as it is filed.
	void NoteFiled(const FDanmakuData& Data);
	// Text from a document as a message may quote it: at most MaxCharacters, control characters escaped.
	static FString Excerpt(FStringView Text, int32 MaxCharacters = 60);
};
