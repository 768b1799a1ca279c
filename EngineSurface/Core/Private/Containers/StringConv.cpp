#include "Containers/StringConv.h"

namespace UE::String
{
namespace
{
constexpr char16_t ReplacementChar = 0xFFFD;

void AppendCodePoint(std::u16string& Out, uint32 CodePoint)
{
	if (CodePoint < 0x10000)
	{
		Out.push_back(static_cast<char16_t>(CodePoint));
	}
	else
	{
		CodePoint -= 0x10000;
		Out.push_back(static_cast<char16_t>(0xD800 + (CodePoint >> 10)));
		Out.push_back(static_cast<char16_t>(0xDC00 + (CodePoint & 0x3FF)));
	}
}

void AppendUtf8(std::string& Out, uint32 CodePoint)
{
	if (CodePoint < 0x80)
	{
		Out.push_back(static_cast<char>(CodePoint));
	}
	else if (CodePoint < 0x800)
	{
		Out.push_back(static_cast<char>(0xC0 | (CodePoint >> 6)));
		Out.push_back(static_cast<char>(0x80 | (CodePoint & 0x3F)));
	}
	else if (CodePoint < 0x10000)
	{
		Out.push_back(static_cast<char>(0xE0 | (CodePoint >> 12)));
		Out.push_back(static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F)));
		Out.push_back(static_cast<char>(0x80 | (CodePoint & 0x3F)));
	}
	else
	{
		Out.push_back(static_cast<char>(0xF0 | (CodePoint >> 18)));
		Out.push_back(static_cast<char>(0x80 | ((CodePoint >> 12) & 0x3F)));
		Out.push_back(static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F)));
		Out.push_back(static_cast<char>(0x80 | (CodePoint & 0x3F)));
	}
}
} // namespace

std::u16string Utf8ToUtf16(const char* Data, size_t Length)
{
	std::u16string Out;
	Out.reserve(Length);
	const auto* Bytes = reinterpret_cast<const unsigned char*>(Data);
	size_t Index = 0;
	while (Index < Length)
	{
		const unsigned char Lead = Bytes[Index];
		if (Lead < 0x80)
		{
			Out.push_back(Lead);
			++Index;
			continue;
		}
		int Extra = 0;
		uint32 CodePoint = 0;
		uint32 Minimum = 0;
		if ((Lead & 0xE0) == 0xC0)
		{
			Extra = 1;
			CodePoint = Lead & 0x1F;
			Minimum = 0x80;
		}
		else if ((Lead & 0xF0) == 0xE0)
		{
			Extra = 2;
			CodePoint = Lead & 0x0F;
			Minimum = 0x800;
		}
		else if ((Lead & 0xF8) == 0xF0)
		{
			Extra = 3;
			CodePoint = Lead & 0x07;
			Minimum = 0x10000;
		}
		else
		{
			Out.push_back(ReplacementChar);
			++Index;
			continue;
		}
		bool bValid = Index + static_cast<size_t>(Extra) < Length;
		size_t Next = Index + 1;
		for (int Step = 0; bValid && Step < Extra; ++Step, ++Next)
		{
			if ((Bytes[Next] & 0xC0) != 0x80)
			{
				bValid = false;
				break;
			}
			CodePoint = (CodePoint << 6) | (Bytes[Next] & 0x3F);
		}
		if (!bValid || CodePoint < Minimum || CodePoint > 0x10FFFF || (CodePoint >= 0xD800 && CodePoint <= 0xDFFF))
		{
			Out.push_back(ReplacementChar);
			Index = bValid ? Next : Index + 1;
			continue;
		}
		AppendCodePoint(Out, CodePoint);
		Index = Next;
	}
	return Out;
}

std::string Utf16ToUtf8(const char16_t* Data, size_t Length)
{
	std::string Out;
	Out.reserve(Length);
	for (size_t Index = 0; Index < Length; ++Index)
	{
		const char16_t Unit = Data[Index];
		if (Unit >= 0xD800 && Unit <= 0xDBFF && Index + 1 < Length && Data[Index + 1] >= 0xDC00 &&
		    Data[Index + 1] <= 0xDFFF)
		{
			const uint32 CodePoint = 0x10000 + ((uint32(Unit) - 0xD800) << 10) + (uint32(Data[Index + 1]) - 0xDC00);
			AppendUtf8(Out, CodePoint);
			++Index;
		}
		else if (Unit >= 0xD800 && Unit <= 0xDFFF)
		{
			AppendUtf8(Out, ReplacementChar);
		}
		else
		{
			AppendUtf8(Out, Unit);
		}
	}
	return Out;
}
} // namespace UE::String
