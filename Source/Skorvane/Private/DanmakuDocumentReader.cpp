#include "DanmakuDocumentReader.h"

#include "Dom/JsonObject.h"
#include "Serialization/JsonReader.h"

namespace
{
// The record's keys, in the order the record's members are filled.
enum EField : int32
{
	DanmakuId,
	PostId,
	UserId,
	UserDisplayName,
	PostDate,
	SpawnTime,
	Content,
	Mode,
	FontSize,
	FontColor,
	FieldCount
};

const FStringView FieldNames[FieldCount] = {TEXT("danmaku_id"),        TEXT("post_id"),
                                            TEXT("user_id"),           TEXT("user_display_name"),
                                            TEXT("danmaku_post_date"), TEXT("danmaku_spawn_time"),
                                            TEXT("danmaku_content"),   TEXT("danmaku_mode"),
                                            TEXT("danmaku_font_size"), TEXT("danmaku_font_color")};

const FStringView DatasName = TEXT("datas");

// One field as the object model would hold it; None when the element has no such field.
struct FFieldValue
{
	EJson Type = EJson::None;
	double Number = 0.0;
	bool bBool = false;
	FString String;
};

// Stands in for an element without the field: its getters log and default exactly as for a missing field.
const FJsonObject& NoFields()
{
	static const FJsonObject Empty;
	return Empty;
}

// Calls Read with the field as a JSON value of its type, so that conversions between types, and the errors they
// log, are the object model's own.
template <typename ReadType>
auto ReadAsValue(const FFieldValue& Field, ReadType&& Read)
{
	switch (Field.Type)
	{
		case EJson::String:
			return Read(FJsonValueString(Field.String));
		case EJson::Number:
			return Read(FJsonValueNumber(Field.Number));
		case EJson::Boolean:
			return Read(FJsonValueBoolean(Field.bBool));
		case EJson::Array:
			return Read(FJsonValueArray({}));
		case EJson::Object:
			return Read(FJsonValueObject(nullptr));
		default:
			return Read(FJsonValueNull());
	}
}

double GetNumberField(const FFieldValue& Field, EField Name)
{
	if (Field.Type == EJson::None)
	{
		return NoFields().GetNumberField(FieldNames[Name]);
	}
	if (Field.Type == EJson::Number)
	{
		return Field.Number;
	}
	return ReadAsValue(Field, [](const FJsonValue& Value) { return Value.AsNumber(); });
}

// The field's text. A string field is copied at its exact length and keeps its buffer for the next element, so
// the index holds no spare capacity and reading allocates no more often.
FString GetStringField(const FFieldValue& Field, EField Name)
{
	if (Field.Type == EJson::None)
	{
		return NoFields().GetStringField(FieldNames[Name]);
	}
	if (Field.Type == EJson::String)
	{
		return FString(Field.String.Len(), *Field.String);
	}
	return ReadAsValue(Field, [](const FJsonValue& Value) { return Value.AsString(); });
}

// JSON numbers are doubles; a value beyond int32 saturates instead of overflowing the conversion.
int32 TruncateToInt32(double Value)
{
	if (FMath::IsNaN(Value))
	{
		return 0;
	}
	return static_cast<int32>(FMath::Clamp(Value, static_cast<double>(MIN_int32), static_cast<double>(MAX_int32)));
}

FDanmakuData MakeRecord(const FFieldValue (&Fields)[FieldCount])
{
	FDanmakuData Data;
	Data.DanmakuID = TruncateToInt32(GetNumberField(Fields[DanmakuId], DanmakuId));
	Data.PostID = TruncateToInt32(GetNumberField(Fields[PostId], PostId));
	Data.UserID = TruncateToInt32(GetNumberField(Fields[UserId], UserId));
	Data.UserDisplayName = GetStringField(Fields[UserDisplayName], UserDisplayName);
	Data.PostDate = FDateTime();
	// Only the parsed date is kept, so a string field is parsed where it lies.
	if (Fields[PostDate].Type == EJson::String)
	{
		FDateTime::Parse(Fields[PostDate].String, Data.PostDate);
	}
	else
	{
		FDateTime::Parse(GetStringField(Fields[PostDate], PostDate), Data.PostDate);
	}
	int64 Ticks = 0;
	const FFieldValue& Spawn = Fields[SpawnTime];
	const bool bHasTicks = Spawn.Type != EJson::None &&
	                       ReadAsValue(Spawn, [&Ticks](const FJsonValue& Value) { return Value.TryGetNumber(Ticks); });
	Data.SpawnTime = bHasTicks ? Ticks : 0;
	Data.Content = GetStringField(Fields[Content], Content);
	Data.Mode = static_cast<EDanmakuMode>(TruncateToInt32(GetNumberField(Fields[Mode], Mode)));
	Data.FontSize = TruncateToInt32(GetNumberField(Fields[FontSize], FontSize));
	Data.FontColor = GetStringField(Fields[FontColor], FontColor);
	return Data;
}

int32 FindField(const FString& Name)
{
	for (int32 Index = 0; Index < FieldCount; ++Index)
	{
		if (Name == FieldNames[Index])
		{
			return Index;
		}
	}
	return INDEX_NONE;
}

// Keeps the value the reader just read, skipping over an array or object. A repeated field keeps its last value,
// as the object model does.
bool ReadFieldValue(TJsonReader<>& Reader, EJsonNotation Notation, FFieldValue* Field)
{
	EJson Type = EJson::Null;
	switch (Notation)
	{
		case EJsonNotation::ObjectStart:
			Type = EJson::Object;
			if (!Reader.SkipObject())
			{
				return false;
			}
			break;
		case EJsonNotation::ArrayStart:
			Type = EJson::Array;
			if (!Reader.SkipArray())
			{
				return false;
			}
			break;
		case EJsonNotation::String:
			Type = EJson::String;
			if (Field)
			{
				Field->String = Reader.GetValueAsString();
			}
			break;
		case EJsonNotation::Number:
			Type = EJson::Number;
			if (Field)
			{
				Field->Number = Reader.GetValueAsNumber();
			}
			break;
		case EJsonNotation::Boolean:
			Type = EJson::Boolean;
			if (Field)
			{
				Field->bBool = Reader.GetValueAsBoolean();
			}
			break;
		default:
			break;
	}
	if (Field)
	{
		Field->Type = Type;
	}
	return true;
}

// Reads one element object, its ObjectStart already read, up to and including its end.
bool ReadElement(TJsonReader<>& Reader, FFieldValue (&Fields)[FieldCount])
{
	for (FFieldValue& Field : Fields)
	{
		Field.Type = EJson::None;
	}
	EJsonNotation Notation = EJsonNotation::Null;
	while (Reader.ReadNext(Notation))
	{
		if (Notation == EJsonNotation::ObjectEnd)
		{
			return true;
		}
		const int32 Index = FindField(Reader.GetIdentifier());
		if (!ReadFieldValue(Reader, Notation, Index == INDEX_NONE ? nullptr : &Fields[Index]))
		{
			return false;
		}
	}
	return false;
}

// Whether every field the getters read is there with its own type; only then does reading it log nothing. The
// spawn time is read with a TryGet form, which never logs.
bool ReadsWithoutLogging(const FFieldValue (&Fields)[FieldCount])
{
	for (int32 Index = 0; Index < FieldCount; ++Index)
	{
		const bool bText = Index == UserDisplayName || Index == PostDate || Index == Content || Index == FontColor;
		if (Index != SpawnTime && Fields[Index].Type != (bText ? EJson::String : EJson::Number))
		{
			return false;
		}
	}
	return true;
}

// An element whose reading logs: kept as read, and made into its record only once the whole document is known to
// be good and this "datas" to be the one that counts, so the log holds what the object model's read logs.
struct FDeferredElement
{
	int32 RecordIndex = 0;
	FFieldValue Fields[FieldCount];
};

// Reads the "datas" array, its ArrayStart already read, up to and including its end.
bool ReadDatas(TJsonReader<>& Reader, TArray<FDanmakuData>& OutRecords, TArray<FDeferredElement>& OutDeferred)
{
	FFieldValue Fields[FieldCount];
	EJsonNotation Notation = EJsonNotation::Null;
	while (Reader.ReadNext(Notation))
	{
		switch (Notation)
		{
			case EJsonNotation::ArrayEnd:
				return true;
			case EJsonNotation::ObjectStart:
				if (!ReadElement(Reader, Fields))
				{
					return false;
				}
				if (ReadsWithoutLogging(Fields))
				{
					OutRecords.Add(MakeRecord(Fields));
				}
				else
				{
					FDeferredElement& Deferred = OutDeferred.Emplace_GetRef();
					Deferred.RecordIndex = OutRecords.Num();
					std::swap(Deferred.Fields, Fields);
					OutRecords.AddDefaulted();
				}
				break;
			case EJsonNotation::ArrayStart:
				if (!Reader.SkipArray())
				{
					return false;
				}
				break;
			default:
				break;
		}
	}
	return false;
}
} // namespace

bool FDanmakuDocumentReader::Read(FStringView JsonText, TArray<FDanmakuData>& OutRecords)
{
	OutRecords.Reset();
	TJsonReader<> Reader(JsonText.GetData(), JsonText.Len());
	EJsonNotation Notation = EJsonNotation::Null;
	if (!Reader.ReadNext(Notation) || Notation != EJsonNotation::ObjectStart)
	{
		return false;
	}

	// The root's last "datas" field counts, as in the object model.
	FFieldValue Datas;
	TArray<FDeferredElement> Deferred;
	while (Reader.ReadNext(Notation) && Notation != EJsonNotation::ObjectEnd)
	{
		const bool bDatas = Reader.GetIdentifier() == DatasName;
		if (bDatas)
		{
			OutRecords.Reset();
			Deferred.Reset();
		}
		if (bDatas && Notation == EJsonNotation::ArrayStart)
		{
			Datas.Type = EJson::Array;
			if (!ReadDatas(Reader, OutRecords, Deferred))
			{
				break;
			}
		}
		else if (!ReadFieldValue(Reader, Notation, bDatas ? &Datas : nullptr))
		{
			break;
		}
	}
	// Anything but the root's end followed by nothing but white space refuses the whole document.
	if (Notation != EJsonNotation::ObjectEnd || Reader.ReadNext(Notation) || Notation == EJsonNotation::Error)
	{
		OutRecords.Reset();
		return false;
	}
	if (Datas.Type != EJson::Array)
	{
		OutRecords.Reset();
		if (Datas.Type == EJson::None)
		{
			NoFields().GetArrayField(TEXT("datas"));
		}
		else
		{
			ReadAsValue(Datas, [](const FJsonValue& Value) { return Value.AsArray().Num(); });
		}
		return false;
	}
	for (FDeferredElement& Element : Deferred)
	{
		OutRecords[Element.RecordIndex] = MakeRecord(Element.Fields);
	}
	return true;
}
