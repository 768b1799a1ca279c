#pragma once

#include "Containers/UnrealString.h"

#include <cstring>
#include <string>
#include <type_traits>

// A view of characters owned elsewhere: lets a lookup by a literal name run without building a string, and lets
// text in another encoding (UTF-8 bytes read from a file) be read where it lies.
template <class CharType>
class TStringView
{
public:
	using ElementType = CharType;

	TStringView() = default;
	TStringView(const CharType* InData)
	    : Data(InData ? InData : EmptyText()), Size(int32(std::char_traits<CharType>::length(Data)))
	{
	}
	TStringView(const CharType* InData, int32 InSize) : Data(InData), Size(InSize) {}
	TStringView(const FString& String) requires std::is_same_v<CharType, TCHAR> : Data(*String), Size(String.Len()) {}

	const CharType* GetData() const { return Data; }
	int32 Len() const { return Size; }
	bool IsEmpty() const { return Size == 0; }
	CharType operator[](int32 Index) const { return Data[Index]; }
	// Ignoring case folds TCHAR text as FString does and other encodings in ASCII only.
	bool Equals(TStringView Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const
	{
		if (Size != Other.Size)
		{
			return false;
		}
		if (SearchCase == ESearchCase::CaseSensitive)
		{
			return Size == 0 || std::memcmp(Data, Other.Data, size_t(Size) * sizeof(CharType)) == 0;
		}
		for (int32 Index = 0; Index < Size; ++Index)
		{
			const CharType A = Data[Index];
			const CharType B = Other.Data[Index];
			if (SearchCase == ESearchCase::CaseSensitive ? A != B : Fold(A) != Fold(B))
			{
				return false;
			}
		}
		return true;
	}

private:
	static const CharType* EmptyText()
	{
		static constexpr CharType Empty[1] = {};
		return Empty;
	}
	static CharType Fold(CharType Char)
	{
		if constexpr (std::is_same_v<CharType, TCHAR>)
		{
			return TChar::ToLower(Char);
		}
		else
		{
			return Char >= CharType('A') && Char <= CharType('Z') ? CharType(Char - 'A' + 'a') : Char;
		}
	}

	const CharType* Data = EmptyText();
	int32 Size = 0;
};

using FStringView = TStringView<TCHAR>;
using FUtf8StringView = TStringView<UTF8CHAR>;
using FAnsiStringView = TStringView<ANSICHAR>;

// Case-insensitive, as FString compares with ==; FString keys of a map can be found by a view.
inline bool operator==(const FString& A, FStringView B)
{
	return FStringView(A).Equals(B, ESearchCase::IgnoreCase);
}
inline uint32 GetTypeHash(FStringView View)
{
	return UE::String::HashIgnoreCase(View.GetData(), View.Len());
}
