#pragma once

#include "CoreMinimal.h"
#include "JsonGlobals.h"
#include "Serialization/JsonTypes.h"

template <class CharType>
class TJsonReaderFactory;
class FJsonSerializer;
class FArchive;

// Reads JSON text (RFC 8259) one token at a time. Each ReadNext reports the next token; inside an object the
// field's name is GetIdentifier, and a scalar's value is read with the GetValueAs functions until the next
// ReadNext. ReadNext returns false once the single root value is complete and only white space follows, or on
// the first error, which sets the notation to Error and the message to the reason, its line and its character.
//
// Nesting is kept on a heap stack, never the call stack, and is refused beyond MaxDepth.
//
// TJsonReader<UTF8CHAR> reads UTF-8 text where it lies: names and strings come out as FString, malformed
// sequences as U+FFFD, and an error's character counts characters, not bytes.
//
// A reader made on an archive reads its text from the archive's position a piece at a time, so only the piece and
// the token being read are held. The text ends where the archive does, or where a read fails: the caller checks the
// archive's error flag to tell a failed read from a document that ends early. An error found after the first piece
// reads the archive again from where the reader started, to count the error's line and character.
template <class CharType = TCHAR>
class TJsonReader
{
	static_assert(std::is_same_v<CharType, TCHAR> || std::is_same_v<CharType, UTF8CHAR>,
	              "JSON is read from TCHAR or UTF-8 text");

public:
	static constexpr int32 MaxDepth = 512;

	TJsonReader(const TJsonReader&) = delete;
	TJsonReader& operator=(const TJsonReader&) = delete;
	virtual ~TJsonReader() = default;

	bool ReadNext(EJsonNotation& Notation);
	// Called just after ObjectStart or ArrayStart: reads up to and including the matching end.
	bool SkipObject();
	bool SkipArray();

	const FString& GetIdentifier() const { return Identifier; }
	const FString& GetValueAsString() const { return StringValue; }
	double GetValueAsNumber() const { return NumberValue; }
	// The number as it is written in the text, such as "0.50" or "1e3".
	const FString& GetValueAsNumberString() const;
	bool GetValueAsBoolean() const { return bBoolValue; }

	const FString& GetErrorMessage() const { return ErrorMessage; }

private:
	// Readers are made by TJsonReaderFactory only, as in the engine.
	friend class TJsonReaderFactory<CharType>;
	friend class FJsonSerializer;

	// Reads its own copy of the text.
	explicit TJsonReader(FString InText) requires std::is_same_v<CharType, TCHAR>;
	// Reads text the caller owns; it must outlive the reader.
	TJsonReader(const CharType* InText, int32 InLength);
	// Reads units of CharType from an archive the caller owns; it must outlive the reader.
	explicit TJsonReader(FArchive* InStream);

	void SetErrorMessage(const FString& InMessage) { ErrorMessage = InMessage; }

	enum class EState : uint8
	{
		// A value must come: the root, or after a field name or a comma.
		Value,
		// Just after '[' or '{': a value or field name, or the closing bracket.
		FirstOrClose,
		// After a value inside a container: ',' or the closing bracket.
		AfterValue,
		// The root value is complete.
		Done
	};

	// Whether text is left at the cursor, reading the next piece of a stream when the buffer is used up.
	bool More() { return Cursor != End || Refill(); }
	bool Refill();
	// Moves a line and character count over the text between From and To.
	static void CountPosition(const CharType* From, const CharType* To, uint32& Line, uint32& Character);
	// Moves the count over the units of a stream that were let go.
	void CountDiscarded(uint32& Line, uint32& Character);
	bool ReadToken(EJsonNotation& Notation);
	bool ReadValue(EJsonNotation& Notation);
	bool Close(EJsonNotation& Notation);
	bool SkipContainer(bool bObject);
	void SkipWhitespace();
	bool ReadString(FString& OutString);
	// Where the character that Stop cuts short begins; Stop when none is cut.
	static const CharType* StartOfUnfinishedCharacter(const CharType* Start, const CharType* Stop);
	// Appends the text between Start and Stop; bAscii says it is all ASCII, which is copied as it is.
	void AppendRun(FString& OutString, const CharType* Start, const CharType* Stop, bool bAscii);
	bool ReadNumber();
	bool ReadLiteral(const char* Literal);
	bool Fail(const TCHAR* Message);

	FString OwnedText;
	const CharType* Begin = nullptr;
	const CharType* Cursor = nullptr;
	const CharType* End = nullptr;
	// A stream's text is read into Buffer, whose first unit is Begin; the units before it were let go.
	FArchive* Stream = nullptr;
	TArray<CharType> Buffer;
	int64 StreamStart = 0;
	int64 DiscardedUnits = 0;
	// Where a token that must stay whole in the buffer begins (a number), while it is read.
	const CharType* TokenStart = nullptr;
	EState State = EState::Value;
	// One entry per open container: true for an object.
	TArray<uint8> Containers;

	FString Identifier;
	FString StringValue;
	double NumberValue = 0.0;
	// Where the last number was written; its text is made only when asked for.
	const CharType* NumberBegin = nullptr;
	int32 NumberLength = 0;
	mutable FString NumberString;
	mutable bool bNumberStringMade = false;
	bool bBoolValue = false;
	bool bFailed = false;
	FString ErrorMessage;
};

extern template class TJsonReader<TCHAR>;
extern template class TJsonReader<UTF8CHAR>;

template <class CharType = TCHAR>
class TJsonReaderFactory
{
public:
	static TSharedRef<TJsonReader<CharType>> Create(const FString& JsonString) requires std::is_same_v<CharType, TCHAR>
	{
		return TSharedRef<TJsonReader<CharType>>(
		    std::shared_ptr<TJsonReader<CharType>>(new TJsonReader<CharType>(JsonString)));
	}
	// Reads the archive's bytes from its position as units of CharType; the caller keeps it alive while the reader
	// is used.
	static TSharedRef<TJsonReader<CharType>> Create(FArchive* const Stream)
	{
		return TSharedRef<TJsonReader<CharType>>(
		    std::shared_ptr<TJsonReader<CharType>>(new TJsonReader<CharType>(Stream)));
	}
	// No copy of the text is made: the caller keeps it alive while the reader is used.
	static TSharedRef<TJsonReader<CharType>> CreateFromView(TStringView<CharType> JsonString)
	{
		return TSharedRef<TJsonReader<CharType>>(
		    std::shared_ptr<TJsonReader<CharType>>(new TJsonReader<CharType>(JsonString.GetData(), JsonString.Len())));
	}
};
