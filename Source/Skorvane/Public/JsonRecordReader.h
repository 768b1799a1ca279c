#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonValue.h"

class FArchive;
template <class CharType>
class TJsonReader;

// One field of a JSON object, kept as the object model would hold it; None when the object has no such field.
struct SKORVANE_API FJsonRecordField
{
	EJson Type = EJson::None;
	double Number = 0.0;
	bool bBool = false;
	FString String;

	// As the JSON layer converts: false unless the field is a number, a boolean or a text that reads as a number.
	bool TryGetNumber(double& OutNumber) const;
	bool TryGetNumber(int64& OutNumber) const;
	// The number truncated toward zero; beyond int32 it saturates instead of overflowing the conversion, and 0
	// when the field does not read as a number.
	int32 GetClampedInt32() const;
	// Text as is, at its exact length; numbers and booleans written out as the JSON layer writes them; anything
	// else, or no field, empty.
	FString GetString() const;
};

// Reads documents of records, {"datas": [{...}, ...]}, token by token in one pass, without building the JSON
// object model: of each record only the fields named when the reader was made are kept, in the order of their
// names. The root's last "datas" counts, as a duplicate key keeps its last value; elements that are not objects
// are skipped. Names are matched ignoring case, as the object model finds them, and a repeated field keeps its
// last value. Nothing is logged: a document of many thousand records with one key missing would flood the log.
class SKORVANE_API FJsonRecordReader
{
public:
	explicit FJsonRecordReader(TArray<FStringView> InFieldNames);

	// Each record's fields go to OnRecord as the record ends; OnRestart comes when a later "datas" array replaces
	// the records handed so far. False when the text is not one valid JSON value, the root is not an object or it
	// has no "datas" array; the caller then drops every record it was handed. OutFault, when given, receives the
	// first fault: the JSON reader's message (which names its line and character) or what the document lacks.
	bool ReadDocument(FStringView JsonText, TFunctionRef<void(const TArray<FJsonRecordField>&)> OnRecord,
	                  TFunctionRef<void()> OnRestart, FString* OutFault = nullptr) const;
	// The same from UTF-8 text, such as a file's bytes, read where it lies.
	bool ReadDocument(FUtf8StringView JsonText, TFunctionRef<void(const TArray<FJsonRecordField>&)> OnRecord,
	                  TFunctionRef<void()> OnRestart, FString* OutFault = nullptr) const;
	// The same from UTF-8 text read from an archive's position a piece at a time, such as a file reader, so that a
	// large document is never held whole. A read of the archive that fails ends the text there: the caller checks the
	// archive's error flag.
	bool ReadDocument(FArchive& JsonText, TFunctionRef<void(const TArray<FJsonRecordField>&)> OnRecord,
	                  TFunctionRef<void()> OnRestart, FString* OutFault = nullptr) const;
	// The records of a whole document, each made from its fields by MakeRecord; none when it is refused.
	template <typename RecordType, typename MakeRecordType>
	bool ReadDocument(FStringView JsonText, TArray<RecordType>& OutRecords, MakeRecordType&& MakeRecord) const
	{
		OutRecords.Reset();
		const bool bRead = ReadDocument(
		    JsonText, [&](const TArray<FJsonRecordField>& Fields) { OutRecords.Add(MakeRecord(Fields)); },
		    [&OutRecords] { OutRecords.Reset(); });
		if (!bRead)
		{
			OutRecords.Reset();
		}
		return bRead;
	}
	// One record on its own: false unless the text is exactly one JSON object.
	bool ReadRecord(FStringView JsonText, TArray<FJsonRecordField>& OutFields) const;

private:
	template <class CharType>
	bool Read(TJsonReader<CharType>& Reader, TFunctionRef<void(const TArray<FJsonRecordField>&)> OnRecord,
	          TFunctionRef<void()> OnRestart, FString* OutFault) const;

	TArray<FStringView> FieldNames;
};
