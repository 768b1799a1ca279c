#include "Blueprint/AssetJson.h"

#include <cstdlib>
#include <utility>

namespace
{
class FAssetJsonReader
{
public:
	explicit FAssetJsonReader(const FString& InText) : Text(InText) {}

	bool ReadDocument(FAssetJsonValue& Out, FString& OutError)
	{
		SkipSpace();
		if (!ReadValue(Out, 0))
		{
			OutError = FString::Printf(TEXT("%s at offset %d"), *Error, Position);
			return false;
		}
		SkipSpace();
		if (Position != Text.Len())
		{
			OutError = FString::Printf(TEXT("unexpected text after the value at offset %d"), Position);
			return false;
		}
		return true;
	}

private:
	static constexpr int32 MaxDepth = 256;

	bool Fail(const TCHAR* Message)
	{
		Error = Message;
		return false;
	}

	void SkipSpace()
	{
		while (Position < Text.Len() &&
		       (Text[Position] == ' ' || Text[Position] == '\t' || Text[Position] == '\n' || Text[Position] == '\r'))
		{
			++Position;
		}
	}

	bool Consume(const TCHAR* Word)
	{
		const FString Expected(Word);
		if (Text.Mid(Position, Expected.Len()).Equals(Expected, ESearchCase::CaseSensitive))
		{
			Position += Expected.Len();
			return true;
		}
		return false;
	}

	bool ReadValue(FAssetJsonValue& Out, int32 Depth)
	{
		if (Depth > MaxDepth)
		{
			return Fail(TEXT("nested too deeply"));
		}
		if (Position >= Text.Len())
		{
			return Fail(TEXT("unexpected end of text"));
		}
		const TCHAR C = Text[Position];
		if (C == '{')
		{
			return ReadObject(Out, Depth);
		}
		if (C == '[')
		{
			return ReadArray(Out, Depth);
		}
		if (C == '"')
		{
			Out.Type = FAssetJsonValue::EType::String;
			return ReadString(Out.String);
		}
		if (Consume(TEXT("true")) || Consume(TEXT("false")))
		{
			Out.Type = FAssetJsonValue::EType::Bool;
			Out.Bool = Text[Position - 1] == 'e' && Text[Position - 2] == 'u';
			return true;
		}
		if (Consume(TEXT("null")))
		{
			Out.Type = FAssetJsonValue::EType::Null;
			return true;
		}
		return ReadNumber(Out);
	}

	bool ReadObject(FAssetJsonValue& Out, int32 Depth)
	{
		Out.Type = FAssetJsonValue::EType::Object;
		++Position;
		SkipSpace();
		if (Position < Text.Len() && Text[Position] == '}')
		{
			++Position;
			return true;
		}
		while (true)
		{
			SkipSpace();
			FString Key;
			if (Position >= Text.Len() || Text[Position] != '"' || !ReadString(Key))
			{
				return Error.IsEmpty() ? Fail(TEXT("expected a field name")) : false;
			}
			SkipSpace();
			if (Position >= Text.Len() || Text[Position] != ':')
			{
				return Fail(TEXT("expected ':'"));
			}
			++Position;
			SkipSpace();
			FAssetJsonValue Value;
			if (!ReadValue(Value, Depth + 1))
			{
				return false;
			}
			const int32 Existing = Out.Keys.IndexOfByPredicate(
			    [&Key](const FString& Each) { return Each.Equals(Key, ESearchCase::CaseSensitive); });
			if (Existing != INDEX_NONE)
			{
				Out.Items[Existing] = std::move(Value);
			}
			else
			{
				Out.Keys.Add(Key);
				Out.Items.Add(std::move(Value));
			}
			SkipSpace();
			if (Position < Text.Len() && Text[Position] == ',')
			{
				++Position;
				continue;
			}
			if (Position < Text.Len() && Text[Position] == '}')
			{
				++Position;
				return true;
			}
			return Fail(TEXT("expected ',' or '}'"));
		}
	}

	bool ReadArray(FAssetJsonValue& Out, int32 Depth)
	{
		Out.Type = FAssetJsonValue::EType::Array;
		++Position;
		SkipSpace();
		if (Position < Text.Len() && Text[Position] == ']')
		{
			++Position;
			return true;
		}
		while (true)
		{
			SkipSpace();
			FAssetJsonValue Value;
			if (!ReadValue(Value, Depth + 1))
			{
				return false;
			}
			Out.Items.Add(std::move(Value));
			SkipSpace();
			if (Position < Text.Len() && Text[Position] == ',')
			{
				++Position;
				continue;
			}
			if (Position < Text.Len() && Text[Position] == ']')
			{
				++Position;
				return true;
			}
			return Fail(TEXT("expected ',' or ']'"));
		}
	}

	bool ReadHex4(uint32& Out)
	{
		Out = 0;
		for (int32 Index = 0; Index < 4; ++Index, ++Position)
		{
			if (Position >= Text.Len())
			{
				return false;
			}
			const TCHAR C = Text[Position];
			const int32 Digit = C >= '0' && C <= '9'   ? C - '0'
			                    : C >= 'a' && C <= 'f' ? C - 'a' + 10
			                    : C >= 'A' && C <= 'F' ? C - 'A' + 10
			                                           : -1;
			if (Digit < 0)
			{
				return false;
			}
			Out = Out * 16 + uint32(Digit);
		}
		return true;
	}

	bool ReadString(FString& Out)
	{
		++Position;
		while (Position < Text.Len())
		{
			const TCHAR C = Text[Position++];
			if (C == '"')
			{
				return true;
			}
			if (C < 0x20)
			{
				return Fail(TEXT("control character in a string"));
			}
			if (C != '\\')
			{
				Out.AppendChar(C);
				continue;
			}
			if (Position >= Text.Len())
			{
				break;
			}
			const TCHAR Escape = Text[Position++];
			switch (Escape)
			{
				case '"':
				case '\\':
				case '/':
					Out.AppendChar(Escape);
					break;
				case 'b':
					Out.AppendChar('\b');
					break;
				case 'f':
					Out.AppendChar('\f');
					break;
				case 'n':
					Out.AppendChar('\n');
					break;
				case 'r':
					Out.AppendChar('\r');
					break;
				case 't':
					Out.AppendChar('\t');
					break;
				case 'u':
				{
					uint32 Unit = 0;
					if (!ReadHex4(Unit))
					{
						return Fail(TEXT("bad \\u escape"));
					}
					// Strings are UTF-16 here, so escaped surrogates are kept as the code units they are.
					Out.AppendChar(TCHAR(Unit));
					break;
				}
				default:
					return Fail(TEXT("unknown escape in a string"));
			}
		}
		return Fail(TEXT("unterminated string"));
	}

	bool ReadNumber(FAssetJsonValue& Out)
	{
		const int32 Start = Position;
		auto Digits = [this]()
		{
			const int32 Before = Position;
			while (Position < Text.Len() && Text[Position] >= '0' && Text[Position] <= '9')
			{
				++Position;
			}
			return Position - Before;
		};
		if (Position < Text.Len() && Text[Position] == '-')
		{
			++Position;
		}
		const int32 IntegerStart = Position;
		const int32 IntegerDigits = Digits();
		if (IntegerDigits == 0 || (IntegerDigits > 1 && Text[IntegerStart] == '0'))
		{
			Position = Start;
			return Fail(TEXT("expected a value"));
		}
		if (Position < Text.Len() && Text[Position] == '.')
		{
			++Position;
			if (Digits() == 0)
			{
				return Fail(TEXT("expected digits after '.'"));
			}
		}
		if (Position < Text.Len() && (Text[Position] == 'e' || Text[Position] == 'E'))
		{
			++Position;
			if (Position < Text.Len() && (Text[Position] == '+' || Text[Position] == '-'))
			{
				++Position;
			}
			if (Digits() == 0)
			{
				return Fail(TEXT("expected digits in the exponent"));
			}
		}
		Out.Type = FAssetJsonValue::EType::Number;
		Out.Number = std::strtod(TCHAR_TO_UTF8(*Text.Mid(Start, Position - Start)), nullptr);
		return true;
	}

	const FString& Text;
	int32 Position = 0;
	FString Error;
};
} // namespace

const FAssetJsonValue* FAssetJsonValue::Find(const TCHAR* Key) const
{
	if (Type != EType::Object)
	{
		return nullptr;
	}
	const FString Wanted(Key);
	const int32 Index = Keys.IndexOfByPredicate([&Wanted](const FString& Each)
	                                            { return Each.Equals(Wanted, ESearchCase::CaseSensitive); });
	return Index == INDEX_NONE ? nullptr : &Items[Index];
}

FString FAssetJsonValue::ToPropertyText() const
{
	switch (Type)
	{
		case EType::Bool:
			return Bool ? TEXT("True") : TEXT("False");
		case EType::Number:
			return Number == double(int64(Number)) ? FString::Printf(TEXT("%lld"), static_cast<long long>(Number))
			                                       : FString::Printf(TEXT("%.9g"), Number);
		case EType::String:
			return String;
		default:
			return FString();
	}
}

bool FAssetJsonValue::Parse(const FString& Text, FAssetJsonValue& OutValue, FString& OutError)
{
	OutValue = FAssetJsonValue();
	return FAssetJsonReader(Text).ReadDocument(OutValue, OutError);
}
