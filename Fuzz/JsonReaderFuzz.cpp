// The JSON reader: the object model read from a copy and from a view of the text, and the token reader, must
// agree on every input, the UTF-8 reader must read bytes as the text reader reads their decoded text and as a
// reader of the same bytes from an archive does, numbers must be the C library's reading of their text, and nothing
// may crash, leak or overflow.
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "FuzzSupport.h"
#include "Headless/Utf8String.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/MemoryReader.h"

#include <cstdlib>
#include <string>

namespace
{
bool SameValue(const FJsonValue& A, const FJsonValue& B)
{
	if (A.Type != B.Type)
	{
		return false;
	}
	switch (A.Type)
	{
		case EJson::Boolean:
			return A.AsBool() == B.AsBool();
		case EJson::Number:
			// Bit for bit: both readers must convert the same digits the same way.
			return A.AsNumber() == B.AsNumber() || (A.AsNumber() != A.AsNumber() && B.AsNumber() != B.AsNumber());
		case EJson::String:
			return A.AsString().Equals(B.AsString(), ESearchCase::CaseSensitive);
		case EJson::Array:
		{
			const TArray<TSharedPtr<FJsonValue>>& ItemsA = A.AsArray();
			const TArray<TSharedPtr<FJsonValue>>& ItemsB = B.AsArray();
			if (ItemsA.Num() != ItemsB.Num())
			{
				return false;
			}
			for (int32 Index = 0; Index < ItemsA.Num(); ++Index)
			{
				if (!SameValue(*ItemsA[Index], *ItemsB[Index]))
				{
					return false;
				}
			}
			return true;
		}
		case EJson::Object:
		{
			const TMap<FString, TSharedPtr<FJsonValue>>& FieldsA = A.AsObject()->Values;
			const TMap<FString, TSharedPtr<FJsonValue>>& FieldsB = B.AsObject()->Values;
			if (FieldsA.Num() != FieldsB.Num())
			{
				return false;
			}
			for (const auto& Field : FieldsA)
			{
				const TSharedPtr<FJsonValue>* Other = FieldsB.Find(Field.Key);
				if (!Other || !SameValue(*Field.Value, **Other))
				{
					return false;
				}
			}
			return true;
		}
		default:
			return true;
	}
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	static const bool bQuiet = (SilenceLog(), true);
	(void)bQuiet;
	const FString Text = FuzzText(Data, Size);

	TSharedPtr<FJsonValue> FromCopy;
	const bool bCopyRead = FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), FromCopy);
	TSharedPtr<FJsonValue> FromView;
	const bool bViewRead = FJsonSerializer::Deserialize(TJsonReaderFactory<>::CreateFromView(Text), FromView);
	check(bCopyRead == bViewRead);
	check(!bCopyRead || (FromCopy.IsValid() && FromView.IsValid() && SameValue(*FromCopy, *FromView)));

	// The token reader accepts exactly what the object model accepts.
	const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::CreateFromView(Text);
	EJsonNotation Notation = EJsonNotation::Null;
	int32 Depth = 0;
	while (Reader->ReadNext(Notation) && Notation != EJsonNotation::Error)
	{
		Depth += Notation == EJsonNotation::ObjectStart || Notation == EJsonNotation::ArrayStart ? 1 : 0;
		Depth -= Notation == EJsonNotation::ObjectEnd || Notation == EJsonNotation::ArrayEnd ? 1 : 0;
		check(Depth >= 0 && Depth <= TJsonReader<>::MaxDepth);
	}
	const bool bTokensRead = Notation != EJsonNotation::Error;
	check(bTokensRead == bCopyRead);
	check(!bTokensRead || Depth == 0);
	check(bCopyRead || !Reader->GetErrorMessage().IsEmpty());

	// Read where they lie, the bytes give the tokens their decoded text gives, malformed UTF-8 included.
	const FString Decoded = FromUtf8(std::string(reinterpret_cast<const char*>(Data), Size));
	const TSharedRef<TJsonReader<UTF8CHAR>> Bytes = TJsonReaderFactory<UTF8CHAR>::CreateFromView(
	    FUtf8StringView(reinterpret_cast<const UTF8CHAR*>(Data), int32(Size)));
	const TSharedRef<TJsonReader<>> Chars = TJsonReaderFactory<>::CreateFromView(Decoded);
	TArray<uint8> Stored;
	Stored.Append(Data, int32(Size));
	FMemoryReader Archive(Stored);
	const TSharedRef<TJsonReader<UTF8CHAR>> Streamed = TJsonReaderFactory<UTF8CHAR>::Create(&Archive);
	EJsonNotation FromBytes = EJsonNotation::Null;
	EJsonNotation FromChars = EJsonNotation::Null;
	EJsonNotation FromStream = EJsonNotation::Null;
	for (;;)
	{
		const bool bBytes = Bytes->ReadNext(FromBytes);
		check(bBytes == Chars->ReadNext(FromChars) && FromBytes == FromChars);
		check(bBytes == Streamed->ReadNext(FromStream) && FromBytes == FromStream);
		if (!bBytes)
		{
			check(Bytes->GetErrorMessage().Equals(Streamed->GetErrorMessage(), ESearchCase::CaseSensitive));
			break;
		}
		check(Bytes->GetIdentifier().Equals(Streamed->GetIdentifier(), ESearchCase::CaseSensitive));
		check(FromBytes != EJsonNotation::String ||
		      Bytes->GetValueAsString().Equals(Streamed->GetValueAsString(), ESearchCase::CaseSensitive));
		if (FromBytes == EJsonNotation::Number)
		{
			const double Expected = std::strtod(TCHAR_TO_UTF8(*Bytes->GetValueAsNumberString()), nullptr);
			check(Bytes->GetValueAsNumber() == Expected && Streamed->GetValueAsNumber() == Expected);
		}
		check(Bytes->GetIdentifier().Equals(Chars->GetIdentifier(), ESearchCase::CaseSensitive));
		check(FromBytes != EJsonNotation::String ||
		      Bytes->GetValueAsString().Equals(Chars->GetValueAsString(), ESearchCase::CaseSensitive));
		check(FromBytes != EJsonNotation::Number || Bytes->GetValueAsNumber() == Chars->GetValueAsNumber());
		check(FromBytes != EJsonNotation::Boolean || Bytes->GetValueAsBoolean() == Chars->GetValueAsBoolean());
	}
	return 0;
}
