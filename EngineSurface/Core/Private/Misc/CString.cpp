#include "Misc/CString.h"

#include "Containers/StringConv.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

bool TChar::IsWhitespace(TCHAR C)
{
	return C == u' ' || C == u'\t' || C == u'\n' || C == u'\r' || C == u'\v' || C == u'\f' || C == 0x00A0 ||
	       C == 0x3000 || (C >= 0x2000 && C <= 0x200A) || C == 0x2028 || C == 0x2029 || C == 0x202F || C == 0x205F ||
	       C == 0x1680 || C == 0x0085;
}

int32 FCString::Strlen(const TCHAR* String)
{
	int32 Length = 0;
	while (String && String[Length])
	{
		++Length;
	}
	return Length;
}

int32 FCString::Strcmp(const TCHAR* A, const TCHAR* B)
{
	for (;; ++A, ++B)
	{
		if (*A != *B || *A == 0)
		{
			return *A < *B ? -1 : (*A > *B ? 1 : 0);
		}
	}
}

int32 FCString::Stricmp(const TCHAR* A, const TCHAR* B)
{
	for (;; ++A, ++B)
	{
		const TCHAR LA = TChar::ToLower(*A);
		const TCHAR LB = TChar::ToLower(*B);
		if (LA != LB || LA == 0)
		{
			return LA < LB ? -1 : (LA > LB ? 1 : 0);
		}
	}
}

namespace
{
// Narrows the ASCII prefix that a number could be made of; the C runtime does the reading.
std::string NumericPrefix(const TCHAR* String)
{
	std::string Narrow;
	if (!String)
	{
		return Narrow;
	}
	for (const TCHAR* Cursor = String; *Cursor && *Cursor < 0x80; ++Cursor)
	{
		Narrow.push_back(static_cast<char>(*Cursor));
		if (Narrow.size() > 400)
		{
			break;
		}
	}
	return Narrow;
}
} // namespace

int32 FCString::Atoi(const TCHAR* String)
{
	const int64 Value = Atoi64(String);
	return Value > INT32_MAX ? INT32_MAX : (Value < INT32_MIN ? INT32_MIN : int32(Value));
}

int64 FCString::Atoi64(const TCHAR* String)
{
	const std::string Narrow = NumericPrefix(String);
	errno = 0;
	return std::strtoll(Narrow.c_str(), nullptr, 10);
}

float FCString::Atof(const TCHAR* String)
{
	return static_cast<float>(Atod(String));
}

double FCString::Atod(const TCHAR* String)
{
	const std::string Narrow = NumericPrefix(String);
	return std::strtod(Narrow.c_str(), nullptr);
}

int64 FCString::Strtoi64(const TCHAR* String, const TCHAR** End, int32 Base)
{
	const std::string Narrow = NumericPrefix(String);
	char* NarrowEnd = nullptr;
	const long long Value = std::strtoll(Narrow.c_str(), &NarrowEnd, Base);
	if (End)
	{
		*End = String + (NarrowEnd - Narrow.c_str());
	}
	return Value;
}

bool FCString::IsNumeric(const TCHAR* String)
{
	if (!String || !*String)
	{
		return false;
	}
	const TCHAR* Cursor = String;
	if (*Cursor == u'-' || *Cursor == u'+')
	{
		++Cursor;
	}
	bool bDigits = false;
	bool bDot = false;
	for (; *Cursor; ++Cursor)
	{
		if (TChar::IsDigit(*Cursor))
		{
			bDigits = true;
		}
		else if (*Cursor == u'.' && !bDot)
		{
			bDot = true;
		}
		else
		{
			return false;
		}
	}
	return bDigits;
}
