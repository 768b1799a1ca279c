#include "BulletChatDocumentReader.h"

#include "Dom/JsonValue.h"
#include "Serialization/JsonReader.h"

// Named as well, so that a unity build of the module keeps these helpers apart from other files' own.
namespace BulletChatDocumentReader
{
namespace
{
enum class EBulletChatField : int32
{
	Id,
	PostId,
	AuthorId,
	Author,
	Date,
	Time,
	Content,
	Fabulous,
	Count
};

constexpr int32 NumFields = static_cast<int32>(EBulletChatField::Count);

const FStringView FieldNames[NumFields] = {TEXT("id"),
                                           TEXT("post_id"),
                                           TEXT("bullet_chat_author_id"),
                                           TEXT("bullet_chat_author"),
                                           TEXT("bullet_chat_date"),
                                           TEXT("time"),
                                           TEXT("bullet_chat_content"),
                                           TEXT("fabulous")};

const FStringView DatasName = TEXT("datas");

// One field of the object being read; None when the object has no such field.
struct FFieldValue
{
	EJson Type = EJson::None;
	double Number = 0.0;
	bool bBool = false;
	FString String;
};

struct FRecordFields
{
	FFieldValue Values[NumFields];

	const FFieldValue& operator[](EBulletChatField Field) const { return Values[static_cast<int32>(Field)]; }

	FFieldValue* Find(const FString& Name)
	{
		for (int32 Index = 0; Index < NumFields; ++Index)
		{
			if (Name == FieldNames[Index])
			{
				return &Values[Index];
			}
		}
		return nullptr;
	}

	void Reset()
	{
		for (FFieldValue& Value : Values)
		{
			Value.Type = EJson::None;
		}
	}
};

// False when the field is missing or is not a number, a boolean or a text that reads as a number.
bool TryReadNumber(const FFieldValue& Value, double& OutNumber)
{
	switch (Value.Type)
	{
		case EJson::Number:
			OutNumber = Value.Number;
			return true;
		case EJson::String:
			return FJsonValueString(Value.String).TryGetNumber(OutNumber);
		case EJson::Boolean:
			return FJsonValueBoolean(Value.bBool).TryGetNumber(OutNumber);
		default:
			return false;
	}
}

// JSON numbers are doubles; one beyond int32 saturates instead of overflowing the conversion.
int32 ReadInt32(const FFieldValue& Value)
{
	double Number = 0.0;
	if (!TryReadNumber(Value, Number) || FMath::IsNaN(Number))
	{
		return 0;
	}
	return static_cast<int32>(FMath::Clamp(Number, static_cast<double>(MIN_int32), static_cast<double>(MAX_int32)));
}

FString ReadString(const FFieldValue& Value)
{
	FString Text;
	switch (Value.Type)
	{
		case EJson::String:
			return Value.String;
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

FBulletChatData MakeRecord(const FRecordFields& Fields)
{
	FBulletChatData Data;
	double Id = 0.0;
	Data.bHasID = TryReadNumber(Fields[EBulletChatField::Id], Id);
	Data.ID = ReadInt32(Fields[EBulletChatField::Id]);
	Data.PostID = ReadInt32(Fields[EBulletChatField::PostId]);
	Data.AuthorID = ReadInt32(Fields[EBulletChatField::AuthorId]);
	Data.Author = ReadString(Fields[EBulletChatField::Author]);
	FDateTime Date;
	if (FDateTime::Parse(ReadString(Fields[EBulletChatField::Date]), Date))
	{
		Data.Date = Date;
	}
	FTimespan Time;
	if (FTimespan::Parse(ReadString(Fields[EBulletChatField::Time]), Time))
	{
		Data.Time = Time;
	}
	Data.Content = ReadString(Fields[EBulletChatField::Content]);
	Data.Fabulous = ReadInt32(Fields[EBulletChatField::Fabulous]);
	return Data;
}

// Keeps the value the reader just read in Value (when given), skipping over an array or object. A repeated field
// keeps its last value.
bool ReadFieldValue(TJsonReader<>& Reader, EJsonNotation Notation, FFieldValue* Value)
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

// Reads the fields of an object whose ObjectStart is already read, up to and including its end.
bool ReadRecordFields(TJsonReader<>& Reader, FRecordFields& Fields)
{
	Fields.Reset();
	EJsonNotation Notation = EJsonNotation::Null;
	while (Reader.ReadNext(Notation))
	{
		if (Notation == EJsonNotation::ObjectEnd)
		{
			return true;
		}
		if (!ReadFieldValue(Reader, Notation, Fields.Find(Reader.GetIdentifier())))
		{
			return false;
		}
	}
	return false;
}

// Reads the "datas" array, its ArrayStart already read, up to and including its end.
bool ReadDatas(TJsonReader<>& Reader, TArray<FBulletChatData>& OutRecords)
{
	FRecordFields Fields;
	EJsonNotation Notation = EJsonNotation::Null;
	while (Reader.ReadNext(Notation))
	{
		switch (Notation)
		{
			case EJsonNotation::ArrayEnd:
				return true;
			case EJsonNotation::ObjectStart:
				if (!ReadRecordFields(Reader, Fields))
				{
					return false;
				}
				OutRecords.Add(MakeRecord(Fields));
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

// True when the root's end is followed by nothing but white space.
bool IsAtCleanEnd(TJsonReader<>& Reader)
{
	EJsonNotation Notation = EJsonNotation::Null;
	return !Reader.ReadNext(Notation) && Notation != EJsonNotation::Error;
}
} // namespace
} // namespace BulletChatDocumentReader

bool FBulletChatDocumentReader::ReadDocument(FStringView JsonText, TArray<FBulletChatData>& OutRecords)
{
	OutRecords.Reset();
	const TSharedRef<TJsonReader<>> ReaderRef = TJsonReaderFactory<>::CreateFromView(JsonText);
	TJsonReader<>& Reader = *ReaderRef;
	EJsonNotation Notation = EJsonNotation::Null;
	if (!Reader.ReadNext(Notation) || Notation != EJsonNotation::ObjectStart)
	{
		return false;
	}

	// The root's last "datas" field counts, as when a duplicate key keeps the last value.
	bool bDatasIsArray = false;
	while (Reader.ReadNext(Notation) && Notation != EJsonNotation::ObjectEnd)
	{
		const bool bDatas = Reader.GetIdentifier() == BulletChatDocumentReader::DatasName;
		if (bDatas)
		{
			OutRecords.Reset();
			bDatasIsArray = Notation == EJsonNotation::ArrayStart;
		}
		const bool bRead = bDatas && bDatasIsArray
		                       ? BulletChatDocumentReader::ReadDatas(Reader, OutRecords)
		                       : BulletChatDocumentReader::ReadFieldValue(Reader, Notation, nullptr);
		if (!bRead)
		{
			break;
		}
	}
	if (Notation != EJsonNotation::ObjectEnd || !BulletChatDocumentReader::IsAtCleanEnd(Reader) || !bDatasIsArray)
	{
		OutRecords.Reset();
		return false;
	}
	return true;
}

bool FBulletChatDocumentReader::ReadRecord(FStringView JsonText, FBulletChatData& OutRecord)
{
	const TSharedRef<TJsonReader<>> ReaderRef = TJsonReaderFactory<>::CreateFromView(JsonText);
	TJsonReader<>& Reader = *ReaderRef;
	EJsonNotation Notation = EJsonNotation::Null;
	BulletChatDocumentReader::FRecordFields Fields;
	if (!Reader.ReadNext(Notation) || Notation != EJsonNotation::ObjectStart ||
	    !BulletChatDocumentReader::ReadRecordFields(Reader, Fields) || !BulletChatDocumentReader::IsAtCleanEnd(Reader))
	{
		return false;
	}
	OutRecord = BulletChatDocumentReader::MakeRecord(Fields);
	return true;
}
