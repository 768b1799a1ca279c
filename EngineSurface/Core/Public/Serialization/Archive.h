#pragma once

#include "HAL/Platform.h"

// A stream of bytes to read (or write) in order. Reading past the end, or a read the backing storage fails, sets the
// error flag, which stays set; what was not read is left as it was.
class CORE_API FArchive
{
public:
	FArchive() = default;
	FArchive(const FArchive&) = delete;
	FArchive& operator=(const FArchive&) = delete;
	virtual ~FArchive() = default;

	// Reads (or writes) Length bytes at the current position and moves past them.
	virtual void Serialize(void* V, int64 Length) {}
	// The current position, which Seek can return to; -1 when there is no backing storage.
	virtual int64 Tell() { return INDEX_NONE; }
	// The size of the backing storage; -1 when there is none.
	virtual int64 TotalSize() { return INDEX_NONE; }
	// Does nothing when there is no backing storage.
	virtual void Seek(int64 InPos) {}
	// True once every byte of the backing storage has been read.
	bool AtEnd()
	{
		const int64 Pos = Tell();
		return Pos != INDEX_NONE && Pos >= TotalSize();
	}
	// Releases the backing storage; false, and the error flag set, when that failed.
	virtual bool Close() { return !bArIsError; }

	bool IsLoading() const { return bArIsLoading; }
	bool IsError() const { return bArIsError; }
	void SetError() { bArIsError = true; }

protected:
	bool bArIsLoading = false;
	bool bArIsError = false;
};
