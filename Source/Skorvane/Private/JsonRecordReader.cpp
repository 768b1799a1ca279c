#include "JsonRecordReader.h"

#include "Serialization/JsonReader.h"

namespace JsonRecordReader
{
namespace
{
const FStringView DatasName = TEXT("datas");

// Keeps the value the reader just read in Field (when given), skipping over an array or object.
template <class CharType>
bool ReadFieldValue(TJsonReader<CharType>& Reader, EJsonNotation Notation, FJsonRecordField* Field)
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

// Records nearly always list their keys in the same order, so the search starts after the last name found.
FJsonRecordField* FindField(const TArray<FStringView>& Names, TArray<FJsonRecordField>& Fields, const FString& Name,
                            int32& InOutNext)
{
	const int32 Count = Names.Num();
	const FStringView* const Expected = Names.GetData();
	const FStringView Given(Name);
	for (int32 Step = 0, Index = InOutNext < Count ? InOutNext : 0; Step < Count;
	     ++Step, Index = Index + 1 < Count ? Index + 1 : 0)
	{
		// Lengths first, then the exact spelling, which nearly every document uses; ignoring case costs more.
		if (Given.Len() == Expected[Index].Len() && (Given.Equals(Expected[Index], ESearchCase::CaseSensitive) ||
		                                             Given.Equals(Expected[Index], ESearchCase::IgnoreCase)))
		{
			InOutNext = Index + 1;
			return &Fields[Index];
		}
	}
	return nullptr;
}

// Reads one object, its ObjectStart already read, up to and including its end.
template <class CharType>
bool ReadObject(TJsonReader<CharType>& Reader, const TArray<FStringView>& Names, TArray<FJsonRecordField>& Fields)
{
	Fields.SetNum(Names.Num());
	for (FJsonRecordField& Field : Fields)
	{
		Field.Type = EJson::None;
	}
	EJsonNotation Notation = EJsonNotation::Null;
	int32 Next = 0;
	while (Reader.ReadNext(Notation))
	{
		if (Notation == EJsonNotation::ObjectEnd)
		{
			return true;
		}
		if (!ReadFieldValue(Reader, Notation, FindField(Names, Fields, Reader.GetIdentifier(), Next)))
		{
			return false;
		}
	}
	return false;
}

// Reads the "datas" array, its ArrayStart already read, up to and including its end.
template <class CharType>
bool ReadDatas(TJsonReader<CharType>& Reader, const TArray<FStringView>& Names,
               TFunctionRef<void(const TArray<FJsonRecordField>&)> OnRecord)
{
	TArray<FJsonRecordField> Fields;
	EJsonNotation Notation = EJsonNotation::Null;
	while (Reader.ReadNext(Notation))
	{
		switch (Notation)
		{
			case EJsonNotation::ArrayEnd:
				return true;
			case EJsonNotation::ObjectStart:
				if (!ReadObject(Reader, Names, Fields))
				{
					return false;
				}
				OnRecord(Fields);
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
template <class CharType>
bool IsAtCleanEnd(TJsonReader<CharType>& Reader)
{
	EJsonNotation Notation = EJsonNotation::Null;
	return !Reader.ReadNext(Notation) && Notation != EJsonNotation::Error;
}
} // namespace
} // namespace JsonRecordReader

bool FJsonRecordField::TryGetNumber(double& OutNumber) const
{
	switch (Type)
	{
		case EJson::Number:
			OutNumber = Number;
			return true;
		case EJson::String:
			return FJsonValueString(String).TryGetNumber(OutNumber);
		case EJson::Boolean:
			return FJsonValueBoolean(bBool).TryGetNumber(OutNumber);
		default:
			return false;
	}
}

bool FJsonRecordField::TryGetNumber(int64& OutNumber) const
{
	// Through the base class: the value classes override only the double overload, which hides the others.
	const auto AsInt64 = [&OutNumber](const FJsonValue& Value) { return Value.TryGetNumber(OutNumber); };
	switch (Type)
	{
		case EJson::Number:
			return AsInt64(FJsonValueNumber(Number));
		case EJson::String:
			return AsInt64(FJsonValueString(String));
		case EJson::Boolean:
			return AsInt64(FJsonValueBoolean(bBool));
		default:
			return false;
	}
}

int32 FJsonRecordField::GetClampedInt32() const
{
	double Value = 0.0;
	if (!TryGetNumber(Value) || FMath::IsNaN(Value))
	{
		return 0;
	}
	return static_cast<int32>(FMath::Clamp(Value, static_cast<double>(MIN_int32), static_cast<double>(MAX_int32)));
}

FString FJsonRecordField::GetString() const
{
	FString Text;
	switch (Type)
	{
		case EJson::String:
			// The reader's buffer has spare room; a string kept in an index should not.
			return FString::ConstructFromPtrSize(*String, String.Len());
		case EJson::Number:
			FJsonValueNumber(Number).TryGetString(Text);
			return Text;
		case EJson::Boolean:
			FJsonValueBoolean(bBool).TryGetString(Text);
			return Text;
		default:
			return Text;
	}
}

FJsonRecordReader::FJsonRecordReader(TArray<FStringView> InFieldNames) : FieldNames(MoveTemp(InFieldNames)) {}

bool FJsonRecordReader::ReadDocument(FStringView JsonText, TFunctionRef<void(const TArray<FJsonRecordField>&)> OnRecord,
                                     TFunctionRef<void()> OnRestart, FString* OutFault) const
{
	return Read(*TJsonReaderFactory<TCHAR>::CreateFromView(JsonText), OnRecord, OnRestart, OutFault);
}

bool FJsonRecordReader::ReadDocument(FUtf8StringView JsonText,
                                     TFunctionRef<void(const TArray<FJsonRecordField>&)> OnRecord,
                                     TFunctionRef<void()> OnRestart, FString* OutFault) const
{
	return Read(*TJsonReaderFactory<UTF8CHAR>::CreateFromView(JsonText), OnRecord, OnRestart, OutFault);
}

bool FJsonRecordReader::ReadDocument(FArchive& JsonText, TFunctionRef<void(const TArray<FJsonRecordField>&)> OnRecord,
                                     TFunctionRef<void()> OnRestart, FString* OutFault) const
{
	return Read(*TJsonReaderFactory<UTF8CHAR>::Create(&JsonText), OnRecord, OnRestart, OutFault);
}

template <class CharType>
bool FJsonRecordReader::Read(TJsonReader<CharType>& Reader,
                             TFunctionRef<void(const TArray<FJsonRecordField>&)> OnRecord,
                             TFunctionRef<void()> OnRestart, FString* OutFault) const
{
	using namespace JsonRecordReader;
	const auto Refuse = [&Reader, OutFault](const TCHAR* Lack)
	{
		if (OutFault)
		{
			*OutFault = Reader.GetErrorMessage().IsEmpty() ? FString(Lack) : Reader.GetErrorMessage();
		}
		return false;
	};
	EJsonNotation Notation = EJsonNotation::Null;
	if (!Reader.ReadNext(Notation))
	{
		return Refuse(TEXT("the text is no JSON value"));
	}
	if (Notation != EJsonNotation::ObjectStart)
	{
		return Refuse(TEXT("the root is not an object"));
	}
	bool bDatasIsArray = false;
	bool bHandedRecords = false;
	while (Reader.ReadNext(Notation) && Notation != EJsonNotation::ObjectEnd)
	{
		const bool bDatas = Reader.GetIdentifier() == DatasName;
		if (bDatas)
		{
			if (bHandedRecords)
			{
				OnRestart();
			}
			bDatasIsArray = Notation == EJsonNotation::ArrayStart;
		}
		if (bDatas && bDatasIsArray)
		{
			bHandedRecords = true;
			if (!ReadDatas(Reader, FieldNames, OnRecord))
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
	if (Notation != EJsonNotation::ObjectEnd)
	{
		return Refuse(TEXT("the root object does not end"));
	}
	if (!IsAtCleanEnd(Reader))
	{
		return Refuse(TEXT("text follows the root object"));
	}
	if (!bDatasIsArray)
	{
		return Refuse(TEXT("the root has no \"datas\" array"));
	}
	return true;
}

bool FJsonRecordReader::ReadRecord(FStringView JsonText, TArray<FJsonRecordField>& OutFields) const
{
	using namespace JsonRecordReader;
	const TSharedRef<TJsonReader<>> ReaderRef = TJsonReaderFactory<>::CreateFromView(JsonText);
	TJsonReader<>& Reader = *ReaderRef;
	EJsonNotation Notation = EJsonNotation::Null;
	return Reader.ReadNext(Notation) && Notation == EJsonNotation::ObjectStart &&
	       ReadObject(Reader, FieldNames, OutFields) && IsAtCleanEnd(Reader);
}
