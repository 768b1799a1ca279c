#pragma once

#include "CoreMinimal.h"
#include "JsonGlobals.h"

// The text a JSON read works on, and the reason the last read over it failed.
template <class CharType = TCHAR>
class TJsonReader
{
	static_assert(std::is_same_v<CharType, TCHAR>, "JSON is read from TCHAR text only");

public:
	explicit TJsonReader(FString InText) : Text(std::move(InText)) {}

	const FString& GetText() const { return Text; }
	const FString& GetErrorMessage() const { return ErrorMessage; }
	void SetErrorMessage(const FString& InMessage) { ErrorMessage = InMessage; }

private:
	FString Text;
	FString ErrorMessage;
};

template <class CharType = TCHAR>
class TJsonReaderFactory
{
public:
	static TSharedRef<TJsonReader<CharType>> Create(const FString& JsonString)
	{
		return MakeShared<TJsonReader<CharType>>(JsonString);
	}
};
