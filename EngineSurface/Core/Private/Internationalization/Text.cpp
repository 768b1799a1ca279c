#include "Internationalization/Text.h"

#include "Math/NumericLimits.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace
{
// Inserts ',' between groups of three digits of an unsigned digit run, from four digits on.
std::string GroupDigits(const std::string& Digits)
{
	if (Digits.size() < 4)
	{
		return Digits;
	}
	std::string Grouped;
	for (size_t Index = 0; Index < Digits.size(); ++Index)
	{
		if (Index > 0 && (Digits.size() - Index) % 3 == 0)
		{
			Grouped.push_back(',');
		}
		Grouped.push_back(Digits[Index]);
	}
	return Grouped;
}

FString FormatUnsigned(uint64 Magnitude, bool bNegative)
{
	// Appended, not prefixed: g++ 12 warns wrongly (-Wrestrict) about a literal put before a temporary string.
	std::string Text = bNegative ? "-" : "";
	Text += GroupDigits(std::to_string(Magnitude));
	return FString(Text.c_str());
}

FString FormatSigned(int64 Value)
{
	// The magnitude of MIN_int64 only fits in an unsigned type.
	const uint64 Magnitude = Value < 0 ? uint64(0) - uint64(Value) : uint64(Value);
	return FormatUnsigned(Magnitude, Value < 0);
}

FString FormatDouble(double Value)
{
	if (std::isnan(Value))
	{
		return FString(TEXT("NaN"));
	}
	if (std::isinf(Value))
	{
		return FString(Value < 0 ? TEXT("-Infinity") : TEXT("Infinity"));
	}
	char Buffer[400];
	std::snprintf(Buffer, sizeof(Buffer), "%.3f", std::fabs(Value));
	std::string Text = Buffer;
	const size_t Dot = Text.find('.');
	std::string Whole = Text.substr(0, Dot);
	std::string Fraction = Text.substr(Dot + 1);
	while (!Fraction.empty() && Fraction.back() == '0')
	{
		Fraction.pop_back();
	}
	// A value that rounds to zero is shown without a sign.
	const bool bNegative = Value < 0 && (Whole != "0" || !Fraction.empty());
	std::string Result = bNegative ? "-" : "";
	Result += GroupDigits(Whole);
	if (!Fraction.empty())
	{
		Result += '.';
		Result += Fraction;
	}
	return FString(Result.c_str());
}
} // namespace

FText::FText()
{
	*this = GetEmpty();
}

const FText& FText::GetEmpty()
{
	static const FText Empty(std::make_shared<const FTextData>());
	return Empty;
}

FText FText::FromString(const FString& String)
{
	return FText(std::make_shared<const FTextData>(FTextData{String, FString(), FString(), FString(), false}));
}

FText FText::FromString(FString&& String)
{
	return FText(
	    std::make_shared<const FTextData>(FTextData{std::move(String), FString(), FString(), FString(), false}));
}

FText FText::FromName(const FName& Name)
{
	return FromString(Name.ToString());
}

FText FText::AsLocalizable_Advanced(const TCHAR* Namespace, const TCHAR* Key, const TCHAR* Source)
{
	return FText(std::make_shared<const FTextData>(
	    FTextData{FString(Source), FString(Namespace), FString(Key), FString(Source), true}));
}

FText FText::AsNumber(int32 Value)
{
	return FromString(FormatSigned(Value));
}

FText FText::AsNumber(int64 Value)
{
	return FromString(FormatSigned(Value));
}

FText FText::AsNumber(uint32 Value)
{
	return FromString(FormatUnsigned(Value, false));
}

FText FText::AsNumber(uint64 Value)
{
	return FromString(FormatUnsigned(Value, false));
}

FText FText::AsNumber(float Value)
{
	return FromString(FormatDouble(Value));
}

FText FText::AsNumber(double Value)
{
	return FromString(FormatDouble(Value));
}

FText FText::Format(const FText& Pattern, const FFormatOrderedArguments& Arguments)
{
	const FString& Source = Pattern.ToString();
	const int32 Length = Source.Len();
	FString Result;
	Result.Reserve(Length);
	for (int32 Index = 0; Index < Length; ++Index)
	{
		const TCHAR C = Source[Index];
		if (C == u'`' && Index + 1 < Length &&
		    (Source[Index + 1] == u'{' || Source[Index + 1] == u'}' || Source[Index + 1] == u'`'))
		{
			Result.AppendChar(Source[++Index]);
			continue;
		}
		if (C == u'{')
		{
			int32 End = Index + 1;
			int64 ArgumentIndex = 0;
			while (End < Length && TChar::IsDigit(Source[End]) && ArgumentIndex <= MAX_int32)
			{
				ArgumentIndex = ArgumentIndex * 10 + (Source[End] - u'0');
				++End;
			}
			if (End > Index + 1 && End < Length && Source[End] == u'}' && ArgumentIndex < Arguments.Num())
			{
				Result += Arguments[int32(ArgumentIndex)].ToFormattedString();
				Index = End;
				continue;
			}
		}
		Result.AppendChar(C);
	}
	return FromString(std::move(Result));
}

namespace
{
FString ChangeCase(const FString& Text, bool bLower)
{
	icu::UnicodeString Unicode(false, reinterpret_cast<const UChar*>(*Text), Text.Len());
	Unicode = bLower ? Unicode.toLower(icu::Locale::getRoot()) : Unicode.toUpper(icu::Locale::getRoot());
	return FString::ConstructFromPtrSize(reinterpret_cast<const TCHAR*>(Unicode.getBuffer()), Unicode.length());
}
} // namespace

FText FText::ToLower() const
{
	return FromString(ChangeCase(ToString(), true));
}

FText FText::ToUpper() const
{
	return FromString(ChangeCase(ToString(), false));
}

bool FText::IsEmptyOrWhitespace() const
{
	for (TCHAR C : ToString())
	{
		if (!TChar::IsWhitespace(C))
		{
			return false;
		}
	}
	return true;
}

bool FText::EqualTo(const FText& Other, ETextComparisonLevel::Type Level) const
{
	const bool bIgnoreCase = Level == ETextComparisonLevel::Primary || Level == ETextComparisonLevel::Secondary;
	return ToString().Equals(Other.ToString(), bIgnoreCase ? ESearchCase::IgnoreCase : ESearchCase::CaseSensitive);
}

FString FFormatArgumentValue::ToFormattedString() const
{
	switch (Kind)
	{
		case EKind::Signed:
			return FText::AsNumber(Signed).ToString();
		case EKind::Unsigned:
			return FText::AsNumber(Unsigned).ToString();
		case EKind::Float:
			return FText::AsNumber(float(Double)).ToString();
		case EKind::Double:
			return FText::AsNumber(Double).ToString();
		case EKind::Text:
			return Text.ToString();
	}
	return FString();
}
