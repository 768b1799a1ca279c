#pragma once

#include "HAL/Platform.h"

#include <string>

namespace UE::String
{
// Decodes UTF-8; malformed sequences become U+FFFD.
CORE_API std::u16string Utf8ToUtf16(const char* Data, size_t Length);
// Encodes UTF-16; a lone surrogate becomes U+FFFD.
CORE_API std::string Utf16ToUtf8(const char16_t* Data, size_t Length);
} // namespace UE::String

class FTCHARToUTF8
{
public:
	explicit FTCHARToUTF8(const TCHAR* Source)
	{
		if (Source)
		{
			size_t Length = 0;
			while (Source[Length])
			{
				++Length;
			}
			Converted = UE::String::Utf16ToUtf8(Source, Length);
		}
	}
	FTCHARToUTF8(const TCHAR* Source, int32 Length) : Converted(UE::String::Utf16ToUtf8(Source, size_t(Length))) {}
	const ANSICHAR* Get() const { return Converted.c_str(); }
	int32 Length() const { return static_cast<int32>(Converted.size()); }

private:
	std::string Converted;
};

class FUTF8ToTCHAR
{
public:
	explicit FUTF8ToTCHAR(const ANSICHAR* Source)
	    : Converted(Source ? UE::String::Utf8ToUtf16(Source, std::char_traits<char>::length(Source)) : std::u16string())
	{
	}
	FUTF8ToTCHAR(const ANSICHAR* Source, int32 Length) : Converted(UE::String::Utf8ToUtf16(Source, size_t(Length))) {}
	const TCHAR* Get() const { return Converted.c_str(); }
	int32 Length() const { return static_cast<int32>(Converted.size()); }

private:
	std::u16string Converted;
};

#define TCHAR_TO_UTF8(Str) (FTCHARToUTF8(Str).Get())
#define UTF8_TO_TCHAR(Str) (FUTF8ToTCHAR(Str).Get())
#define TCHAR_TO_ANSI(Str) TCHAR_TO_UTF8(Str)
#define ANSI_TO_TCHAR(Str) UTF8_TO_TCHAR(Str)
