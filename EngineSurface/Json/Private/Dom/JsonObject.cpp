#include "Dom/JsonObject.h"

namespace
{
const TArray<TSharedPtr<FJsonValue>> EmptyArray;
const TSharedPtr<FJsonObject> EmptyObject = MakeShared<FJsonObject>();
} // namespace

bool FJsonObject::HasField(const FString& FieldName) const
{
	const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
	return Field && Field->IsValid();
}

TSharedPtr<FJsonValue> FJsonObject::TryGetField(const FString& FieldName) const
{
	const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
	return Field ? *Field : TSharedPtr<FJsonValue>();
}

TSharedPtr<FJsonValue> FJsonObject::GetFieldOfType(const FString& FieldName, EJson JsonType) const
{
	const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
	if (!Field || !Field->IsValid())
	{
		UE_LOG(LogJson, Warning, TEXT("Field %s was not found."), *FieldName);
	}
	else if (JsonType != EJson::None && (*Field)->Type != JsonType)
	{
		UE_LOG(LogJson, Warning, TEXT("Field %s is of the wrong type."), *FieldName);
	}
	else
	{
		return *Field;
	}
	return MakeShared<FJsonValueNull>();
}

double FJsonObject::GetNumberField(const FString& FieldName) const
{
	return GetField<EJson::None>(FieldName)->AsNumber();
}

int32 FJsonObject::GetIntegerField(const FString& FieldName) const
{
	int32 Number = 0;
	const TSharedPtr<FJsonValue> Field = GetField<EJson::None>(FieldName);
	if (!Field->TryGetNumber(Number))
	{
		UE_LOG(LogJson, Warning, TEXT("Field %s is not an int32."), *FieldName);
	}
	return Number;
}

bool FJsonObject::TryGetNumberField(const FString& FieldName, double& OutNumber) const
{
	return TryGetNumberFieldAs(FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(const FString& FieldName, float& OutNumber) const
{
	return TryGetNumberFieldAs(FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(const FString& FieldName, int32& OutNumber) const
{
	return TryGetNumberFieldAs(FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(const FString& FieldName, uint32& OutNumber) const
{
	return TryGetNumberFieldAs(FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(const FString& FieldName, int64& OutNumber) const
{
	return TryGetNumberFieldAs(FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(const FString& FieldName, uint64& OutNumber) const
{
	return TryGetNumberFieldAs(FieldName, OutNumber);
}

void FJsonObject::SetNumberField(const FString& FieldName, double Number)
{
	SetField(FieldName, MakeShared<FJsonValueNumber>(Number));
}

FString FJsonObject::GetStringField(const FString& FieldName) const
{
	return GetField<EJson::None>(FieldName)->AsString();
}

bool FJsonObject::TryGetStringField(const FString& FieldName, FString& OutString) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetString(OutString);
}

void FJsonObject::SetStringField(const FString& FieldName, const FString& StringValue)
{
	SetField(FieldName, MakeShared<FJsonValueString>(StringValue));
}

bool FJsonObject::GetBoolField(const FString& FieldName) const
{
	return GetField<EJson::None>(FieldName)->AsBool();
}

bool FJsonObject::TryGetBoolField(const FString& FieldName, bool& OutBool) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetBool(OutBool);
}

void FJsonObject::SetBoolField(const FString& FieldName, bool bValue)
{
	SetField(FieldName, MakeShared<FJsonValueBoolean>(bValue));
}

const TArray<TSharedPtr<FJsonValue>>& FJsonObject::GetArrayField(const FString& FieldName) const
{
	const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
	if (!Field || !Field->IsValid())
	{
		UE_LOG(LogJson, Warning, TEXT("Field %s was not found."), *FieldName);
		return EmptyArray;
	}
	return (*Field)->AsArray();
}

bool FJsonObject::TryGetArrayField(const FString& FieldName, const TArray<TSharedPtr<FJsonValue>>*& OutArray) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetArray(OutArray);
}

void FJsonObject::SetArrayField(const FString& FieldName, const TArray<TSharedPtr<FJsonValue>>& Array)
{
	SetField(FieldName, MakeShared<FJsonValueArray>(Array));
}

const TSharedPtr<FJsonObject>& FJsonObject::GetObjectField(const FString& FieldName) const
{
	const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
	if (!Field || !Field->IsValid())
	{
		UE_LOG(LogJson, Warning, TEXT("Field %s was not found."), *FieldName);
		return EmptyObject;
	}
	return (*Field)->AsObject();
}

bool FJsonObject::TryGetObjectField(const FString& FieldName, const TSharedPtr<FJsonObject>*& OutObject) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetObject(OutObject);
}

void FJsonObject::SetObjectField(const FString& FieldName, const TSharedPtr<FJsonObject>& JsonObject)
{
	SetField(FieldName, MakeShared<FJsonValueObject>(JsonObject));
}
