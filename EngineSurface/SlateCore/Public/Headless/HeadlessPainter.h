#pragma once

#include "CoreMinimal.h"
#include "Fonts/SlateFontInfo.h"
#include "Math/IntPoint.h"

#ifndef SLATECORE_API
#define SLATECORE_API DLLEXPORT
#endif

struct FSlateGlyphBitmap;

// An RGBA picture that widgets paint themselves into: boxes and text glyphs, blended over what is there.
// Colours are linear and stored as sRGB bytes, as the engine's back buffer holds them.
class SLATECORE_API FHeadlessPainter
{
public:
	FHeadlessPainter(int32 InWidth, int32 InHeight, const FLinearColor& Background = FLinearColor::Black);

	int32 GetWidth() const { return Width; }
	int32 GetHeight() const { return Height; }
	// Transparent black outside the picture.
	FColor GetPixel(int32 X, int32 Y) const;

	// Blends a box of the colour, its alpha times Opacity, over the picture; parts outside are dropped.
	void FillBox(FVector2D Position, FVector2D Size, const FLinearColor& Color, float Opacity = 1.0f);
	// A one-unit frame just inside the box.
	void DrawFrame(FVector2D Position, FVector2D Size, const FLinearColor& Color, float Opacity = 1.0f);
	// Draws the text with its top-left corner at Position, glyph coverage scaling the colour's alpha. The font's
	// outline is drawn first, around every glyph, in the outline colour.
	void DrawText(const FString& Text, const FSlateFontInfo& Font, FVector2D Position, const FLinearColor& Color,
	              float Opacity = 1.0f);

	// Draws a picture (sRGB pixels, PictureSize.X a row, from the top) scaled to fit the box with its aspect kept,
	// centred, sampled bilinearly; the bands beside it are left as they are. Tint multiplies the picture (its alpha
	// times Opacity is the picture's opacity).
	void DrawPicture(FVector2D Position, FVector2D Size, const TArray<FColor>& Picture, FIntPoint PictureSize,
	                 const FLinearColor& Tint, float Opacity = 1.0f);

	// Blends a layer painted on transparent black over the picture, scaled then turned (degrees, clockwise on
	// screen) about Pivot: the layer's pixel (0, 0) sits at Origin before the transform. Sampled bilinearly.
	void BlendLayer(const FHeadlessPainter& Layer, FVector2D Origin, FVector2D Pivot, FVector2D Scale, float Angle);

	// Writes the picture as an 8-bit RGBA PNG; false when the file cannot be written.
	bool SavePng(const FString& Path) const;

private:
	void BlendPixel(int32 X, int32 Y, const FColor& Color, float Alpha);
	static uint8 SpreadCoverage(const FSlateGlyphBitmap& Bitmap, int32 Column, int32 Row, int32 Spread);

	int32 Width = 0;
	int32 Height = 0;
	TArray<FColor> Pixels;
};
