#include "Fonts/SlateFontCache.h"

#include "Misc/Paths.h"

#include <ft2build.h>
#include FT_FREETYPE_H

DEFINE_LOG_CATEGORY_STATIC(LogSlateFont, Log, All);

namespace
{
const TCHAR* DefaultPrimaryFont = TEXT("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
const TCHAR* DefaultFallbackFont = TEXT("/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf");
// Comments are full of emoji that neither font above has; Debian's Symbola draws them in outline.
const TCHAR* DefaultSymbolFont = TEXT("/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf");
constexpr uint32 ReplacementCharacter = 0xFFFD;
constexpr uint64 NoGlyph = ~uint64(0);

// Points at 96 dots per inch, in FreeType's 26.6 fixed point.
int32 ToPixels64(float Size)
{
	return Size > 0.0f ? FMath::RoundToInt32(double(Size) * 96.0 / 72.0 * 64.0) : 0;
}

uint64 MakeKey(int32 FaceIndex, uint32 GlyphIndex, int32 SizeInPixels64)
{
	return (uint64(uint32(FaceIndex) & 0xFF) << 56) | (uint64(uint32(SizeInPixels64) & 0xFFFFFF) << 32) | GlyphIndex;
}

// Decodes one code point at Index and moves past it; a lone surrogate reads as the replacement character.
uint32 NextCodePoint(const FString& Text, int32& Index)
{
	const uint32 Unit = uint16(Text[Index++]);
	if (Unit >= 0xD800 && Unit <= 0xDBFF && Index < Text.Len())
	{
		const uint32 Low = uint16(Text[Index]);
		if (Low >= 0xDC00 && Low <= 0xDFFF)
		{
			++Index;
			return 0x10000 + ((Unit - 0xD800) << 10) + (Low - 0xDC00);
		}
	}
	return Unit >= 0xD800 && Unit <= 0xDFFF ? ReplacementCharacter : Unit;
}
} // namespace

struct FSlateFontCache::FFace
{
	FT_Face Face = nullptr;
	int32 SelectedSize = 0;
};

FSlateFontCache& FSlateFontCache::Get()
{
	static FSlateFontCache Cache;
	return Cache;
}

FSlateFontCache::FSlateFontCache()
{
	FontFiles[0] = DefaultPrimaryFont;
	FontFiles[1] = DefaultFallbackFont;
	FontFiles[2] = DefaultSymbolFont;
}

FSlateFontCache::~FSlateFontCache()
{
	UnloadFaces();
}

void FSlateFontCache::SetFontFiles(const FString& PrimaryFile, const FString& FallbackFile)
{
	UnloadFaces();
	FontFiles[0] = PrimaryFile;
	FontFiles[1] = FallbackFile;
}

void FSlateFontCache::UnloadFaces()
{
	for (std::unique_ptr<FFace>& Face : Faces)
	{
		FT_Done_Face(Face->Face);
	}
	Faces.clear();
	if (Library)
	{
		FT_Done_FreeType(static_cast<FT_Library>(Library));
		Library = nullptr;
	}
	GlyphByCodePoint.clear();
	Advances.clear();
	LineMetrics.clear();
	Bitmaps.clear();
	bLoaded = false;
}

void FSlateFontCache::LoadFaces()
{
	bLoaded = true;
	FT_Library NewLibrary = nullptr;
	if (FT_Init_FreeType(&NewLibrary) != 0)
	{
		UE_LOG(LogSlateFont, Error, TEXT("FreeType failed to start; text is measured with estimated metrics"));
		return;
	}
	Library = NewLibrary;
	for (const FString& File : FontFiles)
	{
		FT_Face Face = nullptr;
		if (File.IsEmpty() || FT_New_Face(NewLibrary, TCHAR_TO_UTF8(*File), 0, &Face) != 0)
		{
			UE_LOG(LogSlateFont, Warning, TEXT("Font file %s cannot be read; going on without it"), *File);
			continue;
		}
		auto Loaded = std::make_unique<FFace>();
		Loaded->Face = Face;
		Faces.push_back(std::move(Loaded));
	}
	if (Faces.empty())
	{
		UE_LOG(LogSlateFont, Warning, TEXT("No font could be read; text is measured with estimated metrics"));
	}
}

bool FSlateFontCache::SelectSize(int32 FaceIndex, int32 SizeInPixels64)
{
	FFace& Face = *Faces[size_t(FaceIndex)];
	if (Face.SelectedSize != SizeInPixels64)
	{
		if (FT_Set_Char_Size(Face.Face, 0, SizeInPixels64, 72, 72) != 0)
		{
			return false;
		}
		Face.SelectedSize = SizeInPixels64;
	}
	return true;
}

void FSlateFontCache::FindGlyph(uint32 CodePoint, int32& OutFace, uint32& OutGlyph)
{
	auto Found = GlyphByCodePoint.find(CodePoint);
	if (Found == GlyphByCodePoint.end())
	{
		uint64 Entry = NoGlyph;
		for (size_t Index = 0; Index < Faces.size(); ++Index)
		{
			if (const FT_UInt Glyph = FT_Get_Char_Index(Faces[Index]->Face, CodePoint))
			{
				Entry = (uint64(Index) << 32) | Glyph;
				break;
			}
		}
		Found = GlyphByCodePoint.emplace(CodePoint, Entry).first;
	}
	if (Found->second == NoGlyph)
	{
		// No font has it: the first font's missing-glyph box stands in, as the engine draws it.
		OutFace = Faces.empty() ? INDEX_NONE : 0;
		OutGlyph = 0;
		return;
	}
	OutFace = int32(Found->second >> 32);
	OutGlyph = uint32(Found->second & 0xFFFFFFFF);
}

float FSlateFontCache::GetAdvance(int32 FaceIndex, uint32 GlyphIndex, int32 SizeInPixels64)
{
	if (FaceIndex == INDEX_NONE)
	{
		return float(SizeInPixels64) / 64.0f * 0.6f;
	}
	const uint64 Key = MakeKey(FaceIndex, GlyphIndex, SizeInPixels64);
	auto Found = Advances.find(Key);
	if (Found != Advances.end())
	{
		return Found->second;
	}
	float Advance = 0.0f;
	if (SelectSize(FaceIndex, SizeInPixels64) &&
	    FT_Load_Glyph(Faces[size_t(FaceIndex)]->Face, GlyphIndex, FT_LOAD_DEFAULT) == 0)
	{
		Advance = float(Faces[size_t(FaceIndex)]->Face->glyph->advance.x) / 64.0f;
	}
	Advances.emplace(Key, Advance);
	return Advance;
}

FSlateFontCache::FLineMetrics FSlateFontCache::GetLineMetrics(int32 FaceIndex, int32 SizeInPixels64)
{
	const float Pixels = float(SizeInPixels64) / 64.0f;
	if (FaceIndex == INDEX_NONE)
	{
		return {Pixels * 0.95f, Pixels * 1.2f};
	}
	const uint64 Key = MakeKey(FaceIndex, 0, SizeInPixels64);
	auto Found = LineMetrics.find(Key);
	if (Found != LineMetrics.end())
	{
		return Found->second;
	}
	FLineMetrics Metrics{Pixels * 0.95f, Pixels * 1.2f};
	if (SelectSize(FaceIndex, SizeInPixels64))
	{
		const FT_Size_Metrics& Size = Faces[size_t(FaceIndex)]->Face->size->metrics;
		Metrics.Ascender = float(Size.ascender) / 64.0f;
		Metrics.Height = float(Size.ascender - Size.descender) / 64.0f;
	}
	LineMetrics.emplace(Key, Metrics);
	return Metrics;
}

FSlateShapedText FSlateFontCache::Shape(const FString& Text, const FSlateFontInfo& Font)
{
	if (!bLoaded)
	{
		LoadFaces();
	}
	FSlateShapedText Result;
	const int32 Size64 = ToPixels64(Font.Size);
	if (Size64 <= 0)
	{
		return Result;
	}
	const int32 PrimaryFace = Faces.empty() ? INDEX_NONE : 0;
	FLineMetrics Line = GetLineMetrics(PrimaryFace, Size64);
	Result.Glyphs.reserve(size_t(Text.Len()));
	float PenX = 0.0f;
	float Widest = 0.0f;
	int32 LineIndex = 0;
	for (int32 Index = 0; Index < Text.Len();)
	{
		const uint32 CodePoint = NextCodePoint(Text, Index);
		if (CodePoint == '\n')
		{
			Widest = FMath::Max(Widest, PenX);
			PenX = 0.0f;
			++LineIndex;
			continue;
		}
		FSlateShapedGlyph Glyph;
		FindGlyph(CodePoint, Glyph.FaceIndex, Glyph.GlyphIndex);
		Glyph.PenX = PenX;
		Glyph.Line = LineIndex;
		Result.Glyphs.push_back(Glyph);
		if (Glyph.FaceIndex != PrimaryFace)
		{
			const FLineMetrics FaceLine = GetLineMetrics(Glyph.FaceIndex, Size64);
			Line.Ascender = FMath::Max(Line.Ascender, FaceLine.Ascender);
			Line.Height = FMath::Max(Line.Height, FaceLine.Height);
		}
		PenX += GetAdvance(Glyph.FaceIndex, Glyph.GlyphIndex, Size64) + float(Font.LetterSpacing) * Font.Size / 1000.0f;
	}
	Widest = FMath::Max(Widest, PenX);
	Result.LineHeight = FMath::CeilToInt32(Line.Height);
	Result.Ascender = FMath::RoundToInt32(Line.Ascender);
	Result.Size = Text.IsEmpty() ? FVector2D(0.0, Result.LineHeight)
	                             : FVector2D(FMath::CeilToInt32(Widest), Result.LineHeight * float(LineIndex + 1));
	return Result;
}

float FSlateFontCache::GetLineHeight(const FSlateFontInfo& Font)
{
	if (!bLoaded)
	{
		LoadFaces();
	}
	const int32 Size64 = ToPixels64(Font.Size);
	return Size64 > 0 ? FMath::CeilToInt32(GetLineMetrics(Faces.empty() ? INDEX_NONE : 0, Size64).Height) : 0.0f;
}

const FSlateGlyphBitmap* FSlateFontCache::GetGlyphBitmap(int32 FaceIndex, uint32 GlyphIndex, const FSlateFontInfo& Font)
{
	const int32 Size64 = ToPixels64(Font.Size);
	if (FaceIndex == INDEX_NONE || FaceIndex >= int32(Faces.size()) || Size64 <= 0)
	{
		return nullptr;
	}
	const uint64 Key = MakeKey(FaceIndex, GlyphIndex, Size64);
	auto Found = Bitmaps.find(Key);
	if (Found != Bitmaps.end())
	{
		return &Found->second;
	}
	FSlateGlyphBitmap Bitmap;
	FT_Face Face = Faces[size_t(FaceIndex)]->Face;
	if (SelectSize(FaceIndex, Size64) && FT_Load_Glyph(Face, GlyphIndex, FT_LOAD_RENDER) == 0 &&
	    Face->glyph->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
	{
		const FT_Bitmap& Source = Face->glyph->bitmap;
		Bitmap.Width = int32(Source.width);
		Bitmap.Height = int32(Source.rows);
		Bitmap.Left = Face->glyph->bitmap_left;
		Bitmap.Top = Face->glyph->bitmap_top;
		Bitmap.Coverage.resize(size_t(Bitmap.Width) * size_t(Bitmap.Height));
		for (int32 Row = 0; Row < Bitmap.Height; ++Row)
		{
			const uint8* SourceRow = Source.buffer + ptrdiff_t(Row) * Source.pitch;
			std::copy(SourceRow, SourceRow + Bitmap.Width, Bitmap.Coverage.begin() + ptrdiff_t(Row) * Bitmap.Width);
		}
	}
	return &Bitmaps.emplace(Key, std::move(Bitmap)).first->second;
}
