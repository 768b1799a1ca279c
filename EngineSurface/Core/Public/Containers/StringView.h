#pragma once

#include "Containers/UnrealString.h"

// A view of characters owned elsewhere: lets a lookup by a literal name run without building a string.
class FStringView
{
public:
	FStringView() = default;
	FStringView(const TCHAR* InData) : Data(InData ? InData : u""), Size(FCString::Strlen(Data)) {}
	FStringView(const TCHAR* InData, int32 InSize) : Data(InData), Size(InSize) {}
	FStringView(const FString& String) : Data(*String), Size(String.Len()) {}

	const TCHAR* GetData() const { return Data; }
	int32 Len() const { return Size; }
	bool IsEmpty() const { return Size == 0; }
	TCHAR operator[](int32 Index) const { return Data[Index]; }
	bool Equals(FStringView Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const
	{
		if (Size != Other.Size)
		{
			return false;
		}
		for (int32 Index = 0; Index < Size; ++Index)
		{
			const TCHAR A = Data[Index];
			const TCHAR B = Other.Data[Index];
			if (SearchCase == ESearchCase::CaseSensitive ? A != B : TChar::ToLower(A) != TChar::ToLower(B))
			{
				return false;
			}
		}
		return true;
	}

private:
	const TCHAR* Data = u"";
	int32 Size = 0;
};

// Case-insensitive, as FString compares with ==; FString keys of a map can be found by a view.
inline bool operator==(const FString& A, FStringView B)
{
	return FStringView(A).Equals(B, ESearchCase::IgnoreCase);
}
inline uint32 GetTypeHash(FStringView View)
{
	return UE::String::HashIgnoreCase(View.GetData(), View.Len());
}
