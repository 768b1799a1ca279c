#pragma once

#include "CoreMinimal.h"
#include "DanmakuDocumentReport.h"

#include <string>

class UUI_Danmaku;

// A comment document read once from its file, by the overlay's own reader, into a time index the program keeps
// while it runs: what is wrong and where for a broken document, and the comments that can never be shown for a
// sound one, come from that one pass. JSON ({"datas": [...]}) or XML (<i><d p="...">text</d>...</i>, as video
// sites export comments).
class FCommentDocument
{
public:
	enum class EFormat : uint8
	{
		Json,
		Xml
	};
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

	// ".xml" files are XML and ".json" files JSON, whatever the case of the extension; any other file is XML when
	// its first character after blanks and a byte order mark is '<', JSON otherwise.
	static EFormat ChooseFormat(const FString& Path, FUtf8StringView Text);

	// Reads and checks the file; false with a message naming the file and, for broken JSON, the line and
	// character of the fault.
	bool Read(const FString& InPath, FString& OutError);
	// The length of the media the document belongs to, once it opened.
	void SetDuration(double DurationSeconds) { Duration = DurationSeconds; }
	// After the run, given the seconds that were due during it (entered or passed over): the comments of the other
	// seconds become unshowable past the end of the media when they lie there, and are otherwise not reached.
	// Returns those past the end; once only.
	TArray<FUnshowable> SettleAfterRun(const TMap<int64, int32>& DueSeconds);
	// Hands the index to the overlay, and takes it back, with what was filed since, when another lesson's comes.
	void HandTo(UUI_Danmaku& Overlay);
	void TakeBackFrom(UUI_Danmaku& Overlay);

	static FString ReasonName(EUnshowable Reason);
	int32 CountUnshowable(EUnshowable Reason) const;

	FString Path;
	EFormat Format = EFormat::Json;
	int32 Comments = 0;
	// Modes no overlay places; reverse comments are counted apart, since a host may turn them on.
	int32 NeverPlacedMode = 0;
	int32 Reverse = 0;
	// Comments filed under a second that was never due during the run, known after SettleAfterRun.
	int32 NotReached = 0;
	// Times written as text that reads as no number, which the overlay files at 0 s; the first of them.
	int32 UnreadTimes = 0;
	FString FirstUnreadTime;
	// Ids beyond 32 bits, which the overlay saturates.
	int32 ClampedIds = 0;
	FString FirstClampedId;
	TArray<FUnshowable> Unshowable;
	// XML comments left out for a missing or bad attribute, and XML colours cut to 24 bits.
	int32 Skipped = 0;
	int32 MaskedColours = 0;

private:
	struct FFiled
	{
		double Seconds = 0.0;
		int32 Id = 0;
		int32 Mode = 0;
	};
	bool ReadUtf8(std::string& OutBytes, FString& OutError);
	bool File(const std::string& Bytes, FString& OutError);
	// Takes what one reading of the document found: its fault, or its counts and what each second holds.
	bool TakeReport(bool bRead, const FDanmakuDocumentReport& Report, FString& OutError);
	bool CannotRead(FString& OutError) const;

	FDanmakuIndex Index;
	TArray<FFiled> Filed;
	double Duration = -1.0;
	bool bSettled = false;
};
