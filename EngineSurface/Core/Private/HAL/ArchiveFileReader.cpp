#include "ArchiveFileReader.h"

FArchiveFileReader::FArchiveFileReader(std::FILE* InFile, int64 InSize) : File(InFile), Size(InSize)
{
	bArIsLoading = true;
}

FArchiveFileReader::~FArchiveFileReader()
{
	Close();
}

void FArchiveFileReader::Serialize(void* V, int64 Length)
{
	if (Length <= 0 || IsError())
	{
		return;
	}
	if (!File || Offset + Length > Size)
	{
		SetError();
		return;
	}
	const size_t Read = std::fread(V, 1, size_t(Length), File);
	Offset += int64(Read);
	if (Read != size_t(Length))
	{
		SetError();
	}
}

void FArchiveFileReader::Seek(int64 InPos)
{
	if (!File || InPos < 0 || InPos > Size || std::fseek(File, long(InPos), SEEK_SET) != 0)
	{
		SetError();
		return;
	}
	Offset = InPos;
}

bool FArchiveFileReader::Close()
{
	if (File && std::fclose(File) != 0)
	{
		SetError();
	}
	File = nullptr;
	return !IsError();
}
