#include "Serialization/MemoryReader.h"

#include <cstring>

FMemoryReader::FMemoryReader(const TArray<uint8>& InBytes, bool bIsPersistent) : Bytes(InBytes)
{
	bArIsLoading = true;
}

void FMemoryReader::Serialize(void* V, int64 Length)
{
	if (Length <= 0 || IsError())
	{
		return;
	}
	if (Offset < 0 || Offset + Length > Bytes.Num())
	{
		SetError();
		return;
	}
	std::memcpy(V, Bytes.GetData() + Offset, size_t(Length));
	Offset += Length;
}
