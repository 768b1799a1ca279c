#include "Containers/UnrealString.h"
#include "Headless/Utf8String.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
bool UnitsEqual(TCHAR A, TCHAR B, ESearchCase::Type SearchCase)
{
	return SearchCase == ESearchCase::CaseSensitive ? A == B : TChar::ToLower(A) == TChar::ToLower(B);
}

bool RangeEquals(const TCHAR* A, const TCHAR* B, int32 Count, ESearchCase::Type SearchCase)
{
	for (int32 Index = 0; Index < Count; ++Index)
	{
		if (!UnitsEqual(A[Index], B[Index], SearchCase))
		{
			return false;
		}
	}
	return true;
}

void AppendNarrow(std::u16string& Out, const char* Text)
{
	while (*Text)
	{
		Out.push_back(static_cast<unsigned char>(*Text++));
	}
}
} // namespace

FString::FString(const ANSICHAR* Utf8Text)
{
	if (Utf8Text)
	{
		Data = UE::String::Utf8ToUtf16(Utf8Text, std::char_traits<char>::length(Utf8Text));
	}
}

FString& FString::operator/=(const FString& Path)
{
	if (Path.IsEmpty())
	{
		return *this;
	}
	if (!IsEmpty() && Data.back() != u'/' && Path.Data.front() != u'/')
	{
		Data.push_back(u'/');
	}
	else if (!IsEmpty() && Data.back() == u'/' && Path.Data.front() == u'/')
	{
		Data.pop_back();
	}
	Data += Path.Data;
	return *this;
}

bool FString::Equals(const FString& Other, ESearchCase::Type SearchCase) const
{
	return Len() == Other.Len() && RangeEquals(Data.data(), Other.Data.data(), Len(), SearchCase);
}

int32 FString::Compare(const FString& Other, ESearchCase::Type SearchCase) const
{
	const int32 Common = Len() < Other.Len() ? Len() : Other.Len();
	for (int32 Index = 0; Index < Common; ++Index)
	{
		TCHAR A = Data[size_t(Index)];
		TCHAR B = Other.Data[size_t(Index)];
		if (SearchCase == ESearchCase::IgnoreCase)
		{
			A = TChar::ToLower(A);
			B = TChar::ToLower(B);
		}
		if (A != B)
		{
			return A < B ? -1 : 1;
		}
	}
	return Len() == Other.Len() ? 0 : (Len() < Other.Len() ? -1 : 1);
}

FString FString::Mid(int32 Start, int32 Count) const
{
	if (Count <= 0)
	{
		return FString();
	}
	int64 End = int64(Start) + int64(Count);
	int64 Begin = Start < 0 ? 0 : Start;
	if (End > Len())
	{
		End = Len();
	}
	if (Begin >= End)
	{
		return FString();
	}
	return FString(Data.substr(size_t(Begin), size_t(End - Begin)));
}

FString FString::Right(int32 Count) const
{
	if (Count <= 0)
	{
		return FString();
	}
	return Count >= Len() ? *this : Mid(Len() - Count);
}

int32 FString::Find(const FString& SubString, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir,
                    int32 StartPosition) const
{
	const int32 SubLen = SubString.Len();
	if (SubLen > Len())
	{
		return INDEX_NONE;
	}
	if (SearchDir == ESearchDir::FromStart)
	{
		const int32 First = StartPosition == INDEX_NONE ? 0 : (StartPosition < 0 ? 0 : StartPosition);
		for (int32 Index = First; Index + SubLen <= Len(); ++Index)
		{
			if (RangeEquals(Data.data() + Index, SubString.Data.data(), SubLen, SearchCase))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}
	// From the end, StartPosition is the index just past the last character considered, as in the engine.
	int32 Last = Len() - SubLen;
	if (StartPosition != INDEX_NONE && StartPosition - SubLen < Last)
	{
		Last = StartPosition - SubLen;
	}
	for (int32 Index = Last; Index >= 0; --Index)
	{
		if (RangeEquals(Data.data() + Index, SubString.Data.data(), SubLen, SearchCase))
		{
			return Index;
		}
	}
	return INDEX_NONE;
}

bool FString::FindChar(TCHAR C, int32& OutIndex) const
{
	const size_t Position = Data.find(C);
	OutIndex = Position == std::u16string::npos ? INDEX_NONE : int32(Position);
	return OutIndex != INDEX_NONE;
}

bool FString::FindLastChar(TCHAR C, int32& OutIndex) const
{
	const size_t Position = Data.rfind(C);
	OutIndex = Position == std::u16string::npos ? INDEX_NONE : int32(Position);
	return OutIndex != INDEX_NONE;
}

bool FString::StartsWith(const FString& Prefix, ESearchCase::Type SearchCase) const
{
	return Prefix.Len() <= Len() && RangeEquals(Data.data(), Prefix.Data.data(), Prefix.Len(), SearchCase);
}

bool FString::EndsWith(const FString& Suffix, ESearchCase::Type SearchCase) const
{
	return Suffix.Len() <= Len() &&
	       RangeEquals(Data.data() + (Len() - Suffix.Len()), Suffix.Data.data(), Suffix.Len(), SearchCase);
}

bool FString::Split(const FString& Separator, FString* OutLeft, FString* OutRight, ESearchCase::Type SearchCase,
                    ESearchDir::Type SearchDir) const
{
	const int32 Position = Find(Separator, SearchCase, SearchDir);
	if (Position == INDEX_NONE)
	{
		return false;
	}
	const FString Source = *this;
	if (OutLeft)
	{
		*OutLeft = Source.Left(Position);
	}
	if (OutRight)
	{
		*OutRight = Source.Mid(Position + Separator.Len());
	}
	return true;
}

bool FString::RemoveFromStart(const FString& Prefix, ESearchCase::Type SearchCase)
{
	if (Prefix.IsEmpty() || !StartsWith(Prefix, SearchCase))
	{
		return false;
	}
	Data.erase(0, size_t(Prefix.Len()));
	return true;
}

bool FString::RemoveFromEnd(const FString& Suffix, ESearchCase::Type SearchCase)
{
	if (Suffix.IsEmpty() || !EndsWith(Suffix, SearchCase))
	{
		return false;
	}
	Data.erase(size_t(Len() - Suffix.Len()));
	return true;
}

int32 FString::ParseIntoArray(TArray<FString>& OutArray, const TCHAR* Delimiter, bool bCullEmpty) const
{
	OutArray.Reset();
	const FString Separator(Delimiter);
	if (Separator.IsEmpty())
	{
		if (!IsEmpty() || !bCullEmpty)
		{
			OutArray.Add(*this);
		}
		return OutArray.Num();
	}
	int32 Start = 0;
	while (true)
	{
		const int32 Position = Find(Separator, ESearchCase::CaseSensitive, ESearchDir::FromStart, Start);
		const int32 End = Position == INDEX_NONE ? Len() : Position;
		FString Piece = Mid(Start, End - Start);
		if (!bCullEmpty || !Piece.IsEmpty())
		{
			OutArray.Add(Piece);
		}
		if (Position == INDEX_NONE)
		{
			break;
		}
		Start = Position + Separator.Len();
	}
	return OutArray.Num();
}

FString FString::Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase) const
{
	const FString Needle(From);
	if (Needle.IsEmpty())
	{
		return *this;
	}
	FString Result;
	int32 Start = 0;
	while (true)
	{
		const int32 Position = Find(Needle, SearchCase, ESearchDir::FromStart, Start);
		if (Position == INDEX_NONE)
		{
			Result += Mid(Start);
			return Result;
		}
		Result += Mid(Start, Position - Start);
		Result += To;
		Start = Position + Needle.Len();
	}
}

void FString::InsertAt(int32 Index, const FString& Text)
{
	check(Index >= 0 && Index <= Len());
	Data.insert(size_t(Index), Text.Data);
}

void FString::RemoveAt(int32 Index, int32 Count)
{
	check(Index >= 0 && Count >= 0 && Index + Count <= Len());
	Data.erase(size_t(Index), size_t(Count));
}

FString FString::ToUpper() const
{
	std::u16string Result = Data;
	for (char16_t& C : Result)
	{
		C = TChar::ToUpper(C);
	}
	return FString(std::move(Result));
}

FString FString::ToLower() const
{
	std::u16string Result = Data;
	for (char16_t& C : Result)
	{
		C = TChar::ToLower(C);
	}
	return FString(std::move(Result));
}

FString FString::TrimStart() const
{
	size_t First = 0;
	while (First < Data.size() && TChar::IsWhitespace(Data[First]))
	{
		++First;
	}
	return FString(Data.substr(First));
}

FString FString::TrimEnd() const
{
	size_t End = Data.size();
	while (End > 0 && TChar::IsWhitespace(Data[End - 1]))
	{
		--End;
	}
	return FString(Data.substr(0, End));
}

FString FString::FromInt(int32 Value)
{
	return FString(std::to_string(Value).c_str());
}

FString FString::SanitizeFloat(double Value, int32 MinFractionalDigits)
{
	if (std::isnan(Value))
	{
		return FString(TEXT("nan"));
	}
	if (std::isinf(Value))
	{
		return FString(Value > 0 ? TEXT("inf") : TEXT("-inf"));
	}
	// As the engine: printf's "%f" (six fraction digits), trailing zeros trimmed down to the minimum; no "-0".
	char Buffer[400];
	std::snprintf(Buffer, sizeof(Buffer), "%f", Value == 0.0 ? 0.0 : Value);
	std::string Text = Buffer;
	const size_t Dot = Text.find('.');
	size_t Keep = Text.size();
	while (Keep > Dot + 1 && Text[Keep - 1] == '0')
	{
		--Keep;
	}
	Text.resize(Keep);
	if (Text.back() == '.')
	{
		Text.pop_back();
	}
	if (Text == "-0")
	{
		Text = "0";
	}
	const size_t Fraction = Text.find('.') == std::string::npos ? 0 : Text.size() - Text.find('.') - 1;
	if (MinFractionalDigits > 0 && Fraction < size_t(MinFractionalDigits))
	{
		if (Fraction == 0)
		{
			Text += '.';
		}
		Text.append(size_t(MinFractionalDigits) - Fraction, '0');
	}
	return FString(Text.c_str());
}

FString FString::Join(const TArray<FString>& Items, const TCHAR* Separator)
{
	FString Result;
	for (int32 Index = 0; Index < Items.Num(); ++Index)
	{
		if (Index > 0)
		{
			Result += Separator;
		}
		Result += Items[Index];
	}
	return Result;
}

FString FString::PrintfImpl(const TCHAR* Format, const FPrintfArg* Args, int32 NumArgs)
{
	std::u16string Out;
	int32 NextArg = 0;
	const auto TakeArg = [&]() -> const FPrintfArg* { return NextArg < NumArgs ? &Args[NextArg++] : nullptr; };
	const auto AsSigned = [](const FPrintfArg* Arg) -> long long
	{
		if (!Arg)
		{
			return 0;
		}
		switch (Arg->Kind)
		{
			case FPrintfArg::EKind::Signed:
				return Arg->Signed;
			case FPrintfArg::EKind::Unsigned:
				return static_cast<long long>(Arg->Unsigned);
			case FPrintfArg::EKind::Double:
				return std::isfinite(Arg->Double) && std::fabs(Arg->Double) < 9.2e18
				           ? static_cast<long long>(Arg->Double)
				           : 0;
			default:
				return 0;
		}
	};
	const auto AsDouble = [](const FPrintfArg* Arg) -> double
	{
		if (!Arg)
		{
			return 0.0;
		}
		switch (Arg->Kind)
		{
			case FPrintfArg::EKind::Signed:
				return double(Arg->Signed);
			case FPrintfArg::EKind::Unsigned:
				return double(Arg->Unsigned);
			case FPrintfArg::EKind::Double:
				return Arg->Double;
			default:
				return 0.0;
		}
	};

	for (const TCHAR* Cursor = Format ? Format : u""; *Cursor; ++Cursor)
	{
		if (*Cursor != u'%')
		{
			Out.push_back(*Cursor);
			continue;
		}
		++Cursor;
		if (*Cursor == u'%')
		{
			Out.push_back(u'%');
			continue;
		}
		std::string Spec = "%";
		while (*Cursor == u'-' || *Cursor == u'+' || *Cursor == u' ' || *Cursor == u'#' || *Cursor == u'0')
		{
			Spec.push_back(char(*Cursor++));
		}
		const bool bNoFlags = Spec.size() == 1;
		int Width = -1;
		if (*Cursor == u'*')
		{
			Width = int(AsSigned(TakeArg()));
			++Cursor;
		}
		else
		{
			while (TChar::IsDigit(*Cursor))
			{
				Width = (Width < 0 ? 0 : Width) * 10 + (*Cursor++ - u'0');
			}
		}
		int Precision = -1;
		if (*Cursor == u'.')
		{
			++Cursor;
			Precision = 0;
			if (*Cursor == u'*')
			{
				Precision = int(AsSigned(TakeArg()));
				++Cursor;
			}
			while (TChar::IsDigit(*Cursor))
			{
				Precision = Precision * 10 + (*Cursor++ - u'0');
			}
		}
		while (*Cursor == u'h' || *Cursor == u'l' || *Cursor == u'L' || *Cursor == u'z' || *Cursor == u'j' ||
		       *Cursor == u't' || *Cursor == u'I' || *Cursor == u'6' || *Cursor == u'4')
		{
			++Cursor;
		}
		if (Width >= 0)
		{
			Spec += std::to_string(Width);
		}
		if (Precision >= 0)
		{
			Spec += '.';
			Spec += std::to_string(Precision);
		}
		const TCHAR Conversion = *Cursor;
		if (Conversion == 0)
		{
			break;
		}
		char Buffer[512];
		// Plain "%d" and "%.Nf" are most of what programs print line after line; std::to_chars writes what the C
		// library would, without parsing a format again.
		const bool bPlain = bNoFlags && Width < 0;
		switch (Conversion)
		{
			case u'd':
			case u'i':
				if (bPlain && Precision < 0)
				{
					*std::to_chars(Buffer, Buffer + sizeof(Buffer) - 1, AsSigned(TakeArg())).ptr = 0;
				}
				else
				{
					std::snprintf(Buffer, sizeof(Buffer), (Spec + "lld").c_str(), AsSigned(TakeArg()));
				}
				AppendNarrow(Out, Buffer);
				break;
			case u'u':
			case u'x':
			case u'X':
			case u'o':
			{
				const FPrintfArg* Arg = TakeArg();
				unsigned long long Value = static_cast<unsigned long long>(AsSigned(Arg));
				// Varargs widen narrower integers to int, so a negative int32 or int16 prints as 32 bits.
				if (Arg && Arg->Kind == FPrintfArg::EKind::Signed && Arg->Bytes <= 4)
				{
					Value &= 0xFFFFFFFFull;
				}
				Spec += "ll";
				Spec.push_back(char(Conversion));
				std::snprintf(Buffer, sizeof(Buffer), Spec.c_str(), Value);
				AppendNarrow(Out, Buffer);
				break;
			}
			case u'f':
				if (bPlain)
				{
					const double Value = AsDouble(TakeArg());
					const std::to_chars_result Written =
					    std::to_chars(Buffer, Buffer + sizeof(Buffer) - 1, Value, std::chars_format::fixed,
					                  Precision < 0 ? 6 : Precision);
					if (Written.ec == std::errc())
					{
						*Written.ptr = 0;
						AppendNarrow(Out, Buffer);
						break;
					}
					Spec.push_back('f');
					std::snprintf(Buffer, sizeof(Buffer), Spec.c_str(), Value);
					AppendNarrow(Out, Buffer);
					break;
				}
				[[fallthrough]];
			case u'F':
			case u'e':
			case u'E':
			case u'g':
			case u'G':
				Spec.push_back(char(Conversion));
				std::snprintf(Buffer, sizeof(Buffer), Spec.c_str(), AsDouble(TakeArg()));
				AppendNarrow(Out, Buffer);
				break;
			case u'c':
				Out.push_back(static_cast<TCHAR>(AsSigned(TakeArg())));
				break;
			case u'p':
			{
				const FPrintfArg* Arg = TakeArg();
				std::snprintf(Buffer, sizeof(Buffer), "%p",
				              Arg && Arg->Kind == FPrintfArg::EKind::Pointer ? Arg->Pointer : nullptr);
				AppendNarrow(Out, Buffer);
				break;
			}
			case u's':
			{
				const FPrintfArg* Arg = TakeArg();
				std::u16string Text;
				if (Arg && Arg->Kind == FPrintfArg::EKind::WideString && Arg->Wide)
				{
					Text = Arg->Wide;
				}
				else if (Arg && Arg->Kind == FPrintfArg::EKind::NarrowString && Arg->Narrow)
				{
					Text = UE::String::Utf8ToUtf16(Arg->Narrow, std::char_traits<char>::length(Arg->Narrow));
				}
				if (Precision >= 0 && size_t(Precision) < Text.size())
				{
					Text.resize(size_t(Precision));
				}
				const bool bLeft = Spec.find('-') != std::string::npos;
				const size_t Pad = Width > 0 && size_t(Width) > Text.size() ? size_t(Width) - Text.size() : 0;
				if (!bLeft)
				{
					Out.append(Pad, u' ');
				}
				Out += Text;
				if (bLeft)
				{
					Out.append(Pad, u' ');
				}
				break;
			}
			default:
				Out.push_back(u'%');
				Out.push_back(Conversion);
				break;
		}
	}
	return FString(std::move(Out));
}

std::string ToUtf8(const FString& String)
{
	return UE::String::Utf16ToUtf8(*String, static_cast<size_t>(String.Len()));
}

FString FromUtf8(const std::string& Text)
{
	const std::u16string Converted = UE::String::Utf8ToUtf16(Text.data(), Text.size());
	return FString::ConstructFromPtrSize(Converted.data(), static_cast<int32>(Converted.size()));
}
