#pragma once

#include "CoreMinimal.h"
#include "Fonts/SlateFontInfo.h"

#ifndef SLATECORE_API
#define SLATECORE_API DLLEXPORT
#endif

// Measures text as the renderer will draw it: DejaVu Sans first, a CJK fallback font for what DejaVu lacks.
// Glyph advances are cached per font size, so measuring the same characters again costs a lookup each.
class SLATECORE_API FSlateFontMeasure
{
public:
	static FSlateFontMeasure& Get();

	// Width of the widest line and the height of all lines ("\n" starts a line); zero for empty text.
	FVector2D Measure(const FString& Text, const FSlateFontInfo& Font) const;
	// Height of one line of text in this font.
	float GetMaxCharacterHeight(const FSlateFontInfo& Font) const;

	// Headless only: the font files to use instead of the system's DejaVu Sans and Droid Sans Fallback
	// (Symbola stays last, for emoji).
	// A missing file is logged once and measuring goes on with what is left.
	static void SetFontFiles(const FString& PrimaryFile, const FString& FallbackFile);
};
