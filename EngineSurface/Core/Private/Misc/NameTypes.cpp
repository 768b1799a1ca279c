#include "UObject/NameTypes.h"

#include <mutex>
#include <unordered_map>
#include <vector>

namespace
{
struct FNameTable
{
	std::mutex Lock;
	std::vector<FString> Spellings{FString(TEXT("None"))};
	std::unordered_map<std::u16string, uint32> ByFolded{{u"none", 0}};
};

FNameTable& GetNameTable()
{
	static FNameTable* Table = new FNameTable();
	return *Table;
}
} // namespace

namespace
{
// The length of Name without a trailing "_N" the engine keeps as a number, and that number plus one (0: none).
int32 SplitNumber(const FString& Name, int32& OutNumber)
{
	OutNumber = 0;
	const int32 Underscore = Name.Find(TEXT("_"), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	const int32 Digits = Name.Len() - Underscore - 1;
	// Ten digits may overflow an int32; a leading zero ("_01") would not read back the same.
	if (Underscore <= 0 || Digits < 1 || Digits > 9 || (Digits > 1 && Name[Underscore + 1] == TEXT('0')))
	{
		return Name.Len();
	}
	int32 Value = 0;
	for (int32 Index = Underscore + 1; Index < Name.Len(); ++Index)
	{
		if (Name[Index] < TEXT('0') || Name[Index] > TEXT('9'))
		{
			return Name.Len();
		}
		Value = Value * 10 + int32(Name[Index] - TEXT('0'));
	}
	OutNumber = Value + 1;
	return Underscore;
}
} // namespace

FName::FName(const FString& InName)
{
	if (InName.IsEmpty())
	{
		return;
	}
	const FString Name = InName.Left(SplitNumber(InName, Number));
	FNameTable& Table = GetNameTable();
	const FString Lower = Name.ToLower();
	const std::u16string Folded(*Lower, static_cast<size_t>(Lower.Len()));
	std::lock_guard<std::mutex> Guard(Table.Lock);
	const auto It = Table.ByFolded.find(Folded);
	if (It != Table.ByFolded.end())
	{
		Index = It->second;
		return;
	}
	Index = static_cast<uint32>(Table.Spellings.size());
	Table.Spellings.push_back(Name);
	Table.ByFolded.emplace(Folded, Index);
}

FName::FName(const TCHAR* Name) : FName(FString(Name)) {}

FString FName::ToString() const
{
	FNameTable& Table = GetNameTable();
	std::lock_guard<std::mutex> Guard(Table.Lock);
	return Number == 0 ? Table.Spellings[Index] : Table.Spellings[Index] + FString::Printf(TEXT("_%d"), Number - 1);
}
