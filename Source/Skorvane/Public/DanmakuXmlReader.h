#pragma once

#include "CoreMinimal.h"
#include "DanmakuDataStruct.h"
#include "DanmakuDocumentReport.h"

// Reads the XML comment format that video sites export: an <i> root holding one <d p="...">text</d> per comment,
// where p is "time,mode,size,colour[,post time,pool,user hash,row id,...]": time in seconds, mode 1 to 3 scroll,
// 4 bottom, 5 top, 6 reverse, 7 positioned (its text is the positioning payload), 8 and above special; size a font
// size; colour a decimal RGB number.
class SKORVANE_API FDanmakuXmlReader
{
public:
	// Every <d> that reads becomes one record, in document order. A <d> whose p attribute is missing or has a bad
	// field is skipped with a log line. A colour above 24 bits keeps its low 24 bits, as players of the format do.
	// False, with no records, when the text is not well-formed XML or its root is not <i>. OutSkipped and
	// OutMaskedColours, when given, receive the number of comments skipped and of colours masked.
	static bool Read(const FString& XmlText, TArray<FDanmakuData>& OutRecords, int32* OutSkipped = nullptr,
	                 int32* OutMaskedColours = nullptr);
	// The same read comment by comment as the parse goes, from text the parse may change: each comment goes to
	// AddRecord as its element closes. On false the caller drops every record it was handed; OutReport then holds
	// the fault and its line, and otherwise the counts.
	static bool Read(TCHAR* XmlText, TFunctionRef<void(FDanmakuData&&)> AddRecord, FDanmakuDocumentReport& OutReport);
	// The same from a file, which the engine's parser loads itself, as the engine's file loader reads text.
	static bool ReadFile(const FString& Path, TFunctionRef<void(FDanmakuData&&)> AddRecord,
	                     FDanmakuDocumentReport& OutReport);

	// The overlay's mode of a mode number of the format; false for a number the format does not define (0 and
	// below). Positioned (7) and special comments (8 and above) keep their number.
	static bool ConvertMode(int64 XmlMode, EDanmakuMode& OutMode);

private:
	static bool Parse(const TCHAR* Path, TCHAR* XmlText, TFunctionRef<void(FDanmakuData&&)> AddRecord,
	                  FDanmakuDocumentReport& OutReport);
};
