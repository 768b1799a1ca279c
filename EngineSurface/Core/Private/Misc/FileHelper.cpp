#include "Misc/FileHelper.h"
#include "Headless/Utf8String.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace
{
bool ReadBytes(const TCHAR* Filename, std::string& OutBytes)
{
	std::error_code Error;
	const fs::path Path(ToUtf8(FString(Filename)));
	if (!fs::is_regular_file(Path, Error))
	{
		return false;
	}
	std::ifstream Stream(Path, std::ios::binary);
	if (!Stream)
	{
		return false;
	}
	OutBytes.assign(std::istreambuf_iterator<char>(Stream), std::istreambuf_iterator<char>());
	return !Stream.bad();
}

bool WriteBytes(const TCHAR* Filename, const char* Data, size_t Size)
{
	const fs::path Path(ToUtf8(FString(Filename)));
	if (Path.empty())
	{
		return false;
	}
	std::error_code Error;
	if (Path.has_parent_path())
	{
		fs::create_directories(Path.parent_path(), Error);
	}
	std::ofstream Stream(Path, std::ios::binary | std::ios::trunc);
	if (!Stream)
	{
		return false;
	}
	Stream.write(Data, std::streamsize(Size));
	Stream.close();
	return !Stream.fail();
}

std::u16string DecodeUtf16(const std::string& Bytes, size_t Offset, bool bBigEndian)
{
	std::u16string Units;
	for (size_t Index = Offset; Index + 1 < Bytes.size(); Index += 2)
	{
		const uint16 First = uint8(Bytes[Index]);
		const uint16 Second = uint8(Bytes[Index + 1]);
		Units.push_back(char16_t(bBigEndian ? (First << 8) | Second : (Second << 8) | First));
	}
	return Units;
}

FString ToFString(const std::u16string& Units)
{
	return FString::ConstructFromPtrSize(Units.data(), static_cast<int32>(Units.size()));
}
} // namespace

bool FFileHelper::LoadFileToString(FString& Result, const TCHAR* Filename)
{
	std::string Bytes;
	if (!ReadBytes(Filename, Bytes))
	{
		return false;
	}
	BufferToString(Result, reinterpret_cast<const uint8*>(Bytes.data()), int32(Bytes.size()));
	return true;
}

void FFileHelper::BufferToString(FString& Result, const uint8* Buffer, int32 Size)
{
	const std::string Bytes(reinterpret_cast<const char*>(Buffer), size_t(Size > 0 ? Size : 0));
	const auto StartsWith = [&Bytes](const char* Mark, size_t Length)
	{ return Bytes.compare(0, Length, Mark, Length) == 0; };
	if (StartsWith("\xFF\xFE", 2))
	{
		Result = ToFString(DecodeUtf16(Bytes, 2, false));
	}
	else if (StartsWith("\xFE\xFF", 2))
	{
		Result = ToFString(DecodeUtf16(Bytes, 2, true));
	}
	else
	{
		const size_t Offset = StartsWith("\xEF\xBB\xBF", 3) ? 3 : 0;
		Result = ToFString(UE::String::Utf8ToUtf16(Bytes.data() + Offset, Bytes.size() - Offset));
	}
}

bool FFileHelper::LoadFileToArray(TArray<uint8>& Result, const TCHAR* Filename)
{
	std::string Bytes;
	if (!ReadBytes(Filename, Bytes))
	{
		return false;
	}
	Result = TArray<uint8>(reinterpret_cast<const uint8*>(Bytes.data()), int32(Bytes.size()));
	return true;
}

bool FFileHelper::SaveStringToFile(const FString& String, const TCHAR* Filename, EEncodingOptions EncodingOptions)
{
	std::string Bytes;
	if (EncodingOptions == EEncodingOptions::ForceUnicode)
	{
		Bytes = "\xFF\xFE";
		for (TCHAR Unit : String)
		{
			Bytes.push_back(char(Unit & 0xFF));
			Bytes.push_back(char(Unit >> 8));
		}
	}
	else
	{
		if (EncodingOptions == EEncodingOptions::ForceUTF8)
		{
			Bytes = "\xEF\xBB\xBF";
		}
		Bytes += ToUtf8(String);
	}
	return WriteBytes(Filename, Bytes.data(), Bytes.size());
}

bool FFileHelper::SaveArrayToFile(const TArray<uint8>& Array, const TCHAR* Filename)
{
	return WriteBytes(Filename, reinterpret_cast<const char*>(Array.GetData()), size_t(Array.Num()));
}
