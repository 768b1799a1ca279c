#pragma once

#include "CoreMinimal.h"
#include "DanmakuDataStruct.h"
#include "DanmakuDocumentReport.h"

class FArchive;

// Reads a comment document ({"datas": [{...}, ...]}) token by token, in one pass, into records. The records are
// those of reading the document into the JSON object model and taking every field with the object's getters
// (missing fields 0 or empty, numbers and strings converted as the JSON layer converts them); the model itself is
// never built, so a document of many thousand comments costs a few allocations per comment instead of dozens.
// Nothing is logged per field: a document of many thousand comments with one key missing would flood the log.
class FDanmakuDocumentReader
{
public:
	// False, with no records, when the text is not one valid JSON value, the root is not an object or the root
	// has no "datas" array. Elements of "datas" that are not objects are skipped.
	static bool Read(FStringView JsonText, TArray<FDanmakuData>& OutRecords);
	// The same from UTF-8 text, such as a file's bytes, read where it lies: each record goes to AddRecord as soon as
	// it is read, so no array of them all is built. Restart comes when a later "datas" array replaces the records
	// handed so far. On false the caller drops every record it was handed.
	// OutReport receives the fault of a refused document, and the counts of a read one: ids beyond 32 bits, times
	// that read as no number and comments under seconds no clock reaches. AddRecord notes each record it files.
	static bool Read(FUtf8StringView JsonText, TFunctionRef<void(FDanmakuData&&)> AddRecord,
	                 TFunctionRef<void()> Restart, FDanmakuDocumentReport& OutReport);
	static bool Read(FStringView JsonText, TFunctionRef<void(FDanmakuData&&)> AddRecord, TFunctionRef<void()> Restart,
	                 FDanmakuDocumentReport& OutReport);
	// The same from UTF-8 text read from an archive a piece at a time; the caller checks the archive's error flag.
	static bool Read(FArchive& JsonText, TFunctionRef<void(FDanmakuData&&)> AddRecord, TFunctionRef<void()> Restart,
	                 FDanmakuDocumentReport& OutReport);
	// One element of "datas" on its own: false unless the text is exactly one JSON object with at least the
	// comment's text and spawn time.
	static bool ReadRecord(FStringView JsonText, FDanmakuData& OutRecord);
};
