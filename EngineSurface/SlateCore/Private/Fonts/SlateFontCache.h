#pragma once

#include "CoreMinimal.h"
#include "Fonts/SlateFontInfo.h"

#include <memory>
#include <unordered_map>
#include <vector>

// One rendered glyph: coverage bytes, and where they sit relative to the pen on the baseline.
struct FSlateGlyphBitmap
{
	int32 Width = 0;
	int32 Height = 0;
	int32 Left = 0;
	int32 Top = 0;
	std::vector<uint8> Coverage;
};

// One glyph of a text, placed: pen position from the text's left edge, and the face and glyph it uses.
struct FSlateShapedGlyph
{
	float PenX = 0.0f;
	int32 Line = 0;
	int32 FaceIndex = INDEX_NONE;
	uint32 GlyphIndex = 0;
};

struct FSlateShapedText
{
	std::vector<FSlateShapedGlyph> Glyphs;
	FVector2D Size = FVector2D::ZeroVector;
	float LineHeight = 0.0f;
	float Ascender = 0.0f;
};

// The FreeType faces and every cache built from them. One per process; game thread only.
class FSlateFontCache
{
public:
	static FSlateFontCache& Get();
	~FSlateFontCache();

	void SetFontFiles(const FString& PrimaryFile, const FString& FallbackFile);
	FSlateShapedText Shape(const FString& Text, const FSlateFontInfo& Font);
	float GetLineHeight(const FSlateFontInfo& Font);
	const FSlateGlyphBitmap* GetGlyphBitmap(int32 FaceIndex, uint32 GlyphIndex, const FSlateFontInfo& Font);

private:
	struct FFace;
	struct FLineMetrics
	{
		float Ascender = 0.0f;
		float Height = 0.0f;
	};

	FSlateFontCache();
	void LoadFaces();
	void UnloadFaces();
	bool SelectSize(int32 FaceIndex, int32 SizeInPixels64);
	// The face that has a glyph for the code point and its glyph; the first face's missing-glyph box otherwise.
	void FindGlyph(uint32 CodePoint, int32& OutFace, uint32& OutGlyph);
	float GetAdvance(int32 FaceIndex, uint32 GlyphIndex, int32 SizeInPixels64);
	FLineMetrics GetLineMetrics(int32 FaceIndex, int32 SizeInPixels64);

	void* Library = nullptr;
	std::vector<std::unique_ptr<FFace>> Faces;
	FString FontFiles[3];
	bool bLoaded = false;
	std::unordered_map<uint32, uint64> GlyphByCodePoint;
	std::unordered_map<uint64, float> Advances;
	std::unordered_map<uint64, FLineMetrics> LineMetrics;
	std::unordered_map<uint64, FSlateGlyphBitmap> Bitmaps;
};
