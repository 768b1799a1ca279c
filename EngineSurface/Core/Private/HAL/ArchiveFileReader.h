#pragma once

#include "Serialization/Archive.h"

#include <cstdio>

// The archive IFileManager::CreateFileReader hands out: the file's bytes through the C library's buffered reads.
class FArchiveFileReader : public FArchive
{
public:
	// Takes the open file; Size is its length when opened.
	FArchiveFileReader(std::FILE* InFile, int64 InSize);
	virtual ~FArchiveFileReader() override;

	virtual void Serialize(void* V, int64 Length) override;
	virtual int64 Tell() override { return Offset; }
	virtual int64 TotalSize() override { return Size; }
	virtual void Seek(int64 InPos) override;
	virtual bool Close() override;

private:
	std::FILE* File = nullptr;
	int64 Size = 0;
	int64 Offset = 0;
};
