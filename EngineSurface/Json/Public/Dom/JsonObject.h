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

	bool HasField(const FString& FieldName) const;
	template <EJson JsonType>
	bool HasTypedField(const FString& FieldName) const
	{
		const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
		return Field && Field->IsValid() && (*Field)->Type == JsonType;
	}

	// The field, or a null value (with a warning) when it is missing or not of the asked type.
	template <EJson JsonType>
	TSharedPtr<FJsonValue> GetField(const FString& FieldName) const
	{
		return GetFieldOfType(FieldName, JsonType);
	}
	// The field, or an invalid pointer when it is missing.
	TSharedPtr<FJsonValue> TryGetField(const FString& FieldName) const;
	void SetField(const FString& FieldName, const TSharedPtr<FJsonValue>& Value) { Values.Add(FieldName, Value); }
	void RemoveField(const FString& FieldName) { Values.Remove(FieldName); }

	double GetNumberField(const FString& FieldName) const;
	int32 GetIntegerField(const FString& FieldName) const;
	bool TryGetNumberField(const FString& FieldName, double& OutNumber) const;
	bool TryGetNumberField(const FString& FieldName, float& OutNumber) const;
	bool TryGetNumberField(const FString& FieldName, int32& OutNumber) const;
	bool TryGetNumberField(const FString& FieldName, uint32& OutNumber) const;
	bool TryGetNumberField(const FString& FieldName, int64& OutNumber) const;
	bool TryGetNumberField(const FString& FieldName, uint64& OutNumber) const;
	void SetNumberField(const FString& FieldName, double Number);

	FString GetStringField(const FString& FieldName) const;
	bool TryGetStringField(const FString& FieldName, FString& OutString) const;
	void SetStringField(const FString& FieldName, const FString& StringValue);

	bool GetBoolField(const FString& FieldName) const;
	bool TryGetBoolField(const FString& FieldName, bool& OutBool) const;
	void SetBoolField(const FString& FieldName, bool bValue);

	const TArray<TSharedPtr<FJsonValue>>& GetArrayField(const FString& FieldName) const;
	bool TryGetArrayField(const FString& FieldName, const TArray<TSharedPtr<FJsonValue>>*& OutArray) const;
	void SetArrayField(const FString& FieldName, const TArray<TSharedPtr<FJsonValue>>& Array);

	const TSharedPtr<FJsonObject>& GetObjectField(const FString& FieldName) const;
	bool TryGetObjectField(const FString& FieldName, const TSharedPtr<FJsonObject>*& OutObject) const;
	void SetObjectField(const FString& FieldName, const TSharedPtr<FJsonObject>& JsonObject);

private:
	TSharedPtr<FJsonValue> GetFieldOfType(const FString& FieldName, EJson JsonType) const;

	template <typename NumberType>
	bool TryGetNumberFieldAs(const FString& FieldName, NumberType& OutNumber) const
	{
		const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
		return Field.IsValid() && Field->TryGetNumber(OutNumber);
	}
};
