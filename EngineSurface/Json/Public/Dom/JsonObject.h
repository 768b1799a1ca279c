#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonValue.h"

// A JSON object: fields by name (names compare without regard to case, as FString keys do). Getters of a
// missing field log a warning and return 0, an empty string, false, an empty array or an empty object; the
// TryGet forms return false instead. Reads convert between numbers and strings as FJsonValue does.
class JSON_API FJsonObject
{
public:
	TMap<FString, TSharedPtr<FJsonValue>> Values;

	bool HasField(FStringView FieldName) const;
	template <EJson JsonType>
	bool HasTypedField(FStringView FieldName) const
	{
		const TSharedPtr<FJsonValue>* Field = Values.FindByHash(GetTypeHash(FieldName), FieldName);
		return Field && Field->IsValid() && (*Field)->Type == JsonType;
	}

	// The field, or a null value (with a warning) when it is missing or not of the asked type.
	template <EJson JsonType>
	TSharedPtr<FJsonValue> GetField(FStringView FieldName) const
	{
		return GetFieldOfType(FieldName, JsonType);
	}
	// The field, or an invalid pointer when it is missing.
	TSharedPtr<FJsonValue> TryGetField(FStringView FieldName) const;
	void SetField(FStringView FieldName, const TSharedPtr<FJsonValue>& Value)
	{
		Values.Add(FString::ConstructFromPtrSize(FieldName.GetData(), FieldName.Len()), Value);
	}
	void RemoveField(FStringView FieldName)
	{
		Values.Remove(FString::ConstructFromPtrSize(FieldName.GetData(), FieldName.Len()));
	}

	double GetNumberField(FStringView FieldName) const;
	int32 GetIntegerField(FStringView FieldName) const;
	bool TryGetNumberField(FStringView FieldName, double& OutNumber) const;
	bool TryGetNumberField(FStringView FieldName, float& OutNumber) const;
	bool TryGetNumberField(FStringView FieldName, int32& OutNumber) const;
	bool TryGetNumberField(FStringView FieldName, uint32& OutNumber) const;
	bool TryGetNumberField(FStringView FieldName, int64& OutNumber) const;
	bool TryGetNumberField(FStringView FieldName, uint64& OutNumber) const;
	void SetNumberField(FStringView FieldName, double Number);

	FString GetStringField(FStringView FieldName) const;
	bool TryGetStringField(FStringView FieldName, FString& OutString) const;
	void SetStringField(FStringView FieldName, const FString& StringValue);

	bool GetBoolField(FStringView FieldName) const;
	bool TryGetBoolField(FStringView FieldName, bool& OutBool) const;
	void SetBoolField(FStringView FieldName, bool bValue);

	const TArray<TSharedPtr<FJsonValue>>& GetArrayField(FStringView FieldName) const;
	bool TryGetArrayField(FStringView FieldName, const TArray<TSharedPtr<FJsonValue>>*& OutArray) const;
	void SetArrayField(FStringView FieldName, const TArray<TSharedPtr<FJsonValue>>& Array);

	const TSharedPtr<FJsonObject>& GetObjectField(FStringView FieldName) const;
	bool TryGetObjectField(FStringView FieldName, const TSharedPtr<FJsonObject>*& OutObject) const;
	void SetObjectField(FStringView FieldName, const TSharedPtr<FJsonObject>& JsonObject);

private:
	TSharedPtr<FJsonValue> GetFieldOfType(FStringView FieldName, EJson JsonType) const;

	template <typename NumberType>
	bool TryGetNumberFieldAs(FStringView FieldName, NumberType& OutNumber) const
	{
		const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
		return Field.IsValid() && Field->TryGetNumber(OutNumber);
	}
};
