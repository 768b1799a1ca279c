#pragma once

#include "Containers/Array.h"
#include "Serialization/Archive.h"

// Reads the bytes of an array the caller keeps alive while the reader is used.
class CORE_API FMemoryReader : public FArchive
{
public:
	explicit FMemoryReader(const TArray<uint8>& InBytes, bool bIsPersistent = false);

	virtual void Serialize(void* V, int64 Length) override;
	virtual int64 Tell() override { return Offset; }
	virtual int64 TotalSize() override { return Bytes.Num(); }
	virtual void Seek(int64 InPos) override { Offset = InPos; }

private:
	const TArray<uint8>& Bytes;
	int64 Offset = 0;
};
