#include "Headless/Mp4MovieHeader.h"
#include "Headless/Utf8String.h"

#include <cstdio>

namespace
{
// Box headers walked before giving up, so that a malformed file cannot keep the reader busy.
constexpr int32 MaxBoxes = 4096;

struct FFile
{
	explicit FFile(const FString& Filename) : Handle(std::fopen(ToUtf8(Filename).c_str(), "rb")) {}
	~FFile()
	{
		if (Handle)
		{
			std::fclose(Handle);
		}
	}
	bool Seek(int64 Offset) { return std::fseek(Handle, long(Offset), SEEK_SET) == 0; }
	bool Read(uint8* Out, int32 Count) { return std::fread(Out, 1, size_t(Count), Handle) == size_t(Count); }
	int64 Size()
	{
		std::fseek(Handle, 0, SEEK_END);
		return int64(std::ftell(Handle));
	}
	std::FILE* Handle;
};

uint64 ReadBigEndian(const uint8* Bytes, int32 Count)
{
	uint64 Value = 0;
	for (int32 Index = 0; Index < Count; ++Index)
	{
		Value = (Value << 8) | Bytes[Index];
	}
	return Value;
}

// Finds the box of the given type among the boxes between Begin and End; returns its payload's range.
bool FindBox(FFile& File, int64 Begin, int64 End, const char* Type, int64& OutPayload, int64& OutEnd, int32& BoxBudget)
{
	int64 Offset = Begin;
	while (Offset + 8 <= End && BoxBudget-- > 0)
	{
		uint8 Header[16];
		if (!File.Seek(Offset) || !File.Read(Header, 8))
		{
			return false;
		}
		uint64 Size = ReadBigEndian(Header, 4);
		int64 HeaderSize = 8;
		if (Size == 1)
		{
			if (!File.Read(Header + 8, 8))
			{
				return false;
			}
			Size = ReadBigEndian(Header + 8, 8);
			HeaderSize = 16;
		}
		else if (Size == 0)
		{
			Size = uint64(End - Offset);
		}
		if (Size < uint64(HeaderSize) || Size > uint64(End - Offset))
		{
			return false;
		}
		if (Header[4] == uint8(Type[0]) && Header[5] == uint8(Type[1]) && Header[6] == uint8(Type[2]) &&
		    Header[7] == uint8(Type[3]))
		{
			OutPayload = Offset + HeaderSize;
			OutEnd = Offset + int64(Size);
			return true;
		}
		Offset += int64(Size);
	}
	return false;
}
} // namespace

bool FMp4MovieHeader::ReadDuration(const FString& Filename, FTimespan& OutDuration)
{
	FFile File(Filename);
	if (!File.Handle)
	{
		return false;
	}
	const int64 FileSize = File.Size();
	int32 BoxBudget = MaxBoxes;
	int64 MoovPayload = 0;
	int64 MoovEnd = 0;
	int64 MvhdPayload = 0;
	int64 MvhdEnd = 0;
	if (!FindBox(File, 0, FileSize, "moov", MoovPayload, MoovEnd, BoxBudget) ||
	    !FindBox(File, MoovPayload, MoovEnd, "mvhd", MvhdPayload, MvhdEnd, BoxBudget))
	{
		return false;
	}

	// Version 0: 32-bit creation and modification times and duration; version 1: 64-bit ones.
	uint8 Payload[32];
	if (!File.Seek(MvhdPayload) || MvhdEnd - MvhdPayload < 20 || !File.Read(Payload, 1))
	{
		return false;
	}
	const bool bVersion1 = Payload[0] == 1;
	const int32 Needed = bVersion1 ? 32 : 20;
	if (MvhdEnd - MvhdPayload < Needed || !File.Seek(MvhdPayload) || !File.Read(Payload, Needed))
	{
		return false;
	}
	const uint64 TimeScale = bVersion1 ? ReadBigEndian(Payload + 20, 4) : ReadBigEndian(Payload + 12, 4);
	const uint64 Duration = bVersion1 ? ReadBigEndian(Payload + 24, 8) : ReadBigEndian(Payload + 16, 4);
	// All ones is the format's "unknown duration".
	const uint64 Unknown = bVersion1 ? ~uint64(0) : uint64(0xffffffffu);
	if (TimeScale == 0 || Duration == 0 || Duration == Unknown)
	{
		return false;
	}
	// A duration shorter than half a tick (1 in a time scale of 0xFFFFFFFF) rounds to none.
	const FTimespan Length = FTimespan::FromSeconds(double(Duration) / double(TimeScale));
	if (Length.GetTicks() <= 0)
	{
		return false;
	}
	OutDuration = Length;
	return true;
}
