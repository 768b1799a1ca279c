#pragma once

#include "CoreMinimal.h"
#include "DanmakuDataStruct.h"

// Reads the XML comment format that video sites export: an <i> root holding one <d p="...">text</d> per comment,
// where p is "time,mode,size,colour[,post time,pool,user hash,row id,...]": time in seconds, mode 1 to 3 scroll,
// 4 bottom, 5 top, 6 reverse, 7 and above special; size a font size; colour a decimal RGB number.
class SKORVANE_API FDanmakuXmlReader
{
public:
	// Every <d> that reads becomes one record, in document order. A <d> whose p attribute is missing or has a bad
	// field is skipped with a log line. False, with no records, when the text is not well-formed XML or its root
	// is not <i>. OutSkipped, when given, receives the number of comments skipped.
	static bool Read(const FString& XmlText, TArray<FDanmakuData>& OutRecords, int32* OutSkipped = nullptr);

	// The overlay's mode of a mode number of the format; false for a number the format does not define (0 and
	// below). Special comments (7 and above) keep their number, which no lane takes.
	static bool ConvertMode(int64 XmlMode, EDanmakuMode& OutMode);
};
