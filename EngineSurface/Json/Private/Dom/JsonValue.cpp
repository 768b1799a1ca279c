#include "Dom/JsonValue.h"

#include "Dom/JsonObject.h"

#include <cmath>
#include <limits>

DEFINE_LOG_CATEGORY(LogJson)

namespace
{
// Rounds to the nearest integer and range-checks (bClamp false) or clamps (bClamp true) without ever
// converting an out-of-range double, which would be undefined.
template <typename IntType, bool bClamp>
bool ConvertNumber(double Number, IntType& OutNumber)
{
	if (std::isnan(Number))
	{
		return false;
	}
	const double Rounded = std::round(Number);
	// Both bounds are powers of two (or zero), so they are exact as doubles.
	constexpr double Lowest = double(std::numeric_limits<IntType>::min());
	constexpr double PastHighest = double(std::numeric_limits<IntType>::max() / 2 + 1) * 2.0;
	if (Rounded < Lowest || Rounded >= PastHighest)
	{
		if constexpr (!bClamp)
		{
			return false;
		}
		OutNumber = Rounded < Lowest ? std::numeric_limits<IntType>::min() : std::numeric_limits<IntType>::max();
		return true;
	}
	OutNumber = IntType(Rounded);
	return true;
}

template <typename IntType, bool bClamp>
bool TryGetInteger(const FJsonValue& Value, IntType& OutNumber)
{
	double Number = 0.0;
	return Value.TryGetNumber(Number) && ConvertNumber<IntType, bClamp>(Number, OutNumber);
}

const TArray<TSharedPtr<FJsonValue>> EmptyArray;
const TSharedPtr<FJsonObject> EmptyObject = MakeShared<FJsonObject>();
} // namespace

double FJsonValue::AsNumber() const
{
	double Number = 0.0;
	if (!TryGetNumber(Number))
	{
		ErrorMessage(TEXT("Number"));
	}
	return Number;
}

FString FJsonValue::AsString() const
{
	FString String;
	if (!TryGetString(String))
	{
		ErrorMessage(TEXT("String"));
	}
	return String;
}

bool FJsonValue::AsBool() const
{
	bool bValue = false;
	if (!TryGetBool(bValue))
	{
		ErrorMessage(TEXT("Boolean"));
	}
	return bValue;
}

const TArray<TSharedPtr<FJsonValue>>& FJsonValue::AsArray() const
{
	const TArray<TSharedPtr<FJsonValue>>* Array = &EmptyArray;
	if (!TryGetArray(Array))
	{
		ErrorMessage(TEXT("Array"));
	}
	return *Array;
}

const TSharedPtr<FJsonObject>& FJsonValue::AsObject() const
{
	const TSharedPtr<FJsonObject>* Object = &EmptyObject;
	if (!TryGetObject(Object))
	{
		ErrorMessage(TEXT("Object"));
	}
	return *Object;
}

bool FJsonValue::TryGetNumber(float& OutNumber) const
{
	double Number = 0.0;
	if (!TryGetNumber(Number))
	{
		return false;
	}
	OutNumber = float(Number);
	return true;
}

bool FJsonValue::TryGetNumber(int8& OutNumber) const
{
	return TryGetInteger<int8, false>(*this, OutNumber);
}

bool FJsonValue::TryGetNumber(int16& OutNumber) const
{
	return TryGetInteger<int16, false>(*this, OutNumber);
}

bool FJsonValue::TryGetNumber(int32& OutNumber) const
{
	return TryGetInteger<int32, false>(*this, OutNumber);
}

bool FJsonValue::TryGetNumber(int64& OutNumber) const
{
	return TryGetInteger<int64, true>(*this, OutNumber);
}

bool FJsonValue::TryGetNumber(uint8& OutNumber) const
{
	return TryGetInteger<uint8, false>(*this, OutNumber);
}

bool FJsonValue::TryGetNumber(uint16& OutNumber) const
{
	return TryGetInteger<uint16, false>(*this, OutNumber);
}

bool FJsonValue::TryGetNumber(uint32& OutNumber) const
{
	return TryGetInteger<uint32, false>(*this, OutNumber);
}

bool FJsonValue::TryGetNumber(uint64& OutNumber) const
{
	return TryGetInteger<uint64, true>(*this, OutNumber);
}

void FJsonValue::ErrorMessage(const TCHAR* InType) const
{
	UE_LOG(LogJson, Error, TEXT("Json Value of type '%s' used as a '%s'."), *GetType(), InType);
}

bool FJsonValueString::TryGetNumber(double& OutNumber) const
{
	if (!Value.IsNumeric())
	{
		return false;
	}
	OutNumber = FCString::Atod(*Value);
	return true;
}

bool FJsonValueString::TryGetBool(bool& OutBool) const
{
	double Number = 0.0;
	OutBool =
	    Value == TEXT("true") || Value == TEXT("yes") || Value == TEXT("on") || (TryGetNumber(Number) && Number != 0.0);
	return true;
}

bool FJsonValueNumber::TryGetString(FString& OutString) const
{
	OutString = FString::SanitizeFloat(Value, 0);
	return true;
}
