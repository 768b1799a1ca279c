#include "Fonts/FontMeasure.h"

#include "Fonts/SlateFontCache.h"

FSlateFontMeasure& FSlateFontMeasure::Get()
{
	static FSlateFontMeasure Measure;
	return Measure;
}

FVector2D FSlateFontMeasure::Measure(const FString& Text, const FSlateFontInfo& Font) const
{
	if (Text.IsEmpty())
	{
		return FVector2D::ZeroVector;
	}
	return FSlateFontCache::Get().Shape(Text, Font).Size;
}

float FSlateFontMeasure::GetMaxCharacterHeight(const FSlateFontInfo& Font) const
{
	return FSlateFontCache::Get().GetLineHeight(Font);
}

void FSlateFontMeasure::SetFontFiles(const FString& PrimaryFile, const FString& FallbackFile)
{
	FSlateFontCache::Get().SetFontFiles(PrimaryFile, FallbackFile);
}
