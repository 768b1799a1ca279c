#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"
#include "Math/UnrealMathUtility.h"
#include "Templates/TypeHash.h"

struct FColor;

// A colour in linear space, one float per channel, alpha 1 for opaque.
struct CORE_API FLinearColor
{
	float R = 0.0f;
	float G = 0.0f;
	float B = 0.0f;
	float A = 0.0f;

	static const FLinearColor White;
	static const FLinearColor Gray;
	static const FLinearColor Black;
	static const FLinearColor Transparent;
	static const FLinearColor Red;
	static const FLinearColor Green;
	static const FLinearColor Blue;
	static const FLinearColor Yellow;

	constexpr FLinearColor() = default;
	constexpr FLinearColor(float InR, float InG, float InB, float InA = 1.0f) : R(InR), G(InG), B(InB), A(InA) {}
	// Colour channels through the sRGB-to-linear curve; alpha is byte / 255.
	FLinearColor(const FColor& Color);

	// Same as the converting constructor.
	static FLinearColor FromSRGBColor(const FColor& Color);
	// Back to bytes through the linear-to-sRGB curve, channels clamped to 0..1 and rounded.
	FColor ToFColorSRGB() const;
	// bSRGB chooses between ToFColorSRGB and plain quantisation of the clamped channels.
	FColor ToFColor(bool bSRGB) const;
	FLinearColor CopyWithNewOpacity(float NewOpacity) const { return FLinearColor(R, G, B, NewOpacity); }
	FLinearColor GetClamped(float InMin = 0.0f, float InMax = 1.0f) const
	{
		return FLinearColor(FMath::Clamp(R, InMin, InMax), FMath::Clamp(G, InMin, InMax), FMath::Clamp(B, InMin, InMax),
		                    FMath::Clamp(A, InMin, InMax));
	}

	constexpr FLinearColor operator+(const FLinearColor& C) const { return {R + C.R, G + C.G, B + C.B, A + C.A}; }
	constexpr FLinearColor operator-(const FLinearColor& C) const { return {R - C.R, G - C.G, B - C.B, A - C.A}; }
	constexpr FLinearColor operator*(const FLinearColor& C) const { return {R * C.R, G * C.G, B * C.B, A * C.A}; }
	constexpr FLinearColor operator*(float Scale) const { return {R * Scale, G * Scale, B * Scale, A * Scale}; }
	constexpr FLinearColor operator/(float Scale) const { return {R / Scale, G / Scale, B / Scale, A / Scale}; }
	friend constexpr FLinearColor operator*(float Scale, const FLinearColor& C) { return C * Scale; }
	FLinearColor& operator+=(const FLinearColor& C) { return *this = *this + C; }
	FLinearColor& operator-=(const FLinearColor& C) { return *this = *this - C; }
	FLinearColor& operator*=(const FLinearColor& C) { return *this = *this * C; }
	FLinearColor& operator*=(float Scale) { return *this = *this * Scale; }

	// The engine's weighting of the channels, without alpha.
	constexpr float GetLuminance() const { return R * 0.3f + G * 0.59f + B * 0.11f; }

	constexpr bool operator==(const FLinearColor& C) const { return R == C.R && G == C.G && B == C.B && A == C.A; }
	constexpr bool operator!=(const FLinearColor& C) const { return !(*this == C); }
	// Every channel within Tolerance.
	bool Equals(const FLinearColor& C, float Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(R - C.R) <= Tolerance && FMath::Abs(G - C.G) <= Tolerance &&
		       FMath::Abs(B - C.B) <= Tolerance && FMath::Abs(A - C.A) <= Tolerance;
	}
	// "(R=1.000000,G=0.000000,B=0.000000,A=1.000000)".
	FString ToString() const;
};

// A colour as four bytes, as stored in textures and written in hexadecimal text.
struct CORE_API FColor
{
	uint8 R = 0;
	uint8 G = 0;
	uint8 B = 0;
	uint8 A = 0;

	static const FColor White;
	static const FColor Black;
	static const FColor Transparent;
	static const FColor Red;
	static const FColor Green;
	static const FColor Blue;
	static const FColor Yellow;
	static const FColor Cyan;
	static const FColor Magenta;
	static const FColor Orange;

	constexpr FColor() = default;
	constexpr FColor(uint8 InR, uint8 InG, uint8 InB, uint8 InA = 255) : R(InR), G(InG), B(InB), A(InA) {}
	// Quantises the clamped channels without any gamma conversion.
	explicit FColor(const FLinearColor& Color);

	// Reads "RGB", "RRGGBB" or "RRGGBBAA", each with an optional leading '#'; alpha is 255 when not given.
	// Any other text gives all four channels zero.
	static FColor FromHex(const FString& HexString);
	// Eight upper-case digits, red, green, blue, alpha, without '#'.
	FString ToHex() const;
	// "(R=254,G=3,B=2,A=255)".
	FString ToString() const;
	// The bytes divided by 255 with no gamma conversion.
	FLinearColor ReinterpretAsLinear() const { return FLinearColor(R / 255.0f, G / 255.0f, B / 255.0f, A / 255.0f); }
	FColor WithAlpha(uint8 Alpha) const { return FColor(R, G, B, Alpha); }
	uint32 ToPackedARGB() const { return (uint32(A) << 24) | (uint32(R) << 16) | (uint32(G) << 8) | uint32(B); }

	constexpr bool operator==(const FColor& C) const { return R == C.R && G == C.G && B == C.B && A == C.A; }
	constexpr bool operator!=(const FColor& C) const { return !(*this == C); }
};

inline uint32 GetTypeHash(const FColor& Color)
{
	return Color.ToPackedARGB();
}
