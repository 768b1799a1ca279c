#include "Dom/JsonObject.h"

namespace
{
const TArray<TSharedPtr<FJsonValue>> EmptyArray;
const TSharedPtr<FJsonObject> EmptyObject = MakeShared<FJsonObject>();
} // namespace

bool FJsonObject::HasField(FStringView FieldName) const
{
	const TSharedPtr<FJsonValue>* Field = Values.FindByHash(GetTypeHash(FieldName), FieldName);
	return Field && Field->IsValid();
}

TSharedPtr<FJsonValue> FJsonObject::TryGetField(FStringView FieldName) const
{
	const TSharedPtr<FJsonValue>* Field = Values.FindByHash(GetTypeHash(FieldName), FieldName);
	return Field ? *Field : TSharedPtr<FJsonValue>();
}

TSharedPtr<FJsonValue> FJsonObject::GetFieldOfType(FStringView FieldName, EJson JsonType) const
{
	const TSharedPtr<FJsonValue>* Field = Values.FindByHash(GetTypeHash(FieldName), FieldName);
	if (!Field || !Field->IsValid())
	{
		UE_LOG(LogJson, Warning, TEXT("Field %s was not found."),
		       *FString::ConstructFromPtrSize(FieldName.GetData(), FieldName.Len()));
	}
	else if (JsonType != EJson::None && (*Field)->Type != JsonType)
	{
		UE_LOG(LogJson, Warning, TEXT("Field %s is of the wrong type."),
		       *FString::ConstructFromPtrSize(FieldName.GetData(), FieldName.Len()));
	}
	else
	{
		return *Field;
	}
	return MakeShared<FJsonValueNull>();
}

double FJsonObject::GetNumberField(FStringView FieldName) const
{
	return GetField<EJson::None>(FieldName)->AsNumber();
}

int32 FJsonObject::GetIntegerField(FStringView FieldName) const
{
	int32 Number = 0;
	const TSharedPtr<FJsonValue> Field = GetField<EJson::None>(FieldName);
	if (!Field->TryGetNumber(Number))
	{
		UE_LOG(LogJson, Warning, TEXT("Field %s is not an int32."),
		       *FString::ConstructFromPtrSize(FieldName.GetData(), FieldName.Len()));
	}
	return Number;
}

bool FJsonObject::TryGetNumberField(FStringView FieldName, double& OutNumber) const
{
	return TryGetNumberFieldAs(FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(FStringView FieldName, float& OutNumber) const
{
	return TryGetNumberFieldAs(FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(FStringView FieldName, int32& OutNumber) const
{
	return TryGetNumberFieldAs(FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(FStringView FieldName, uint32& OutNumber) const
{
	return TryGetNumberFieldAs(FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(FStringView FieldName, int64& OutNumber) const
{
	return TryGetNumberFieldAs(FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(FStringView FieldName, uint64& OutNumber) const
{
	return TryGetNumberFieldAs(FieldName, OutNumber);
}

void FJsonObject::SetNumberField(FStringView FieldName, double Number)
{
	SetField(FieldName, MakeShared<FJsonValueNumber>(Number));
}

FString FJsonObject::GetStringField(FStringView FieldName) const
{
	return GetField<EJson::None>(FieldName)->AsString();
}

bool FJsonObject::TryGetStringField(FStringView FieldName, FString& OutString) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetString(OutString);
}

void FJsonObject::SetStringField(FStringView FieldName, const FString& StringValue)
{
	SetField(FieldName, MakeShared<FJsonValueString>(StringValue));
}

bool FJsonObject::GetBoolField(FStringView FieldName) const
{
	return GetField<EJson::None>(FieldName)->AsBool();
}

bool FJsonObject::TryGetBoolField(FStringView FieldName, bool& OutBool) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetBool(OutBool);
}

void FJsonObject::SetBoolField(FStringView FieldName, bool bValue)
{
	SetField(FieldName, MakeShared<FJsonValueBoolean>(bValue));
}

const TArray<TSharedPtr<FJsonValue>>& FJsonObject::GetArrayField(FStringView FieldName) const
{
	const TSharedPtr<FJsonValue>* Field = Values.FindByHash(GetTypeHash(FieldName), FieldName);
	if (!Field || !Field->IsValid())
	{
		UE_LOG(LogJson, Warning, TEXT("Field %s was not found."),
		       *FString::ConstructFromPtrSize(FieldName.GetData(), FieldName.Len()));
		return EmptyArray;
	}
	return (*Field)->AsArray();
}

bool FJsonObject::TryGetArrayField(FStringView FieldName, const TArray<TSharedPtr<FJsonValue>>*& OutArray) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetArray(OutArray);
}

void FJsonObject::SetArrayField(FStringView FieldName, const TArray<TSharedPtr<FJsonValue>>& Array)
{
	SetField(FieldName, MakeShared<FJsonValueArray>(Array));
}

const TSharedPtr<FJsonObject>& FJsonObject::GetObjectField(FStringView FieldName) const
{
	const TSharedPtr<FJsonValue>* Field = Values.FindByHash(GetTypeHash(FieldName), FieldName);
	if (!Field || !Field->IsValid())
	{
		UE_LOG(LogJson, Warning, TEXT("Field %s was not found."),
		       *FString::ConstructFromPtrSize(FieldName.GetData(), FieldName.Len()));
		return EmptyObject;
	}
	return (*Field)->AsObject();
}

bool FJsonObject::TryGetObjectField(FStringView FieldName, const TSharedPtr<FJsonObject>*& OutObject) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetObject(OutObject);
}

void FJsonObject::SetObjectField(FStringView FieldName, const TSharedPtr<FJsonObject>& JsonObject)
{
	SetField(FieldName, MakeShared<FJsonValueObject>(JsonObject));
}
