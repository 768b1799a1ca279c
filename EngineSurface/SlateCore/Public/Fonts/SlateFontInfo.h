#pragma once

#include "CoreMinimal.h"

class UObject;

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

	bool operator==(const FSlateFontInfo& Other) const
	{
		return FontObject == Other.FontObject && TypefaceFontName == Other.TypefaceFontName && Size == Other.Size &&
		       LetterSpacing == Other.LetterSpacing;
	}
};
