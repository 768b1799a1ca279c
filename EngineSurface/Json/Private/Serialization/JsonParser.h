#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonValue.h"

// Reads JSON text into values without recursion, so that deep nesting costs heap, not stack; nesting deeper
// than MaxDepth is refused, which also keeps the recursive destruction of the result shallow.
class FJsonParser
{
public:
	static constexpr int32 MaxDepth = 512;

	FJsonParser(const TCHAR* InText, int32 InLength) : Begin(InText), Cursor(InText), End(InText + InLength) {}

	// One value followed by nothing but white space; null with OutError set when the text is not that.
	TSharedPtr<FJsonValue> Parse(FString& OutError);

private:
	// An open array or object. Its values (and an object's field names) wait on the parser's shared pending
	// stacks until it closes, so that each container is allocated once, at its final size.
	struct FContainer
	{
		bool bObject = false;
		int32 FirstValue = 0;
		int32 FirstKey = 0;
	};

	TSharedPtr<FJsonValue> CloseContainer(const FContainer& Container);

	void SkipWhitespace();
	bool ParseKey(FString& OutKey);
	bool ParseScalar(TSharedPtr<FJsonValue>& OutValue);
	bool ParseString(FString& OutString);
	bool ParseNumber(double& OutNumber);
	bool ParseLiteral(const char* Literal);
	bool Fail(const TCHAR* Message);

	const TCHAR* const Begin;
	const TCHAR* Cursor;
	const TCHAR* const End;
	FString Error;
	TArray<TSharedPtr<FJsonValue>> PendingValues;
	TArray<FString> PendingKeys;
};
