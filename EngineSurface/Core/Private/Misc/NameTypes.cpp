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

FName::FName(const FString& Name)
{
	if (Name.IsEmpty())
	{
		return;
	}
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
	return Table.Spellings[Index];
}
