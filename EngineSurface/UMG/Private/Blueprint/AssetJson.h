#pragma once

#include "CoreMinimal.h"

// A value of a widget asset file, read by a strict JSON reader (no comments, no trailing commas).
struct FAssetJsonValue
{
	enum class EType : uint8
	{
		Null,
		Bool,
		Number,
		String,
		Array,
		Object
	};

	EType Type = EType::Null;
	bool Bool = false;
	double Number = 0.0;
	FString String;
	TArray<FAssetJsonValue> Items;
	// Object fields in file order; a repeated key keeps its last value.
	TArray<FString> Keys;

	bool IsString() const { return Type == EType::String; }
	bool IsNumber() const { return Type == EType::Number; }
	bool IsArray() const { return Type == EType::Array; }
	bool IsObject() const { return Type == EType::Object; }
	// The field of an object; null when missing or when this is not an object.
	const FAssetJsonValue* Find(const TCHAR* Key) const;
	// Numbers, strings and booleans as the text a reflected property imports.
	FString ToPropertyText() const;

	// False, with a message naming the offset, when Text is not one complete JSON value.
	static bool Parse(const FString& Text, FAssetJsonValue& OutValue, FString& OutError);
};
