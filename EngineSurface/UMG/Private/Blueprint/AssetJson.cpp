#include "Blueprint/AssetJson.h"

#include "Dom/JsonObject.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

namespace
{
// Copies a parsed value into the loader's own tree, which keeps object fields in file order.
void Convert(const FJsonValue& Value, FAssetJsonValue& Out)
{
	switch (Value.Type)
	{
		case EJson::Boolean:
			Out.Type = FAssetJsonValue::EType::Bool;
			Out.Bool = Value.AsBool();
			break;
		case EJson::Number:
			Out.Type = FAssetJsonValue::EType::Number;
			Out.Number = Value.AsNumber();
			break;
		case EJson::String:
			Out.Type = FAssetJsonValue::EType::String;
			Out.String = Value.AsString();
			break;
		case EJson::Array:
			Out.Type = FAssetJsonValue::EType::Array;
			for (const TSharedPtr<FJsonValue>& Item : Value.AsArray())
			{
				Convert(*Item, Out.Items.Emplace_GetRef());
			}
			break;
		case EJson::Object:
			Out.Type = FAssetJsonValue::EType::Object;
			for (const auto& Field : Value.AsObject()->Values)
			{
				Out.Keys.Add(Field.Key);
				Convert(*Field.Value, Out.Items.Emplace_GetRef());
			}
			break;
		default:
			Out.Type = FAssetJsonValue::EType::Null;
			break;
	}
}
} // namespace

const FAssetJsonValue* FAssetJsonValue::Find(const TCHAR* Key) const
{
	if (Type != EType::Object)
	{
		return nullptr;
	}
	const FString Wanted(Key);
	const int32 Index = Keys.IndexOfByPredicate([&Wanted](const FString& Each)
	                                            { return Each.Equals(Wanted, ESearchCase::CaseSensitive); });
	return Index == INDEX_NONE ? nullptr : &Items[Index];
}

FString FAssetJsonValue::ToPropertyText() const
{
	switch (Type)
	{
		case EType::Bool:
			return Bool ? TEXT("True") : TEXT("False");
		case EType::Number:
		{
			// Converting a double outside int64's range to int64 is undefined, so the range is checked first.
			const bool bWholeInt64 = Number >= -9223372036854775808.0 && Number < 9223372036854775808.0 &&
			                         FMath::TruncToDouble(Number) == Number;
			return bWholeInt64 ? FString::Printf(TEXT("%lld"), static_cast<long long>(Number))
			                   : FString::Printf(TEXT("%.9g"), Number);
		}
		case EType::String:
			return String;
		default:
			return FString();
	}
}

bool FAssetJsonValue::Parse(const FString& Text, FAssetJsonValue& OutValue, FString& OutError)
{
	const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::Create(Text);
	TSharedPtr<FJsonValue> Parsed;
	if (!FJsonSerializer::Deserialize(Reader, Parsed) || !Parsed.IsValid())
	{
		OutError = Reader->GetErrorMessage();
		return false;
	}
	OutValue = FAssetJsonValue();
	Convert(*Parsed, OutValue);
	return true;
}
