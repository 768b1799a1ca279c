#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Serialization/JsonReader.h"

class JSON_API FJsonSerializer
{
public:
	// Reads exactly one JSON value (RFC 8259, nothing but white space after it). On failure the result is
	// reset, the reason is kept in the reader, and false is returned.
	static bool Deserialize(const TSharedRef<TJsonReader<TCHAR>>& Reader, TSharedPtr<FJsonValue>& OutValue);
	// As above; fails too when the value is not an object.
	static bool Deserialize(const TSharedRef<TJsonReader<TCHAR>>& Reader, TSharedPtr<FJsonObject>& OutObject);
};
