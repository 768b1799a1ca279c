#include "Serialization/JsonSerializer.h"

#include "Serialization/JsonParser.h"

bool FJsonSerializer::Deserialize(const TSharedRef<TJsonReader<TCHAR>>& Reader, TSharedPtr<FJsonValue>& OutValue)
{
	const FString& Text = Reader->GetText();
	FString Error;
	OutValue = FJsonParser(*Text, Text.Len()).Parse(Error);
	Reader->SetErrorMessage(Error);
	return OutValue.IsValid();
}

bool FJsonSerializer::Deserialize(const TSharedRef<TJsonReader<TCHAR>>& Reader, TSharedPtr<FJsonObject>& OutObject)
{
	TSharedPtr<FJsonValue> Value;
	const TSharedPtr<FJsonObject>* Object = nullptr;
	if (!Deserialize(Reader, Value) || !Value->TryGetObject(Object))
	{
		if (Value.IsValid())
		{
			Reader->SetErrorMessage(TEXT("The root is not an object"));
		}
		OutObject.Reset();
		return false;
	}
	OutObject = *Object;
	return true;
}
