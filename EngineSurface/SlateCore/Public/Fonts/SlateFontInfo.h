#pragma once

#include "CoreMinimal.h"

class UObject;

// A line drawn around every glyph, under the glyph's fill. The headless fonts measure text without it, so an
// outline never changes a widget's size.
struct FFontOutlineSettings
{
	FFontOutlineSettings() = default;
	FFontOutlineSettings(int32 InOutlineSize, FLinearColor InColor = FLinearColor::Black)
	    : OutlineSize(InOutlineSize), OutlineColor(InColor)
	{
	}

	bool IsIdenticalTo(const FFontOutlineSettings& Other) const
	{
		return OutlineSize == Other.OutlineSize && OutlineColor == Other.OutlineColor;
	}

	// Thickness in pixels; 0 draws no outline.
	int32 OutlineSize = 0;
	FLinearColor OutlineColor = FLinearColor::Black;
};

// The font a text is drawn with. Size is in points; the headless renderer draws at 96 dots per inch.
struct FSlateFontInfo
{
	FSlateFontInfo() = default;
	FSlateFontInfo(FName InTypefaceFontName, float InSize) : TypefaceFontName(InTypefaceFontName), Size(InSize) {}

	// Not reported to the collector; the headless fonts are files, not objects.
	const UObject* FontObject = nullptr;
	FName TypefaceFontName = FName(TEXT("Regular"));
	float Size = 24.0f;
	int32 LetterSpacing = 0;
	FFontOutlineSettings OutlineSettings;

	bool operator==(const FSlateFontInfo& Other) const
	{
		return FontObject == Other.FontObject && TypefaceFontName == Other.TypefaceFontName && Size == Other.Size &&
		       LetterSpacing == Other.LetterSpacing && OutlineSettings.IsIdenticalTo(Other.OutlineSettings);
	}
};
