#include "Serialization/JsonReader.h"
#include "Serialization/Archive.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <cstdlib>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace
{
// Units a stream is read by; a token longer than that makes the buffer grow.
constexpr int32 StreamPieceUnits = 64 * 1024;

// Moves Cursor to the first quote, backslash or control character of a string's text, or to End; clears bAscii when
// a byte on the way is not ASCII. UTF-8 text is looked at eight bytes at a time.
const UTF8CHAR* ScanStringRun(const UTF8CHAR* Cursor, const UTF8CHAR* End, bool& bAscii)
{
	constexpr uint64 Ones = 0x0101010101010101ull;
	constexpr uint64 High = 0x8080808080808080ull;
	const auto ZeroBytes = [](uint64 Word) { return (Word - Ones) & ~Word; };
	while (End - Cursor >= 8)
	{
		uint64 Word = 0;
		std::memcpy(&Word, Cursor, 8);
		// A quote, a backslash or a byte below 0x20 sets its high bit here; a byte above 0x7F never does. A borrow
		// may set the high bits of later bytes too, but never of an earlier one, so the lowest bit set is the first
		// such byte.
		const uint64 Stop =
		    (ZeroBytes(Word ^ (Ones * '"')) | ZeroBytes(Word ^ (Ones * '\\')) | (Word - Ones * 0x20)) & ~Word & High;
		// Only the bytes before the stop count towards bAscii.
		const uint64 Before = Stop == 0 ? ~uint64(0) : (Stop & (~Stop + 1)) - 1;
		bAscii = bAscii && (Word & High & Before) == 0;
		if (Stop != 0)
		{
			return Cursor + std::countr_zero(Stop) / 8;
		}
		Cursor += 8;
	}
	for (; Cursor != End; ++Cursor)
	{
		const uint8 Byte = uint8(*Cursor);
		if (Byte == '"' || Byte == '\\' || Byte < 0x20)
		{
			break;
		}
		bAscii = bAscii && Byte < 0x80;
	}
	return Cursor;
}

// Copies the leading plain ASCII of a UTF-8 string (no quote, backslash, control character or byte above 0x7F)
// into OutString, found and widened sixteen bytes at a time. Stops at the first other byte, or where fewer than
// sixteen bytes are left, and returns where it stopped; the caller reads the rest. Without SSE2 nothing is copied here.
const UTF8CHAR* CopyPlainAscii(const UTF8CHAR* Cursor, const UTF8CHAR* End, FString& OutString)
{
#if defined(__SSE2__)
	const __m128i Quote = _mm_set1_epi8('"');
	const __m128i Backslash = _mm_set1_epi8('\\');
	// Signed, bytes above 0x7F are negative: one comparison finds them and the control characters.
	const __m128i Space = _mm_set1_epi8(0x20);
	const __m128i Zero = _mm_setzero_si128();
	// Widened on the stack and appended a few blocks at a time: appending copies, where growing the string first
	// would clear the room it then overwrites.
	constexpr int32 WideUnits = 64;
	alignas(16) TCHAR Wide[WideUnits];
	int32 Used = 0;
	while (End - Cursor >= 16)
	{
		const __m128i Bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Cursor));
		const __m128i Special = _mm_or_si128(
		    _mm_or_si128(_mm_cmpeq_epi8(Bytes, Quote), _mm_cmpeq_epi8(Bytes, Backslash)), _mm_cmplt_epi8(Bytes, Space));
		const uint32 Mask = uint32(_mm_movemask_epi8(Special));
		// ASCII widens as Latin-1 does; units past the stop are written but not counted.
		_mm_store_si128(reinterpret_cast<__m128i*>(Wide + Used), _mm_unpacklo_epi8(Bytes, Zero));
		_mm_store_si128(reinterpret_cast<__m128i*>(Wide + Used + 8), _mm_unpackhi_epi8(Bytes, Zero));
		if (Mask != 0)
		{
			const int32 Plain = std::countr_zero(Mask);
			Used += Plain;
			Cursor += Plain;
			break;
		}
		Used += 16;
		Cursor += 16;
		if (Used == WideUnits)
		{
			OutString.Append(Wide, Used);
			Used = 0;
		}
	}
	OutString.Append(Wide, Used);
#endif
	return Cursor;
}

// The same for UTF-16 text, eight units at a time with SSE2, then four; bAscii is not needed there.
const TCHAR* ScanStringRun(const TCHAR* Cursor, const TCHAR* End, bool& bAscii)
{
#if defined(__SSE2__)
	const __m128i Quote = _mm_set1_epi16(u'"');
	const __m128i Backslash = _mm_set1_epi16(u'\\');
	const __m128i Space = _mm_set1_epi16(0x20);
	const __m128i Zero = _mm_setzero_si128();
	while (End - Cursor >= 8)
	{
		const __m128i Units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Cursor));
		// Units are unsigned: 0x20 minus a unit, saturated at zero, is zero for every unit from 0x20 up.
		const uint32 Plain = uint32(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_subs_epu16(Space, Units), Zero)));
		const uint32 Quoted =
		    uint32(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(Units, Quote), _mm_cmpeq_epi16(Units, Backslash))));
		const uint32 Special = Quoted | (~Plain & 0xFFFF);
		if (Special != 0)
		{
			return Cursor + std::countr_zero(Special) / 2;
		}
		Cursor += 8;
	}
#endif
	constexpr uint64 Ones = 0x0001000100010001ull;
	constexpr uint64 High = 0x8000800080008000ull;
	const auto ZeroUnits = [](uint64 Word) { return (Word - Ones) & ~Word & High; };
	while (End - Cursor >= 4)
	{
		uint64 Word = 0;
		std::memcpy(&Word, Cursor, 8);
		// As for UTF-8: the lowest unit marked is the first quote, backslash or control character.
		const uint64 Special =
		    ZeroUnits(Word ^ (Ones * u'"')) | ZeroUnits(Word ^ (Ones * u'\\')) | ((Word - Ones * 0x20) & ~Word & High);
		if (Special != 0)
		{
			return Cursor + std::countr_zero(Special) / 16;
		}
		Cursor += 4;
	}
	while (Cursor != End && *Cursor != u'"' && *Cursor != u'\\' && *Cursor >= 0x20)
	{
		++Cursor;
	}
	return Cursor;
}

bool IsDigit(TCHAR C)
{
	return C >= u'0' && C <= u'9';
}

// The character a one-letter escape stands for, or 0 for a letter JSON does not allow after a backslash.
TCHAR Unescape(TCHAR Letter)
{
	switch (Letter)
	{
		case u'"':
		case u'\\':
		case u'/':
			return Letter;
		case u'b':
			return u'\b';
		case u'f':
			return u'\f';
		case u'n':
			return u'\n';
		case u'r':
			return u'\r';
		case u't':
			return u'\t';
		default:
			return 0;
	}
}
} // namespace

template <class CharType>
TJsonReader<CharType>::TJsonReader(FString InText) requires std::is_same_v<CharType, TCHAR>
    : OwnedText(std::move(InText))
{
	// clang 14 instantiates this for every reader despite the constraint, so the body must build for each.
	if constexpr (std::is_same_v<CharType, TCHAR>)
	{
		Begin = *OwnedText;
		Cursor = Begin;
		End = Begin + OwnedText.Len();
	}
}

template <class CharType>
TJsonReader<CharType>::TJsonReader(const CharType* InText, int32 InLength)
    : Begin(InText), Cursor(InText), End(InText + InLength)
{
}

template <class CharType>
TJsonReader<CharType>::TJsonReader(FArchive* InStream) : Stream(InStream), StreamStart(InStream ? InStream->Tell() : 0)
{
}

template <class CharType>
bool TJsonReader<CharType>::Refill()
{
	if (!Stream || Stream->IsError() || Stream->AtEnd())
	{
		return false;
	}
	const CharType* const Keep = TokenStart ? TokenStart : Cursor;
	DiscardedUnits += Keep - Begin;
	const int64 Kept = End - Keep;
	const int64 CursorOffset = Cursor - Keep;
	if (Kept > 0)
	{
		std::memmove(Buffer.GetData(), Keep, size_t(Kept) * sizeof(CharType));
	}
	const int64 Left = (Stream->TotalSize() - Stream->Tell()) / int64(sizeof(CharType));
	const int64 Count = FMath::Min<int64>(StreamPieceUnits, Left);
	Buffer.SetNum(int32(Kept + Count), EAllowShrinking::No);
	Stream->Serialize(Buffer.GetData() + Kept, Count * int64(sizeof(CharType)));
	Begin = Buffer.GetData();
	Cursor = Begin + CursorOffset;
	End = Begin + (Stream->IsError() ? Kept : Kept + Count);
	if (TokenStart)
	{
		TokenStart = Begin;
	}
	return Cursor != End;
}

template <class CharType>
bool TJsonReader<CharType>::ReadNext(EJsonNotation& Notation)
{
	if (!ReadToken(Notation))
	{
		if (bFailed)
		{
			Notation = EJsonNotation::Error;
		}
		return false;
	}
	return true;
}

template <class CharType>
bool TJsonReader<CharType>::ReadToken(EJsonNotation& Notation)
{
	if (bFailed)
	{
		return false;
	}
	TokenStart = nullptr;
	SkipWhitespace();
	switch (State)
	{
		case EState::Done:
			return More() ? Fail(TEXT("Unexpected text after the value")) : false;
		case EState::AfterValue:
			if (More() && *Cursor == u',')
			{
				++Cursor;
				SkipWhitespace();
				break;
			}
			return Close(Notation);
		case EState::FirstOrClose:
			if (More() && (*Cursor == u'}' || *Cursor == u']'))
			{
				return Close(Notation);
			}
			break;
		case EState::Value:
			break;
	}

	if (!Containers.IsEmpty() && Containers.Last())
	{
		if (!More() || *Cursor != u'"')
		{
			return Fail(TEXT("Expected a field name"));
		}
		if (!ReadString(Identifier))
		{
			return false;
		}
		SkipWhitespace();
		if (!More() || *Cursor != u':')
		{
			return Fail(TEXT("Expected ':'"));
		}
		++Cursor;
		SkipWhitespace();
	}
	else
	{
		Identifier.Reset();
	}
	return ReadValue(Notation);
}

template <class CharType>
bool TJsonReader<CharType>::ReadValue(EJsonNotation& Notation)
{
	if (!More())
	{
		return Fail(TEXT("Unexpected end of text"));
	}
	switch (*Cursor)
	{
		case u'{':
		case u'[':
			if (Containers.Num() >= MaxDepth)
			{
				return Fail(TEXT("Nesting is too deep"));
			}
			Containers.Add(*Cursor == u'{');
			Notation = *Cursor == u'{' ? EJsonNotation::ObjectStart : EJsonNotation::ArrayStart;
			++Cursor;
			State = EState::FirstOrClose;
			return true;
		case u'"':
			if (!ReadString(StringValue))
			{
				return false;
			}
			Notation = EJsonNotation::String;
			break;
		case u't':
		case u'f':
			bBoolValue = *Cursor == u't';
			if (!ReadLiteral(bBoolValue ? "true" : "false"))
			{
				return false;
			}
			Notation = EJsonNotation::Boolean;
			break;
		case u'n':
			if (!ReadLiteral("null"))
			{
				return false;
			}
			Notation = EJsonNotation::Null;
			break;
		default:
			if (!ReadNumber())
			{
				return false;
			}
			Notation = EJsonNotation::Number;
			break;
	}
	State = Containers.IsEmpty() ? EState::Done : EState::AfterValue;
	return true;
}

template <class CharType>
bool TJsonReader<CharType>::Close(EJsonNotation& Notation)
{
	const bool bObject = Containers.Last() != 0;
	if (!More() || *Cursor != (bObject ? u'}' : u']'))
	{
		// After a comma the grammar wanted a value, so a bracket there is a trailing comma.
		return Fail(bObject ? TEXT("Expected ',' or '}'") : TEXT("Expected ',' or ']'"));
	}
	++Cursor;
	Containers.Pop();
	Identifier.Reset();
	Notation = bObject ? EJsonNotation::ObjectEnd : EJsonNotation::ArrayEnd;
	State = Containers.IsEmpty() ? EState::Done : EState::AfterValue;
	return true;
}

template <class CharType>
bool TJsonReader<CharType>::SkipObject()
{
	return SkipContainer(true);
}

template <class CharType>
bool TJsonReader<CharType>::SkipArray()
{
	return SkipContainer(false);
}

template <class CharType>
bool TJsonReader<CharType>::SkipContainer(bool bObject)
{
	if (Containers.IsEmpty() || (Containers.Last() != 0) != bObject)
	{
		return false;
	}
	const int32 Depth = Containers.Num();
	EJsonNotation Notation = EJsonNotation::Null;
	while (ReadNext(Notation))
	{
		if (Containers.Num() < Depth)
		{
			return true;
		}
	}
	return false;
}

template <class CharType>
void TJsonReader<CharType>::SkipWhitespace()
{
	while (More() && (*Cursor == u' ' || *Cursor == u'\n' || *Cursor == u'\r' || *Cursor == u'\t'))
	{
		++Cursor;
	}
}

template <class CharType>
const CharType* TJsonReader<CharType>::StartOfUnfinishedCharacter(const CharType* Start, const CharType* Stop)
{
	if constexpr (std::is_same_v<CharType, UTF8CHAR>)
	{
		// A lead byte within the last three bytes whose sequence needs more bytes than are left.
		for (const CharType* Char = Stop; Char > Start && Stop - Char < 4;)
		{
			const uint8 Byte = uint8(*--Char);
			if ((Byte & 0xC0) == 0x80)
			{
				continue;
			}
			const int64 Needed = Byte >= 0xF0 ? 4 : Byte >= 0xE0 ? 3 : Byte >= 0xC0 ? 2 : 1;
			return Stop - Char < Needed ? Char : Stop;
		}
	}
	return Stop;
}

template <class CharType>
bool TJsonReader<CharType>::ReadString(FString& OutString)
{
	++Cursor;
	OutString.Reset();
	if constexpr (std::is_same_v<CharType, UTF8CHAR>)
	{
		Cursor = CopyPlainAscii(Cursor, End, OutString);
		if (Cursor != End && *Cursor == u'"')
		{
			++Cursor;
			return true;
		}
	}
	for (;;)
	{
		// Most strings hold no escapes and are copied in one piece into the string's existing buffer. A run never
		// splits a UTF-8 character, since it stops only at ASCII.
		const CharType* const Start = Cursor;
		bool bAscii = true;
		Cursor = ScanStringRun(Cursor, End, bAscii);
		if (Cursor == End && Stream)
		{
			// The piece may end inside a character, which is kept for the next piece to complete.
			Cursor = StartOfUnfinishedCharacter(Start, Cursor);
			AppendRun(OutString, Start, Cursor, bAscii);
			if (Refill())
			{
				continue;
			}
			AppendRun(OutString, Cursor, End, false);
			Cursor = End;
			break;
		}
		AppendRun(OutString, Start, Cursor, bAscii);
		if (Cursor == End)
		{
			break;
		}
		const CharType C = *Cursor++;
		if (C == u'"')
		{
			return true;
		}
		if (C < 0x20)
		{
			--Cursor;
			return Fail(TEXT("Control character in a string"));
		}
		if (!More())
		{
			break;
		}
		const CharType Letter = *Cursor++;
		if (Letter != u'u')
		{
			const TCHAR Unescaped = Unescape(TCHAR(Letter));
			if (Unescaped == 0)
			{
				--Cursor;
				return Fail(TEXT("Bad escape"));
			}
			OutString.AppendChar(Unescaped);
			continue;
		}
		// Strings are UTF-16, so a surrogate pair written as two escapes joins by itself; a lone surrogate is
		// kept as the code unit it names.
		int32 Unit = 0;
		for (int32 Digit = 0; Digit < 4; ++Digit)
		{
			const int32 Hex = More() ? TChar::HexDigitValue(TCHAR(*Cursor)) : -1;
			if (Hex < 0)
			{
				return Fail(TEXT("Bad \\u escape"));
			}
			Unit = Unit * 16 + Hex;
			++Cursor;
		}
		OutString.AppendChar(TCHAR(Unit));
	}
	return Fail(TEXT("Unterminated string"));
}

template <class CharType>
void TJsonReader<CharType>::AppendRun(FString& OutString, const CharType* Start, const CharType* Stop, bool bAscii)
{
	if constexpr (std::is_same_v<CharType, TCHAR>)
	{
		OutString.Append(Start, int32(Stop - Start));
	}
	else
	{
		if (bAscii)
		{
			// Widened a block at a time on the stack, then appended in one piece.
			constexpr int64 WideUnits = 256;
			TCHAR Wide[WideUnits];
			while (Start != Stop)
			{
				const int64 Count = FMath::Min<int64>(WideUnits, Stop - Start);
				for (int64 Index = 0; Index < Count; ++Index)
				{
					Wide[Index] = TCHAR(Start[Index]);
				}
				OutString.Append(Wide, int32(Count));
				Start += Count;
			}
			return;
		}
		// Well-formed UTF-8 is decoded here, through a buffer appended a block at a time; from the first malformed
		// sequence on, the engine's converter decides what replaces it.
		constexpr int32 BlockUnits = 256;
		TCHAR Block[BlockUnits + 1];
		int32 Used = 0;
		const auto Put = [&OutString, &Block, &Used](TCHAR Unit)
		{
			Block[Used++] = Unit;
			if (Used >= BlockUnits)
			{
				OutString.Append(Block, Used);
				Used = 0;
			}
		};
		const CharType* Char = Start;
		while (Char != Stop)
		{
			const uint32 Lead = uint8(*Char);
			if (Lead < 0x80)
			{
				Put(TCHAR(Lead));
				++Char;
				continue;
			}
			const int32 Left = int32(Stop - Char);
			const auto Continues = [Char, Left](int32 Index, uint32 Low = 0x80, uint32 High = 0xBF)
			{ return Index < Left && uint8(Char[Index]) >= Low && uint8(Char[Index]) <= High; };
			uint32 Code = 0;
			int32 Length = 0;
			if (Lead >= 0xC2 && Lead <= 0xDF && Continues(1))
			{
				Code = ((Lead & 0x1F) << 6) | (uint8(Char[1]) & 0x3F);
				Length = 2;
			}
			else if (Lead >= 0xE0 && Lead <= 0xEF &&
			         Continues(1, Lead == 0xE0 ? 0xA0 : 0x80, Lead == 0xED ? 0x9F : 0xBF) && Continues(2))
			{
				Code = ((Lead & 0x0F) << 12) | ((uint8(Char[1]) & 0x3F) << 6) | (uint8(Char[2]) & 0x3F);
				Length = 3;
			}
			else if (Lead >= 0xF0 && Lead <= 0xF4 &&
			         Continues(1, Lead == 0xF0 ? 0x90 : 0x80, Lead == 0xF4 ? 0x8F : 0xBF) && Continues(2) &&
			         Continues(3))
			{
				Code = ((Lead & 0x07) << 18) | ((uint8(Char[1]) & 0x3F) << 12) | ((uint8(Char[2]) & 0x3F) << 6) |
				       (uint8(Char[3]) & 0x3F);
				Length = 4;
			}
			if (Length == 0)
			{
				Start = Char;
				break;
			}
			if (Code >= 0x10000)
			{
				Put(TCHAR(0xD800 + ((Code - 0x10000) >> 10)));
				Put(TCHAR(0xDC00 + ((Code - 0x10000) & 0x3FF)));
			}
			else
			{
				Put(TCHAR(Code));
			}
			Char += Length;
		}
		OutString.Append(Block, Used);
		if (Char == Stop)
		{
			return;
		}
		const FUTF8ToTCHAR Converted(reinterpret_cast<const ANSICHAR*>(Start), int32(Stop - Start));
		OutString.Append(Converted.Get(), Converted.Length());
	}
}

template <class CharType>
bool TJsonReader<CharType>::ReadNumber()
{
	TokenStart = Cursor;
	bool bWhole = true;
	const bool bNegative = *Cursor == u'-';
	if (bNegative)
	{
		++Cursor;
	}
	// The whole part is added up as it is read; it is used only when it has few enough digits to be exact.
	uint64 Whole = 0;
	int32 WholeDigits = 0;
	if (More() && *Cursor == u'0')
	{
		++Cursor;
		WholeDigits = 1;
	}
	else if (More() && IsDigit(*Cursor))
	{
		do
		{
			Whole = Whole * 10 + uint64(*Cursor - u'0');
			++WholeDigits;
			++Cursor;
		} while (More() && IsDigit(*Cursor));
	}
	else
	{
		return Fail(TEXT("Unexpected character"));
	}
	if (More() && *Cursor == u'.')
	{
		bWhole = false;
		++Cursor;
		if (!More() || !IsDigit(*Cursor))
		{
			return Fail(TEXT("Expected a digit after '.'"));
		}
		while (More() && IsDigit(*Cursor))
		{
			++Cursor;
		}
	}
	if (More() && (*Cursor == u'e' || *Cursor == u'E'))
	{
		bWhole = false;
		++Cursor;
		if (More() && (*Cursor == u'+' || *Cursor == u'-'))
		{
			++Cursor;
		}
		if (!More() || !IsDigit(*Cursor))
		{
			return Fail(TEXT("Expected a digit in the exponent"));
		}
		while (More() && IsDigit(*Cursor))
		{
			++Cursor;
		}
	}

	const CharType* const Start = TokenStart;
	TokenStart = nullptr;
	const size_t Length = size_t(Cursor - Start);
	NumberBegin = Start;
	NumberLength = int32(Length);
	bNumberStringMade = false;
	// Whole numbers of up to 15 digits, nearly every number of a document, are exact as doubles.
	if (bWhole && WholeDigits <= 15)
	{
		NumberValue = bNegative ? -double(Whole) : double(Whole);
		return true;
	}
	// The grammar above admits ASCII only, so narrowing each unit is exact. Short numbers are narrowed on the stack.
	char Short[64];
	std::string Long;
	const char* Narrow = reinterpret_cast<const char*>(Start);
	if constexpr (!std::is_same_v<CharType, UTF8CHAR>)
	{
		char* Narrowed = Short;
		if (Length >= sizeof(Short))
		{
			Long.resize(Length);
			Narrowed = Long.data();
		}
		for (size_t Index = 0; Index < Length; ++Index)
		{
			Narrowed[Index] = char(Start[Index]);
		}
		Narrow = Narrowed;
	}
	const std::from_chars_result Result = std::from_chars(Narrow, Narrow + Length, NumberValue);
	if (Result.ec == std::errc::result_out_of_range)
	{
		// Too large becomes infinity, too small zero, with the sign kept.
		NumberValue = std::strtod(std::string(Narrow, Length).c_str(), nullptr);
	}
	return true;
}

template <class CharType>
const FString& TJsonReader<CharType>::GetValueAsNumberString() const
{
	if (!bNumberStringMade)
	{
		// A number is ASCII in either character type.
		NumberString.Reset();
		NumberString.Reserve(NumberLength);
		for (int32 Index = 0; Index < NumberLength; ++Index)
		{
			NumberString.AppendChar(TCHAR(NumberBegin[Index]));
		}
		bNumberStringMade = true;
	}
	return NumberString;
}

template <class CharType>
bool TJsonReader<CharType>::ReadLiteral(const char* Literal)
{
	for (; *Literal; ++Literal, ++Cursor)
	{
		if (!More() || *Cursor != CharType(*Literal))
		{
			return Fail(TEXT("Unexpected character"));
		}
	}
	return true;
}

template <class CharType>
void TJsonReader<CharType>::CountPosition(const CharType* From, const CharType* To, uint32& Line, uint32& Character)
{
	// Lines and characters count from 1, so that a person can go to the fault in an editor.
	const CharType* Char = From;
	if constexpr (std::is_same_v<CharType, UTF8CHAR>)
	{
		// Eight bytes at a time, as every piece of a stream is counted: line breaks and the bytes that are not a
		// character's continuation, found with exact per-byte masks.
		constexpr uint64 Low = 0x7F7F7F7F7F7F7F7Full;
		constexpr uint64 High = 0x8080808080808080ull;
		const auto ZeroBytes = [](uint64 Word) { return ~(((Word & Low) + Low) | Word | Low); };
		for (; To - Char >= 8; Char += 8)
		{
			uint64 Word = 0;
			std::memcpy(&Word, Char, 8);
			const uint64 Breaks = ZeroBytes(Word ^ (0x0101010101010101ull * '\n'));
			const uint64 Continuations = Word & ~(Word << 1) & High;
			if (Breaks == 0)
			{
				Character += uint32(8 - std::popcount(Continuations));
				continue;
			}
			Line += uint32(std::popcount(Breaks));
			// The characters after the last break of the word start the new line.
			const int32 LastBreak = (63 - std::countl_zero(Breaks)) / 8;
			const uint64 After = LastBreak == 7 ? 0 : ~uint64(0) << (8 * (LastBreak + 1));
			Character = uint32(1 + (7 - LastBreak) - std::popcount(Continuations & After));
		}
	}
	for (; Char < To; ++Char)
	{
		if constexpr (std::is_same_v<CharType, UTF8CHAR>)
		{
			// A character's continuation bytes do not move the column.
			if ((*Char & 0xC0) == 0x80)
			{
				continue;
			}
		}
		if (*Char == u'\n')
		{
			++Line;
			Character = 1;
		}
		else
		{
			++Character;
		}
	}
}

template <class CharType>
void TJsonReader<CharType>::CountDiscarded(uint32& Line, uint32& Character)
{
	// Counted only when an error needs it: the text let go is read again from where the reader started.
	if (DiscardedUnits == 0)
	{
		return;
	}
	Stream->Seek(StreamStart);
	if (Stream->Tell() != StreamStart)
	{
		return;
	}
	TArray<CharType> Piece;
	for (int64 Left = DiscardedUnits; Left > 0 && !Stream->IsError();)
	{
		const int64 Count = FMath::Min<int64>(StreamPieceUnits, Left);
		Piece.SetNum(int32(Count), EAllowShrinking::No);
		Stream->Serialize(Piece.GetData(), Count * int64(sizeof(CharType)));
		CountPosition(Piece.GetData(), Piece.GetData() + Count, Line, Character);
		Left -= Count;
	}
}

template <class CharType>
bool TJsonReader<CharType>::Fail(const TCHAR* Message)
{
	if (!bFailed)
	{
		bFailed = true;
		uint32 Line = 1;
		uint32 Character = 1;
		CountDiscarded(Line, Character);
		CountPosition(Begin, Cursor, Line, Character);
		ErrorMessage = FString::Printf(TEXT("%s. Line: %u Ch: %u"), Message, Line, Character);
	}
	return false;
}

template class TJsonReader<TCHAR>;
template class TJsonReader<UTF8CHAR>;
