#pragma once

#include "CoreMinimal.h"
#include "JsonGlobals.h"

class FJsonObject;

enum class EJson : uint8
{
	None,
	Null,
	String,
	Number,
	Boolean,
	Array,
	Object
};

// One JSON value. The TryGet functions convert where the engine does: a number reads as a string, and a string
// reads as a number when it is numeric ("12", "-3.5"). The As functions log an error and return 0, an empty
// string, false, an empty array or an empty object when the value cannot be read as asked.
//
// Integer reads round to the nearest integer. int32 and smaller types fail for numbers outside their range;
// int64 and uint64 clamp them to the range. Not-a-number never converts.
class JSON_API FJsonValue
{
public:
	virtual ~FJsonValue() = default;

	EJson Type = EJson::None;

	double AsNumber() const;
	FString AsString() const;
	bool AsBool() const;
	const TArray<TSharedPtr<FJsonValue>>& AsArray() const;
	const TSharedPtr<FJsonObject>& AsObject() const;
	bool IsNull() const { return Type == EJson::Null || Type == EJson::None; }

	virtual bool TryGetNumber(double& OutNumber) const { return false; }
	bool TryGetNumber(float& OutNumber) const;
	bool TryGetNumber(int8& OutNumber) const;
	bool TryGetNumber(int16& OutNumber) const;
	bool TryGetNumber(int32& OutNumber) const;
	bool TryGetNumber(int64& OutNumber) const;
	bool TryGetNumber(uint8& OutNumber) const;
	bool TryGetNumber(uint16& OutNumber) const;
	bool TryGetNumber(uint32& OutNumber) const;
	bool TryGetNumber(uint64& OutNumber) const;
	virtual bool TryGetString(FString& OutString) const { return false; }
	virtual bool TryGetBool(bool& OutBool) const { return false; }
	virtual bool TryGetArray(const TArray<TSharedPtr<FJsonValue>>*& OutArray) const { return false; }
	virtual bool TryGetObject(const TSharedPtr<FJsonObject>*& OutObject) const { return false; }

protected:
	virtual FString GetType() const = 0;
	void ErrorMessage(const TCHAR* InType) const;
};

class JSON_API FJsonValueString : public FJsonValue
{
public:
	explicit FJsonValueString(FString InValue) : Value(std::move(InValue)) { Type = EJson::String; }
	bool TryGetNumber(double& OutNumber) const override;
	bool TryGetString(FString& OutString) const override
	{
		OutString = Value;
		return true;
	}
	// "true", "yes" and "on" (in any case) and non-zero numbers read as true.
	bool TryGetBool(bool& OutBool) const override;

protected:
	FString GetType() const override { return TEXT("String"); }
	FString Value;
};

class JSON_API FJsonValueNumber : public FJsonValue
{
public:
	explicit FJsonValueNumber(double InValue) : Value(InValue) { Type = EJson::Number; }
	bool TryGetNumber(double& OutNumber) const override
	{
		OutNumber = Value;
		return true;
	}
	// At most six fraction digits, trailing zeros dropped: 3 for 3.0, 0.5 for 0.5.
	bool TryGetString(FString& OutString) const override;
	bool TryGetBool(bool& OutBool) const override
	{
		OutBool = Value != 0.0;
		return true;
	}

protected:
	FString GetType() const override { return TEXT("Number"); }
	double Value;
};

class JSON_API FJsonValueBoolean : public FJsonValue
{
public:
	explicit FJsonValueBoolean(bool bInValue) : bValue(bInValue) { Type = EJson::Boolean; }
	bool TryGetNumber(double& OutNumber) const override
	{
		OutNumber = bValue ? 1.0 : 0.0;
		return true;
	}
	bool TryGetString(FString& OutString) const override
	{
		OutString = bValue ? TEXT("true") : TEXT("false");
		return true;
	}
	bool TryGetBool(bool& OutBool) const override
	{
		OutBool = bValue;
		return true;
	}

protected:
	FString GetType() const override { return TEXT("Boolean"); }
	bool bValue;
};

class JSON_API FJsonValueArray : public FJsonValue
{
public:
	explicit FJsonValueArray(TArray<TSharedPtr<FJsonValue>> InValue) : Value(std::move(InValue))
	{
		Type = EJson::Array;
	}
	bool TryGetArray(const TArray<TSharedPtr<FJsonValue>>*& OutArray) const override
	{
		OutArray = &Value;
		return true;
	}

protected:
	FString GetType() const override { return TEXT("Array"); }
	TArray<TSharedPtr<FJsonValue>> Value;
};

class JSON_API FJsonValueObject : public FJsonValue
{
public:
	explicit FJsonValueObject(TSharedPtr<FJsonObject> InValue) : Value(std::move(InValue)) { Type = EJson::Object; }
	bool TryGetObject(const TSharedPtr<FJsonObject>*& OutObject) const override
	{
		OutObject = &Value;
		return true;
	}

protected:
	FString GetType() const override { return TEXT("Object"); }
	TSharedPtr<FJsonObject> Value;
};

class JSON_API FJsonValueNull : public FJsonValue
{
public:
	FJsonValueNull() { Type = EJson::Null; }

protected:
	FString GetType() const override { return TEXT("Null"); }
};
