#pragma once

#include "HAL/Platform.h"
#include "Misc/AssertionMacros.h"
#include "Misc/CString.h"
#include "Containers/Array.h"
#include "Containers/StringConv.h"
#include "Templates/TypeHash.h"

#include <string>
#include <type_traits>

// One argument of FString::Printf, captured by value so the formatter can check it against its conversion.
struct FPrintfArg
{
	enum class EKind : uint8
	{
		Signed,
		Unsigned,
		Double,
		WideString,
		NarrowString,
		Pointer
	};
	EKind Kind;
	// The integer's size in bytes: the unsigned conversions read a narrower one as C's varargs do.
	uint8 Bytes = 8;
	int64 Signed = 0;
	uint64 Unsigned = 0;
	double Double = 0.0;
	const TCHAR* Wide = nullptr;
	const ANSICHAR* Narrow = nullptr;
	const void* Pointer = nullptr;

	template <typename T>
	requires(std::is_integral_v<T>&& std::is_signed_v<T>) FPrintfArg(T Value)
	    : Kind(EKind::Signed), Bytes(sizeof(T)), Signed(Value)
	{
	}
	template <typename T>
	requires(std::is_integral_v<T> && !std::is_signed_v<T>) FPrintfArg(T Value)
	    : Kind(EKind::Unsigned), Bytes(sizeof(T)), Unsigned(Value)
	{
	}
	template <typename T>
	requires std::is_enum_v<T> FPrintfArg(T Value)
	    : Kind(EKind::Signed), Bytes(sizeof(T)), Signed(static_cast<int64>(Value))
	{
	}
	FPrintfArg(double Value) : Kind(EKind::Double), Double(Value) {}
	FPrintfArg(float Value) : Kind(EKind::Double), Double(Value) {}
	FPrintfArg(const TCHAR* Value) : Kind(EKind::WideString), Wide(Value) {}
	FPrintfArg(TCHAR* Value) : Kind(EKind::WideString), Wide(Value) {}
	FPrintfArg(const ANSICHAR* Value) : Kind(EKind::NarrowString), Narrow(Value) {}
	FPrintfArg(const void* Value) : Kind(EKind::Pointer), Pointer(Value) {}
};

// The engine's string: UTF-16 code units, lengths counted in code units.
// Comparison with == is case-insensitive, as in the engine; Equals chooses.
class CORE_API FString
{
public:
	FString() = default;
	FString(const TCHAR* Text) : Data(Text ? Text : u"") {}
	FString(const ANSICHAR* Utf8Text);
	UE_DEPRECATED(5.4, "Use FString::ConstructFromPtrSize instead.")
	FString(int32 Count, const TCHAR* Text) : Data(Text, static_cast<size_t>(Count)) {}

	// The first Size code units at Ptr; they need no terminating zero.
	static FString ConstructFromPtrSize(const TCHAR* Ptr, int32 Size)
	{
		FString Result;
		Result.Data.assign(Ptr, static_cast<size_t>(Size));
		return Result;
	}

	int32 Len() const { return static_cast<int32>(Data.size()); }
	bool IsEmpty() const { return Data.empty(); }
	void Empty() { std::u16string().swap(Data); }
	void Reset() { Data.clear(); }
	void Reserve(int32 Count) { Data.reserve(static_cast<size_t>(Count)); }
	bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Len(); }

	// Null-terminated contents; valid until the string changes.
	const TCHAR* operator*() const { return Data.c_str(); }
	TCHAR& operator[](int32 Index)
	{
		check(IsValidIndex(Index));
		return Data[static_cast<size_t>(Index)];
	}
	const TCHAR& operator[](int32 Index) const
	{
		check(IsValidIndex(Index));
		return Data[static_cast<size_t>(Index)];
	}

	FString& Append(const FString& Text)
	{
		Data += Text.Data;
		return *this;
	}
	FString& Append(const TCHAR* Text, int32 Count)
	{
		Data.append(Text, static_cast<size_t>(Count));
		return *this;
	}
	FString& AppendChar(TCHAR C)
	{
		Data.push_back(C);
		return *this;
	}
	FString& operator+=(const FString& Text) { return Append(Text); }
	FString& operator+=(const TCHAR* Text) { return Append(FString(Text)); }
	FString& operator+=(TCHAR C) { return AppendChar(C); }
	FString& operator/=(const FString& Path);

	friend FString operator+(const FString& A, const FString& B) { return FString(A.Data + B.Data); }
	friend FString operator+(const FString& A, const TCHAR* B) { return A + FString(B); }
	friend FString operator+(const TCHAR* A, const FString& B) { return FString(A) + B; }
	friend FString operator/(const FString& A, const FString& B)
	{
		FString Result = A;
		Result /= B;
		return Result;
	}

	bool Equals(const FString& Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const;
	int32 Compare(const FString& Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const;
	friend bool operator==(const FString& A, const FString& B) { return A.Equals(B, ESearchCase::IgnoreCase); }
	friend bool operator==(const FString& A, const TCHAR* B) { return A.Equals(FString(B), ESearchCase::IgnoreCase); }
	friend bool operator!=(const FString& A, const FString& B) { return !(A == B); }
	friend bool operator!=(const FString& A, const TCHAR* B) { return !(A == B); }
	friend bool operator<(const FString& A, const FString& B) { return A.Compare(B, ESearchCase::IgnoreCase) < 0; }

	FString Mid(int32 Start, int32 Count = 0x7fffffff) const;
	FString Left(int32 Count) const { return Mid(0, Count); }
	FString Right(int32 Count) const;
	FString LeftChop(int32 Count) const { return Left(Len() - Count); }
	FString RightChop(int32 Count) const { return Mid(Count); }

	int32 Find(const FString& SubString, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase,
	           ESearchDir::Type SearchDir = ESearchDir::FromStart, int32 StartPosition = INDEX_NONE) const;
	bool Contains(const FString& SubString, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const
	{
		return Find(SubString, SearchCase) != INDEX_NONE;
	}
	bool FindChar(TCHAR C, int32& OutIndex) const;
	bool FindLastChar(TCHAR C, int32& OutIndex) const;
	bool StartsWith(const FString& Prefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool EndsWith(const FString& Suffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool Split(const FString& Separator, FString* OutLeft, FString* OutRight,
	           ESearchCase::Type SearchCase = ESearchCase::IgnoreCase,
	           ESearchDir::Type SearchDir = ESearchDir::FromStart) const;
	bool RemoveFromStart(const FString& Prefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	bool RemoveFromEnd(const FString& Suffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	int32 ParseIntoArray(TArray<FString>& OutArray, const TCHAR* Delimiter, bool bCullEmpty = true) const;
	FString Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	void InsertAt(int32 Index, const FString& Text);
	void RemoveAt(int32 Index, int32 Count = 1);

	FString ToUpper() const;
	FString ToLower() const;
	void ToUpperInline() { *this = ToUpper(); }
	void ToLowerInline() { *this = ToLower(); }
	FString TrimStart() const;
	FString TrimEnd() const;
	FString TrimStartAndEnd() const { return TrimStart().TrimEnd(); }
	bool IsNumeric() const { return FCString::IsNumeric(**this); }

	static FString Chr(TCHAR C) { return FString(std::u16string(1, C)); }
	static FString ChrN(int32 Count, TCHAR C) { return FString(std::u16string(static_cast<size_t>(Count), C)); }
	static FString FromInt(int32 Value);
	static FString SanitizeFloat(double Value, int32 MinFractionalDigits = 1);
	static FString Join(const TArray<FString>& Items, const TCHAR* Separator);

	// Formats like the C runtime's printf; %s takes a TCHAR string, as the engine's does.
	template <typename... ArgTypes>
	static FString Printf(const TCHAR* Format, ArgTypes... Args)
	{
		const FPrintfArg Packed[] = {FPrintfArg(Args)..., FPrintfArg(0)};
		return PrintfImpl(Format, Packed, static_cast<int32>(sizeof...(Args)));
	}
	static FString PrintfImpl(const TCHAR* Format, const FPrintfArg* Args, int32 NumArgs);

	SIZE_T GetAllocatedSize() const { return Data.capacity() > 7 ? (Data.capacity() + 1) * sizeof(TCHAR) : 0; }

	auto begin() const { return Data.begin(); }
	auto end() const { return Data.end(); }

private:
	explicit FString(std::u16string Text) : Data(std::move(Text)) {}

	std::u16string Data;
};

namespace UE::String
{
// FNV-1a over the lower-cased code units: the hash of a string key, whatever holds the characters.
inline uint32 HashIgnoreCase(const TCHAR* Data, int32 Length)
{
	uint32 Hash = 2166136261u;
	for (int32 Index = 0; Index < Length; ++Index)
	{
		Hash = (Hash ^ TChar::ToLower(Data[Index])) * 16777619u;
	}
	return Hash;
}
} // namespace UE::String

// Case-insensitive, to agree with operator==.
inline uint32 GetTypeHash(const FString& String)
{
	return UE::String::HashIgnoreCase(*String, String.Len());
}

template <>
struct std::hash<FString>
{
	size_t operator()(const FString& String) const { return GetTypeHash(String); }
};
