#include "Serialization/JsonParser.h"

#include "Dom/JsonObject.h"

#include <charconv>
#include <cstdlib>
#include <string>

namespace
{
bool IsDigit(TCHAR C)
{
	return C >= u'0' && C <= u'9';
}
} // namespace

TSharedPtr<FJsonValue> FJsonParser::Parse(FString& OutError)
{
	// Open arrays and objects, innermost last; a container becomes a value of its parent when it closes.
	TArray<FContainer> Stack;
	TSharedPtr<FJsonValue> Value;
	SkipWhitespace();
	for (;;)
	{
		if (Cursor == End)
		{
			Fail(TEXT("Unexpected end of text"));
			break;
		}
		const TCHAR Open = *Cursor;
		if (Open == u'[' || Open == u'{')
		{
			if (Stack.Num() >= MaxDepth)
			{
				Fail(TEXT("Nesting is too deep"));
				break;
			}
			++Cursor;
			const FContainer Container{Open == u'{', PendingValues.Num(), PendingKeys.Num()};
			SkipWhitespace();
			if (Cursor == End || *Cursor != (Container.bObject ? u'}' : u']'))
			{
				Stack.Add(Container);
				if (Container.bObject && !ParseKey(PendingKeys.Emplace_GetRef()))
				{
					break;
				}
				continue;
			}
			++Cursor;
			Value = CloseContainer(Container);
		}
		else if (!ParseScalar(Value))
		{
			break;
		}

		// Hand the finished value to its container, closing every container that ends here.
		bool bExpectValue = false;
		while (!Stack.IsEmpty())
		{
			const FContainer Top = Stack.Last();
			PendingValues.Add(std::move(Value));
			SkipWhitespace();
			if (Cursor != End && *Cursor == u',')
			{
				++Cursor;
				SkipWhitespace();
				bExpectValue = !Top.bObject || ParseKey(PendingKeys.Emplace_GetRef());
				break;
			}
			if (Cursor == End || *Cursor != (Top.bObject ? u'}' : u']'))
			{
				Fail(Top.bObject ? TEXT("Expected ',' or '}'") : TEXT("Expected ',' or ']'"));
				break;
			}
			++Cursor;
			Stack.Pop();
			Value = CloseContainer(Top);
		}
		if (!Error.IsEmpty())
		{
			break;
		}
		if (!bExpectValue)
		{
			SkipWhitespace();
			if (Cursor != End)
			{
				Fail(TEXT("Unexpected text after the value"));
			}
			break;
		}
	}
	PendingValues.Empty();
	PendingKeys.Empty();
	if (!Error.IsEmpty())
	{
		OutError = Error;
		return nullptr;
	}
	return Value;
}

TSharedPtr<FJsonValue> FJsonParser::CloseContainer(const FContainer& Container)
{
	const int32 Count = PendingValues.Num() - Container.FirstValue;
	if (Container.bObject)
	{
		const TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
		Object->Values.Reserve(Count);
		for (int32 Index = 0; Index < Count; ++Index)
		{
			// Add replaces, so of two fields with one name the later stays.
			Object->Values.Add(std::move(PendingKeys[Container.FirstKey + Index]),
			                   std::move(PendingValues[Container.FirstValue + Index]));
		}
		PendingKeys.SetNum(Container.FirstKey);
		PendingValues.SetNum(Container.FirstValue);
		return MakeShared<FJsonValueObject>(Object);
	}
	TArray<TSharedPtr<FJsonValue>> Items;
	Items.Reserve(Count);
	for (int32 Index = 0; Index < Count; ++Index)
	{
		Items.Add(std::move(PendingValues[Container.FirstValue + Index]));
	}
	PendingValues.SetNum(Container.FirstValue);
	return MakeShared<FJsonValueArray>(std::move(Items));
}

void FJsonParser::SkipWhitespace()
{
	while (Cursor != End && (*Cursor == u' ' || *Cursor == u'\n' || *Cursor == u'\r' || *Cursor == u'\t'))
	{
		++Cursor;
	}
}

bool FJsonParser::ParseKey(FString& OutKey)
{
	if (Cursor == End || *Cursor != u'"')
	{
		return Fail(TEXT("Expected a field name"));
	}
	if (!ParseString(OutKey))
	{
		return false;
	}
	SkipWhitespace();
	if (Cursor == End || *Cursor != u':')
	{
		return Fail(TEXT("Expected ':'"));
	}
	++Cursor;
	SkipWhitespace();
	return true;
}

bool FJsonParser::ParseScalar(TSharedPtr<FJsonValue>& OutValue)
{
	switch (*Cursor)
	{
		case u'"':
		{
			FString String;
			if (!ParseString(String))
			{
				return false;
			}
			OutValue = MakeShared<FJsonValueString>(std::move(String));
			return true;
		}
		case u't':
			OutValue = MakeShared<FJsonValueBoolean>(true);
			return ParseLiteral("true");
		case u'f':
			OutValue = MakeShared<FJsonValueBoolean>(false);
			return ParseLiteral("false");
		case u'n':
			OutValue = MakeShared<FJsonValueNull>();
			return ParseLiteral("null");
		default:
		{
			double Number = 0.0;
			if (!ParseNumber(Number))
			{
				return false;
			}
			OutValue = MakeShared<FJsonValueNumber>(Number);
			return true;
		}
	}
}

bool FJsonParser::ParseString(FString& OutString)
{
	++Cursor;
	const TCHAR* const Start = Cursor;
	// Most strings hold no escapes and are copied in one piece.
	while (Cursor != End && *Cursor != u'"' && *Cursor != u'\\' && *Cursor >= 0x20)
	{
		++Cursor;
	}
	if (Cursor != End && *Cursor == u'"')
	{
		OutString = FString(int32(Cursor - Start), Start);
		++Cursor;
		return true;
	}
	std::u16string Buffer(Start, Cursor);
	while (Cursor != End)
	{
		const TCHAR C = *Cursor++;
		if (C == u'"')
		{
			OutString = FString(std::move(Buffer));
			return true;
		}
		if (C < 0x20)
		{
			--Cursor;
			return Fail(TEXT("Control character in a string"));
		}
		if (C != u'\\')
		{
			Buffer.push_back(C);
			continue;
		}
		if (Cursor == End)
		{
			break;
		}
		switch (*Cursor++)
		{
			case u'"':
				Buffer.push_back(u'"');
				break;
			case u'\\':
				Buffer.push_back(u'\\');
				break;
			case u'/':
				Buffer.push_back(u'/');
				break;
			case u'b':
				Buffer.push_back(u'\b');
				break;
			case u'f':
				Buffer.push_back(u'\f');
				break;
			case u'n':
				Buffer.push_back(u'\n');
				break;
			case u'r':
				Buffer.push_back(u'\r');
				break;
			case u't':
				Buffer.push_back(u'\t');
				break;
			case u'u':
			{
				// The text is UTF-16 already, so a surrogate pair written as two escapes joins by itself; a lone
				// surrogate is kept as the code unit it names.
				int32 Unit = 0;
				for (int32 Digit = 0; Digit < 4; ++Digit)
				{
					const int32 Hex = Cursor != End ? TChar::HexDigitValue(*Cursor) : -1;
					if (Hex < 0)
					{
						return Fail(TEXT("Bad \\u escape"));
					}
					Unit = Unit * 16 + Hex;
					++Cursor;
				}
				Buffer.push_back(TCHAR(Unit));
				break;
			}
			default:
				--Cursor;
				return Fail(TEXT("Bad escape"));
		}
	}
	return Fail(TEXT("Unterminated string"));
}

bool FJsonParser::ParseNumber(double& OutNumber)
{
	const TCHAR* const Start = Cursor;
	if (*Cursor == u'-')
	{
		++Cursor;
	}
	if (Cursor != End && *Cursor == u'0')
	{
		++Cursor;
	}
	else if (Cursor != End && IsDigit(*Cursor))
	{
		while (Cursor != End && IsDigit(*Cursor))
		{
			++Cursor;
		}
	}
	else
	{
		return Fail(TEXT("Unexpected character"));
	}
	if (Cursor != End && *Cursor == u'.')
	{
		++Cursor;
		if (Cursor == End || !IsDigit(*Cursor))
		{
			return Fail(TEXT("Expected a digit after '.'"));
		}
		while (Cursor != End && IsDigit(*Cursor))
		{
			++Cursor;
		}
	}
	if (Cursor != End && (*Cursor == u'e' || *Cursor == u'E'))
	{
		++Cursor;
		if (Cursor != End && (*Cursor == u'+' || *Cursor == u'-'))
		{
			++Cursor;
		}
		if (Cursor == End || !IsDigit(*Cursor))
		{
			return Fail(TEXT("Expected a digit in the exponent"));
		}
		while (Cursor != End && IsDigit(*Cursor))
		{
			++Cursor;
		}
	}

	// The grammar above admits ASCII only, so narrowing each unit is exact.
	std::string Narrow(Start, Cursor);
	const std::from_chars_result Result = std::from_chars(Narrow.data(), Narrow.data() + Narrow.size(), OutNumber);
	if (Result.ec == std::errc::result_out_of_range)
	{
		// Too large becomes infinity, too small zero, with the sign kept.
		OutNumber = std::strtod(Narrow.c_str(), nullptr);
	}
	return true;
}

bool FJsonParser::ParseLiteral(const char* Literal)
{
	for (; *Literal; ++Literal, ++Cursor)
	{
		if (Cursor == End || *Cursor != TCHAR(*Literal))
		{
			return Fail(TEXT("Unexpected character"));
		}
	}
	return true;
}

bool FJsonParser::Fail(const TCHAR* Message)
{
	if (Error.IsEmpty())
	{
		Error = FString::Printf(TEXT("%s at offset %d"), Message, int32(Cursor - Begin));
	}
	return false;
}
