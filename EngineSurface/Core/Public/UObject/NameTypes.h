#pragma once

#include "Containers/UnrealString.h"

enum EName
{
	NAME_None = 0
};

// An interned, case-insensitive name that keeps the spelling it was first made with, as the engine's does.
class CORE_API FName
{
public:
	FName() = default;
	FName(EName) {}
	FName(const TCHAR* Name);
	FName(const FString& Name);
	FName(const ANSICHAR* Name) : FName(FString(Name)) {}

	FString ToString() const;
	bool IsNone() const { return Index == 0; }
	bool IsValid() const { return true; }
	uint32 GetComparisonIndex() const { return Index; }

	bool operator==(const FName& Other) const { return Index == Other.Index; }
	bool operator!=(const FName& Other) const { return Index != Other.Index; }
	bool operator==(EName) const { return Index == 0; }
	bool IsEqual(const FName& Other) const { return Index == Other.Index; }
	bool LexicalLess(const FName& Other) const { return ToString() < Other.ToString(); }

private:
	uint32 Index = 0;
};

inline uint32 GetTypeHash(const FName& Name)
{
	return Name.GetComparisonIndex();
}
