#pragma once

#include "Containers/UnrealString.h"

enum EName
{
	NAME_None = 0
};

// An interned, case-insensitive name that keeps the spelling it was first made with, as the engine's does. As in
// the engine, a trailing "_N" (digits, no leading zero) is kept apart as a number, so the names of many objects of
// one class ("Node_1", "Node_2", ...) share one entry of the name table instead of each adding one.
class CORE_API FName
{
public:
	FName() = default;
	FName(EName) {}
	FName(const TCHAR* Name);
	FName(const FString& Name);
	FName(const ANSICHAR* Name) : FName(FString(Name)) {}

	FString ToString() const;
	bool IsNone() const { return Index == 0 && Number == 0; }
	bool IsValid() const { return true; }
	uint32 GetComparisonIndex() const { return Index; }
	// The trailing number plus one; 0 for a name without one.
	int32 GetNumber() const { return Number; }

	bool operator==(const FName& Other) const { return Index == Other.Index && Number == Other.Number; }
	bool operator!=(const FName& Other) const { return !(*this == Other); }
	bool operator==(EName) const { return Index == 0 && Number == 0; }
	bool IsEqual(const FName& Other) const { return *this == Other; }
	bool LexicalLess(const FName& Other) const { return ToString() < Other.ToString(); }

private:
	uint32 Index = 0;
	int32 Number = 0;
};

inline uint32 GetTypeHash(const FName& Name)
{
	return Name.GetComparisonIndex() ^ (uint32(Name.GetNumber()) * 0x9E3779B9u);
}
