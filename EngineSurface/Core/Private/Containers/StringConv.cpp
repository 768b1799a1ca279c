#include "Containers/StringConv.h"
#include "Headless/Utf8String.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace UE::String
{
namespace
{
constexpr char16_t ReplacementChar = 0xFFFD;

char16_t* PutCodePoint(char16_t* Write, uint32 CodePoint)
{
	if (CodePoint < 0x10000)
	{
		*Write++ = static_cast<char16_t>(CodePoint);
		return Write;
	}
	CodePoint -= 0x10000;
	*Write++ = static_cast<char16_t>(0xD800 + (CodePoint >> 10));
	*Write++ = static_cast<char16_t>(0xDC00 + (CodePoint & 0x3FF));
	return Write;
}

char* PutUtf8(char* Write, uint32 CodePoint)
{
	if (CodePoint < 0x80)
	{
		*Write++ = static_cast<char>(CodePoint);
	}
	else if (CodePoint < 0x800)
	{
		*Write++ = static_cast<char>(0xC0 | (CodePoint >> 6));
		*Write++ = static_cast<char>(0x80 | (CodePoint & 0x3F));
	}
	else if (CodePoint < 0x10000)
	{
		*Write++ = static_cast<char>(0xE0 | (CodePoint >> 12));
		*Write++ = static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
		*Write++ = static_cast<char>(0x80 | (CodePoint & 0x3F));
	}
	else
	{
		*Write++ = static_cast<char>(0xF0 | (CodePoint >> 18));
		*Write++ = static_cast<char>(0x80 | ((CodePoint >> 12) & 0x3F));
		*Write++ = static_cast<char>(0x80 | ((CodePoint >> 6) & 0x3F));
		*Write++ = static_cast<char>(0x80 | (CodePoint & 0x3F));
	}
	return Write;
}

// Copies the leading ASCII units of Data to Out. A word of eight bytes at a time while none of its units has a bit
// above the lowest seven; the fixed count lets the compiler convert them together.
template <typename FromType, typename ToType>
size_t CopyLeadingAscii(const FromType* Data, size_t Length, ToType* Out)
{
	using FUnit = std::make_unsigned_t<FromType>;
	constexpr uint64 NotAscii = sizeof(FromType) == 1 ? 0x8080808080808080ull : 0xFF80FF80FF80FF80ull;
	constexpr size_t PerWord = 8 / sizeof(FromType);
	size_t Index = 0;
	for (uint64 Word = 0; Index + PerWord <= Length; Index += PerWord)
	{
		std::memcpy(&Word, Data + Index, 8);
		if (Word & NotAscii)
		{
			break;
		}
		for (size_t Unit = 0; Unit < PerWord; ++Unit)
		{
			Out[Index + Unit] = static_cast<ToType>(static_cast<FUnit>(Data[Index + Unit]));
		}
	}
	for (; Index < Length && static_cast<FUnit>(Data[Index]) < 0x80; ++Index)
	{
		Out[Index] = static_cast<ToType>(static_cast<FUnit>(Data[Index]));
	}
	return Index;
}
} // namespace

size_t WidenAscii(const char* Data, size_t Length, char16_t* Out)
{
	return CopyLeadingAscii(Data, Length, Out);
}

size_t NarrowAscii(const char16_t* Data, size_t Length, char* Out)
{
	return CopyLeadingAscii(Data, Length, Out);
}

std::u16string Utf8ToUtf16(const char* Data, size_t Length)
{
	// Never more units than bytes: written in place, then cut to what was written.
	std::u16string Out(Length, u'\0');
	char16_t* Write = Out.data();
	const auto* Bytes = reinterpret_cast<const unsigned char*>(Data);
	size_t Index = 0;
	while (Index < Length)
	{
		const unsigned char Lead = Bytes[Index];
		if (Lead < 0x80)
		{
			const size_t Ascii = WidenAscii(Data + Index, Length - Index, Write);
			Index += Ascii;
			Write += Ascii;
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
			*Write++ = ReplacementChar;
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
			*Write++ = ReplacementChar;
			Index = bValid ? Next : Index + 1;
			continue;
		}
		Write = PutCodePoint(Write, CodePoint);
		Index = Next;
	}
	Out.resize(size_t(Write - Out.data()));
	return Out;
}

std::string Utf16ToUtf8(const char16_t* Data, size_t Length)
{
	// Sized for ASCII and grown when other characters need more, so that a large text is not given three times room.
	std::string Out(Length, '\0');
	size_t Used = 0;
	const auto Room = [&Out, &Used](size_t Needed)
	{
		if (Out.size() - Used < Needed)
		{
			Out.resize(std::max(Out.size() + Out.size() / 2, Used + Needed));
		}
	};
	for (size_t Index = 0; Index < Length; ++Index)
	{
		const char16_t Unit = Data[Index];
		if (Unit < 0x80)
		{
			Room(Length - Index);
			const size_t Ascii = NarrowAscii(Data + Index, Length - Index, Out.data() + Used);
			Used += Ascii;
			Index += Ascii - 1;
			continue;
		}
		uint32 CodePoint = Unit;
		if (Unit >= 0xD800 && Unit <= 0xDBFF && Index + 1 < Length && Data[Index + 1] >= 0xDC00 &&
		    Data[Index + 1] <= 0xDFFF)
		{
			CodePoint = 0x10000 + ((uint32(Unit) - 0xD800) << 10) + (uint32(Data[Index + 1]) - 0xDC00);
			++Index;
		}
		else if (Unit >= 0xD800 && Unit <= 0xDFFF)
		{
			CodePoint = ReplacementChar;
		}
		Room(4);
		Used = size_t(PutUtf8(Out.data() + Used, CodePoint) - Out.data());
	}
	Out.resize(Used);
	return Out;
}
} // namespace UE::String
