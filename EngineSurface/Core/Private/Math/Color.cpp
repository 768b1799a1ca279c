#include "Math/Color.h"

#include <array>
#include <cmath>

namespace
{
// The sRGB decoding of every byte value, computed once.
const std::array<float, 256>& SRGBToLinearTable()
{
	static const std::array<float, 256> Table = []
	{
		std::array<float, 256> Values{};
		for (int32 Index = 0; Index < 256; ++Index)
		{
			const double Encoded = Index / 255.0;
			Values[size_t(Index)] =
			    float(Encoded <= 0.04045 ? Encoded / 12.92 : std::pow((Encoded + 0.055) / 1.055, 2.4));
		}
		return Values;
	}();
	return Table;
}

uint8 QuantiseLinear(float Value)
{
	return uint8(FMath::RoundToInt32(double(FMath::Clamp(Value, 0.0f, 1.0f)) * 255.0));
}

uint8 QuantiseSRGB(float Value)
{
	const double Linear = FMath::Clamp(double(Value), 0.0, 1.0);
	const double Encoded = Linear <= 0.0031308 ? Linear * 12.92 : 1.055 * std::pow(Linear, 1.0 / 2.4) - 0.055;
	return uint8(FMath::Clamp(FMath::RoundToInt32(Encoded * 255.0), 0, 255));
}
} // namespace

const FLinearColor FLinearColor::White(1.0f, 1.0f, 1.0f);
const FLinearColor FLinearColor::Gray(0.5f, 0.5f, 0.5f);
const FLinearColor FLinearColor::Black(0.0f, 0.0f, 0.0f);
const FLinearColor FLinearColor::Transparent(0.0f, 0.0f, 0.0f, 0.0f);
const FLinearColor FLinearColor::Red(1.0f, 0.0f, 0.0f);
const FLinearColor FLinearColor::Green(0.0f, 1.0f, 0.0f);
const FLinearColor FLinearColor::Blue(0.0f, 0.0f, 1.0f);
const FLinearColor FLinearColor::Yellow(1.0f, 1.0f, 0.0f);

const FColor FColor::White(255, 255, 255);
const FColor FColor::Black(0, 0, 0);
const FColor FColor::Transparent(0, 0, 0, 0);
const FColor FColor::Red(255, 0, 0);
const FColor FColor::Green(0, 255, 0);
const FColor FColor::Blue(0, 0, 255);
const FColor FColor::Yellow(255, 255, 0);
const FColor FColor::Cyan(0, 255, 255);
const FColor FColor::Magenta(255, 0, 255);
const FColor FColor::Orange(243, 156, 18);

FLinearColor::FLinearColor(const FColor& Color)
    : R(SRGBToLinearTable()[Color.R]), G(SRGBToLinearTable()[Color.G]), B(SRGBToLinearTable()[Color.B]),
      A(float(Color.A) / 255.0f)
{
}

FLinearColor FLinearColor::FromSRGBColor(const FColor& Color)
{
	return FLinearColor(Color);
}

FColor FLinearColor::ToFColorSRGB() const
{
	return FColor(QuantiseSRGB(R), QuantiseSRGB(G), QuantiseSRGB(B), QuantiseLinear(A));
}

FColor FLinearColor::ToFColor(bool bSRGB) const
{
	return bSRGB ? ToFColorSRGB() : FColor(*this);
}

FString FLinearColor::ToString() const
{
	return FString::Printf(TEXT("(R=%f,G=%f,B=%f,A=%f)"), R, G, B, A);
}

FColor::FColor(const FLinearColor& Color)
    : R(QuantiseLinear(Color.R)), G(QuantiseLinear(Color.G)), B(QuantiseLinear(Color.B)), A(QuantiseLinear(Color.A))
{
}

FColor FColor::FromHex(const FString& HexString)
{
	const int32 Start = !HexString.IsEmpty() && HexString[0] == u'#' ? 1 : 0;
	const int32 Digits = HexString.Len() - Start;
	if (Digits != 3 && Digits != 6 && Digits != 8)
	{
		return FColor(0, 0, 0, 0);
	}
	int32 Values[8] = {};
	for (int32 Index = 0; Index < Digits; ++Index)
	{
		Values[Index] = TChar::HexDigitValue(HexString[Start + Index]);
		if (Values[Index] < 0)
		{
			return FColor(0, 0, 0, 0);
		}
	}
	if (Digits == 3)
	{
		return FColor(uint8(Values[0] * 17), uint8(Values[1] * 17), uint8(Values[2] * 17));
	}
	const auto Byte = [&Values](int32 Pair) { return uint8(Values[Pair * 2] * 16 + Values[Pair * 2 + 1]); };
	return FColor(Byte(0), Byte(1), Byte(2), Digits == 8 ? Byte(3) : uint8(255));
}

FString FColor::ToHex() const
{
	return FString::Printf(TEXT("%02X%02X%02X%02X"), R, G, B, A);
}

FString FColor::ToString() const
{
	return FString::Printf(TEXT("(R=%d,G=%d,B=%d,A=%d)"), R, G, B, A);
}
