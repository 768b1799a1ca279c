#pragma once

#include "HAL/Platform.h"

namespace ESearchCase
{
enum Type
{
	CaseSensitive,
	IgnoreCase,
};
} // namespace ESearchCase

namespace ESearchDir
{
enum Type
{
	FromStart,
	FromEnd,
};
} // namespace ESearchDir

// Character classification. Case mapping covers ASCII only, which is what identifiers, hex digits and keys use.
struct CORE_API TChar
{
	static bool IsWhitespace(TCHAR C);
	static bool IsDigit(TCHAR C) { return C >= u'0' && C <= u'9'; }
	static bool IsHexDigit(TCHAR C) { return IsDigit(C) || (C >= u'a' && C <= u'f') || (C >= u'A' && C <= u'F'); }
	static bool IsAlpha(TCHAR C) { return (C >= u'a' && C <= u'z') || (C >= u'A' && C <= u'Z'); }
	// The value of a hexadecimal digit; -1 for any other character.
	static int32 HexDigitValue(TCHAR C)
	{
		return IsDigit(C)                 ? C - u'0'
		       : (C >= u'a' && C <= u'f') ? C - u'a' + 10
		       : (C >= u'A' && C <= u'F') ? C - u'A' + 10
		                                  : -1;
	}
	static TCHAR ToUpper(TCHAR C) { return (C >= u'a' && C <= u'z') ? TCHAR(C - 32) : C; }
	static TCHAR ToLower(TCHAR C) { return (C >= u'A' && C <= u'Z') ? TCHAR(C + 32) : C; }
	static bool IsHighSurrogate(TCHAR C) { return C >= 0xD800 && C <= 0xDBFF; }
	static bool IsLowSurrogate(TCHAR C) { return C >= 0xDC00 && C <= 0xDFFF; }
};

struct CORE_API FCString
{
	static int32 Strlen(const TCHAR* String);
	static int32 Strcmp(const TCHAR* A, const TCHAR* B);
	static int32 Stricmp(const TCHAR* A, const TCHAR* B);
	// Leading blanks skipped, then the longest prefix that reads as a number; 0 when there is none.
	static int32 Atoi(const TCHAR* String);
	static int64 Atoi64(const TCHAR* String);
	static float Atof(const TCHAR* String);
	static double Atod(const TCHAR* String);
	static int64 Strtoi64(const TCHAR* String, const TCHAR** End, int32 Base);
	static bool IsNumeric(const TCHAR* String);
};
