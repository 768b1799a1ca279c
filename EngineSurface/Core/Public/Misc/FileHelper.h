#pragma once

#include "HAL/Platform.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"

// Whole-file reads and writes.
struct CORE_API FFileHelper
{
	enum class EEncodingOptions
	{
		AutoDetect,
		ForceAnsi,
		ForceUnicode,
		ForceUTF8,
		ForceUTF8WithoutBOM
	};

	// Reads a text file: a UTF-8 or UTF-16 (either byte order) byte-order mark chooses the decoding, UTF-8
	// otherwise; malformed sequences become U+FFFD. False when the file cannot be read.
	static bool LoadFileToString(FString& Result, const TCHAR* Filename);
	// Decodes bytes read from a text file the way LoadFileToString does.
	static void BufferToString(FString& Result, const uint8* Buffer, int32 Size);
	static bool LoadFileToArray(TArray<uint8>& Result, const TCHAR* Filename);
	// AutoDetect, ForceAnsi and ForceUTF8WithoutBOM write UTF-8 without a byte-order mark; ForceUTF8 writes one;
	// ForceUnicode writes UTF-16 little-endian after its mark. Missing folders are made. False on failure.
	static bool SaveStringToFile(const FString& String, const TCHAR* Filename,
	                             EEncodingOptions EncodingOptions = EEncodingOptions::AutoDetect);
	static bool SaveArrayToFile(const TArray<uint8>& Array, const TCHAR* Filename);
};
