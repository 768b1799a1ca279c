#include "DanmakuDocumentReader.h"

#include "Dom/JsonValue.h"
#include "Serialization/JsonReader.h"

namespace
{
// The record's keys, in the order the record's members are filled.
enum class EDanmakuField : int32
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
	Count
};

constexpr int32 NumFields = static_cast<int32>(EDanmakuField::Count);

const FStringView FieldNames[NumFields] = {TEXT("danmaku_id"),        TEXT("post_id"),
                                           TEXT("user_id"),           TEXT("user_display_name"),
                                           TEXT("danmaku_post_date"), TEXT("danmaku_spawn_time"),
                                           TEXT("danmaku_content"),   TEXT("danmaku_mode"),
                                           TEXT("danmaku_font_size"), TEXT("danmaku_font_color")};

const FStringView DatasName = TEXT("datas");

// One field of the element being read; None when the element has no such field.
struct FFieldValue
{
	EJson Type = EJson::None;
	double Number = 0.0;
	bool bBool = false;
	FString String;
};

using FElementFields = FFieldValue[NumFields];

const FFieldValue& Field(const FElementFields& Fields, EDanmakuField Name)
{
	return Fields[static_cast<int32>(Name)];
}

// A number field as the JSON layer converts it: a string that reads as a number and a boolean count; anything
// else, or no field, is 0.
double ReadNumber(const FFieldValue& Value)
{
	double Number = 0.0;
	switch (Value.Type)
	{
		case EJson::Number:
			return Value.Number;
		case EJson::String:
			return FJsonValueString(Value.String).TryGetNumber(Number) ? Number : 0.0;
		case EJson::Boolean:
			return FJsonValueBoolean(Value.bBool).TryGetNumber(Number) ? Number : 0.0;
		default:
			return 0.0;
	}
}

// A string field as the JSON layer converts it: numbers and booleans are written out; anything else, or no field,
// is empty. A string is copied at its exact length so the index holds no spare capacity.
FString ReadString(const FFieldValue& Value)
{
	FString Text;
	switch (Value.Type)
	{
		case EJson::String:
			return FString::ConstructFromPtrSize(*Value.String, Value.String.Len());
		case EJson::Number:
			FJsonValueNumber(Value.Number).TryGetString(Text);
			return Text;
		case EJson::Boolean:
			FJsonValueBoolean(Value.bBool).TryGetString(Text);
			return Text;
		default:
			return Text;
	}
}

// The spawn time in whole ticks; 0 when the field is missing or does not read as a 64-bit number.
int64 ReadTicks(const FFieldValue& Value)
{
	int64 Ticks = 0;
	bool bRead = false;
	switch (Value.Type)
	{
		case EJson::Number:
			bRead = FJsonValueNumber(Value.Number).TryGetNumber(Ticks);
			break;
		case EJson::String:
			bRead = FJsonValueString(Value.String).TryGetNumber(Ticks);
			break;
		case EJson::Boolean:
			bRead = FJsonValueBoolean(Value.bBool).TryGetNumber(Ticks);
			break;
		default:
			break;
	}
	return bRead ? Ticks : 0;
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

FDanmakuData MakeRecord(const FElementFields& Fields)
{
	FDanmakuData Data;
	Data.DanmakuID = TruncateToInt32(ReadNumber(Field(Fields, EDanmakuField::DanmakuId)));
	Data.PostID = TruncateToInt32(ReadNumber(Field(Fields, EDanmakuField::PostId)));
	Data.UserID = TruncateToInt32(ReadNumber(Field(Fields, EDanmakuField::UserId)));
	Data.UserDisplayName = ReadString(Field(Fields, EDanmakuField::UserDisplayName));
	const FFieldValue& PostDate = Field(Fields, EDanmakuField::PostDate);
	FDateTime::Parse(PostDate.Type == EJson::String ? PostDate.String : ReadString(PostDate), Data.PostDate);
	Data.SpawnTime = ReadTicks(Field(Fields, EDanmakuField::SpawnTime));
	Data.Content = ReadString(Field(Fields, EDanmakuField::Content));
	Data.Mode = static_cast<EDanmakuMode>(TruncateToInt32(ReadNumber(Field(Fields, EDanmakuField::Mode))));
	Data.FontSize = TruncateToInt32(ReadNumber(Field(Fields, EDanmakuField::FontSize)));
	Data.FontColor = ReadString(Field(Fields, EDanmakuField::FontColor));
	return Data;
}

FFieldValue* FindField(FElementFields& Fields, const FString& Name)
{
	for (int32 Index = 0; Index < NumFields; ++Index)
	{
		if (Name == FieldNames[Index])
		{
			return &Fields[Index];
		}
	}
	return nullptr;
}

// Keeps the value the reader just read in Value (when given), skipping over an array or object. A repeated field
// keeps its last value.
template <class CharType>
bool ReadFieldValue(TJsonReader<CharType>& Reader, EJsonNotation Notation, FFieldValue* Value)
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
			if (Value)
			{
				Value->String = Reader.GetValueAsString();
			}
			break;
		case EJsonNotation::Number:
			Type = EJson::Number;
			if (Value)
			{
				Value->Number = Reader.GetValueAsNumber();
			}
			break;
		case EJsonNotation::Boolean:
			Type = EJson::Boolean;
			if (Value)
			{
				Value->bBool = Reader.GetValueAsBoolean();
			}
			break;
		default:
			break;
	}
	if (Value)
	{
		Value->Type = Type;
	}
	return true;
}

// Reads one element object, its ObjectStart already read, up to and including its end.
template <class CharType>
bool ReadElement(TJsonReader<CharType>& Reader, FElementFields& Fields)
{
	for (FFieldValue& Value : Fields)
	{
		Value.Type = EJson::None;
	}
	EJsonNotation Notation = EJsonNotation::Null;
	while (Reader.ReadNext(Notation))
	{
		if (Notation == EJsonNotation::ObjectEnd)
		{
			return true;
		}
		if (!ReadFieldValue(Reader, Notation, FindField(Fields, Reader.GetIdentifier())))
		{
			return false;
		}
	}
	return false;
}

// Reads the "datas" array, its ArrayStart already read, up to and including its end.
template <class CharType>
bool ReadDatas(TJsonReader<CharType>& Reader, TFunctionRef<void(FDanmakuData&&)> AddRecord)
{
	FElementFields Fields;
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
				AddRecord(MakeRecord(Fields));
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
template <class CharType>
bool ReadDocument(TStringView<CharType> JsonText, TFunctionRef<void(FDanmakuData&&)> AddRecord,
                  TFunctionRef<void()> Restart)
{
	const TSharedRef<TJsonReader<CharType>> ReaderRef = TJsonReaderFactory<CharType>::CreateFromView(JsonText);
	TJsonReader<CharType>& Reader = *ReaderRef;
	EJsonNotation Notation = EJsonNotation::Null;
	if (!Reader.ReadNext(Notation) || Notation != EJsonNotation::ObjectStart)
	{
		return false;
	}

	// The root's last "datas" field counts, as when a duplicate key keeps the last value.
	bool bDatasIsArray = false;
	bool bHandedRecords = false;
	while (Reader.ReadNext(Notation) && Notation != EJsonNotation::ObjectEnd)
	{
		const bool bDatas = Reader.GetIdentifier() == DatasName;
		if (bDatas)
		{
			if (bHandedRecords)
			{
				Restart();
			}
			bDatasIsArray = Notation == EJsonNotation::ArrayStart;
		}
		if (bDatas && bDatasIsArray)
		{
			bHandedRecords = true;
			if (!ReadDatas(Reader, AddRecord))
			{
				break;
			}
		}
		else if (!ReadFieldValue(Reader, Notation, nullptr))
		{
			break;
		}
	}
	// Anything but the root's end followed by nothing but white space refuses the whole document.
	return Notation == EJsonNotation::ObjectEnd && !Reader.ReadNext(Notation) && Notation != EJsonNotation::Error &&
	       bDatasIsArray;
}
} // namespace

bool FDanmakuDocumentReader::Read(FStringView JsonText, TArray<FDanmakuData>& OutRecords)
{
	OutRecords.Reset();
	const bool bRead = ReadDocument<TCHAR>(
	    JsonText, [&OutRecords](FDanmakuData&& Record) { OutRecords.Add(MoveTemp(Record)); },
	    [&OutRecords] { OutRecords.Reset(); });
	if (!bRead)
	{
		OutRecords.Reset();
	}
	return bRead;
}

bool FDanmakuDocumentReader::Read(FUtf8StringView JsonText, TFunctionRef<void(FDanmakuData&&)> AddRecord,
                                  TFunctionRef<void()> Restart)
{
	return ReadDocument<UTF8CHAR>(JsonText, AddRecord, Restart);
}

bool FDanmakuDocumentReader::ReadRecord(FStringView JsonText, FDanmakuData& OutRecord)
{
	const TSharedRef<TJsonReader<>> ReaderRef = TJsonReaderFactory<>::CreateFromView(JsonText);
	TJsonReader<>& Reader = *ReaderRef;
	EJsonNotation Notation = EJsonNotation::Null;
	FElementFields Fields;
	if (!Reader.ReadNext(Notation) || Notation != EJsonNotation::ObjectStart || !ReadElement(Reader, Fields))
	{
		return false;
	}
	// Only white space may follow the object, and a comment has at least its text and its time.
	if (Reader.ReadNext(Notation) || Notation == EJsonNotation::Error ||
	    Field(Fields, EDanmakuField::Content).Type == EJson::None ||
	    Field(Fields, EDanmakuField::SpawnTime).Type == EJson::None)
	{
		return false;
	}
	OutRecord = MakeRecord(Fields);
	return true;
}
