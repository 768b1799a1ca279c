#include "Headless/HeadlessPainter.h"

#include "Fonts/SlateFontCache.h"
#include "Misc/Paths.h"
#include "HAL/FileManager.h"

#include <png.h>

#include <cstdio>

FHeadlessPainter::FHeadlessPainter(int32 InWidth, int32 InHeight, const FLinearColor& Background)
    : Width(FMath::Max(InWidth, 0)), Height(FMath::Max(InHeight, 0))
{
	Pixels.SetNum(Width * Height);
	const FColor Fill = Background.ToFColorSRGB();
	for (FColor& Pixel : Pixels)
	{
		Pixel = Fill;
	}
}

FColor FHeadlessPainter::GetPixel(int32 X, int32 Y) const
{
	if (X < 0 || Y < 0 || X >= Width || Y >= Height)
	{
		return FColor(0, 0, 0, 0);
	}
	return Pixels[Y * Width + X];
}

void FHeadlessPainter::BlendPixel(int32 X, int32 Y, const FColor& Color, float Alpha)
{
	if (X < 0 || Y < 0 || X >= Width || Y >= Height || Alpha <= 0.0f)
	{
		return;
	}
	FColor& Target = Pixels[Y * Width + X];
	const float Keep = 1.0f - FMath::Min(Alpha, 1.0f);
	const float Take = 1.0f - Keep;
	Target.R = uint8(FMath::RoundToInt32(Target.R * Keep + Color.R * Take));
	Target.G = uint8(FMath::RoundToInt32(Target.G * Keep + Color.G * Take));
	Target.B = uint8(FMath::RoundToInt32(Target.B * Keep + Color.B * Take));
	Target.A = uint8(FMath::RoundToInt32(Target.A * Keep + 255.0f * Take));
}

void FHeadlessPainter::FillBox(FVector2D Position, FVector2D Size, const FLinearColor& Color, float Opacity)
{
	const float Alpha = Color.A * Opacity;
	if (Alpha <= 0.0f)
	{
		return;
	}
	const FColor Bytes = Color.ToFColorSRGB();
	const int32 X0 = FMath::Max(FMath::RoundToInt32(Position.X), 0);
	const int32 Y0 = FMath::Max(FMath::RoundToInt32(Position.Y), 0);
	const int32 X1 = FMath::Min(FMath::RoundToInt32(Position.X + Size.X), Width);
	const int32 Y1 = FMath::Min(FMath::RoundToInt32(Position.Y + Size.Y), Height);
	for (int32 Y = Y0; Y < Y1; ++Y)
	{
		for (int32 X = X0; X < X1; ++X)
		{
			BlendPixel(X, Y, Bytes, Alpha);
		}
	}
}

void FHeadlessPainter::DrawPicture(FVector2D Position, FVector2D Size, const TArray<FColor>& Picture,
                                   FIntPoint PictureSize, const FLinearColor& Tint, float Opacity)
{
	const float Alpha = Tint.A * Opacity;
	if (Alpha <= 0.0f || PictureSize.X <= 0 || PictureSize.Y <= 0 || Picture.Num() != PictureSize.X * PictureSize.Y ||
	    Size.X <= 0.0 || Size.Y <= 0.0)
	{
		return;
	}
	const double Scale = FMath::Min(Size.X / PictureSize.X, Size.Y / PictureSize.Y);
	const FVector2D Fitted(PictureSize.X * Scale, PictureSize.Y * Scale);
	const FVector2D Corner = Position + (Size - Fitted) * 0.5;
	const int32 X0 = FMath::Max(FMath::RoundToInt32(Corner.X), 0);
	const int32 Y0 = FMath::Max(FMath::RoundToInt32(Corner.Y), 0);
	const int32 X1 = FMath::Min(FMath::RoundToInt32(Corner.X + Fitted.X), Width);
	const int32 Y1 = FMath::Min(FMath::RoundToInt32(Corner.Y + Fitted.Y), Height);
	if (X0 >= X1 || Y0 >= Y1)
	{
		return;
	}
	// The tint scales the stored bytes: exact for white, the usual case of a video brush.
	const bool bTinted = Tint.R != 1.0f || Tint.G != 1.0f || Tint.B != 1.0f;
	const float Factors[3] = {bTinted ? Tint.R : 1.0f, bTinted ? Tint.G : 1.0f, bTinted ? Tint.B : 1.0f};
	// Bilinear weights in 1/256 steps, the columns' worked out once for every row.
	struct FTap
	{
		int32 First;
		int32 Second;
		int32 Weight;
	};
	const auto Tap = [Scale](int32 Screen, double Start, int32 Last)
	{
		const double Source = (Screen + 0.5 - Start) / Scale - 0.5;
		const int32 Index = FMath::FloorToInt32(Source);
		const int32 Weight = FMath::Clamp(FMath::RoundToInt32((Source - Index) * 256.0), 0, 256);
		return FTap{FMath::Clamp(Index, 0, Last), FMath::Clamp(Index + 1, 0, Last), Weight};
	};
	TArray<FTap> Columns;
	Columns.Reserve(X1 - X0);
	for (int32 X = X0; X < X1; ++X)
	{
		Columns.Add(Tap(X, Corner.X, PictureSize.X - 1));
	}
	const FTap* const Taps = Columns.GetData();
	const bool bOpaque = Alpha >= 1.0f;
	for (int32 Y = Y0; Y < Y1; ++Y)
	{
		const FTap Row = Tap(Y, Corner.Y, PictureSize.Y - 1);
		const FColor* Top = &Picture[Row.First * PictureSize.X];
		const FColor* Bottom = &Picture[Row.Second * PictureSize.X];
		FColor* Target = &Pixels[Y * Width];
		for (int32 X = X0; X < X1; ++X)
		{
			const FTap& Column = Taps[X - X0];
			const FColor& A = Top[Column.First];
			const FColor& B = Top[Column.Second];
			const FColor& C = Bottom[Column.First];
			const FColor& D = Bottom[Column.Second];
			const int32 Left = 256 - Column.Weight;
			const int32 Right = Column.Weight;
			const int32 Up = 256 - Row.Weight;
			const int32 Down = Row.Weight;
			const auto Mix = [Left, Right, Up, Down](int32 TopLeft, int32 TopRight, int32 BottomLeft, int32 BottomRight)
			{
				return ((TopLeft * Left + TopRight * Right) * Up + (BottomLeft * Left + BottomRight * Right) * Down +
				        32768) >>
				       16;
			};
			FColor Color(uint8(Mix(A.R, B.R, C.R, D.R)), uint8(Mix(A.G, B.G, C.G, D.G)), uint8(Mix(A.B, B.B, C.B, D.B)),
			             255);
			if (bTinted)
			{
				Color.R = uint8(FMath::Clamp(FMath::RoundToInt32(Color.R * Factors[0]), 0, 255));
				Color.G = uint8(FMath::Clamp(FMath::RoundToInt32(Color.G * Factors[1]), 0, 255));
				Color.B = uint8(FMath::Clamp(FMath::RoundToInt32(Color.B * Factors[2]), 0, 255));
			}
			const int32 SourceAlpha = (A.A & B.A & C.A & D.A) == 255 ? 255 : Mix(A.A, B.A, C.A, D.A);
			if (bOpaque && SourceAlpha == 255)
			{
				// Covers what is there: the blend would give the colour itself.
				Target[X] = Color;
			}
			else
			{
				BlendPixel(X, Y, Color, Alpha * (SourceAlpha / 255.0f));
			}
		}
	}
}

void FHeadlessPainter::DrawFrame(FVector2D Position, FVector2D Size, const FLinearColor& Color, float Opacity)
{
	FillBox(Position, FVector2D(Size.X, 1.0), Color, Opacity);
	FillBox(FVector2D(Position.X, Position.Y + Size.Y - 1.0), FVector2D(Size.X, 1.0), Color, Opacity);
	FillBox(FVector2D(Position.X, Position.Y + 1.0), FVector2D(1.0, Size.Y - 2.0), Color, Opacity);
	FillBox(FVector2D(Position.X + Size.X - 1.0, Position.Y + 1.0), FVector2D(1.0, Size.Y - 2.0), Color, Opacity);
}

void FHeadlessPainter::DrawText(const FString& Text, const FSlateFontInfo& Font, FVector2D Position,
                                const FLinearColor& Color, float Opacity)
{
	const float Alpha = Color.A * Opacity;
	if (Text.IsEmpty() || Alpha <= 0.0f)
	{
		return;
	}
	FSlateFontCache& Cache = FSlateFontCache::Get();
	const FSlateShapedText Shaped = Cache.Shape(Text, Font);
	const int32 OriginX = FMath::RoundToInt32(Position.X);
	const int32 OriginY = FMath::RoundToInt32(Position.Y);
	const FFontOutlineSettings& Outline = Font.OutlineSettings;
	const float OutlineAlpha = Outline.OutlineColor.A * Alpha;
	// Every outline goes down before any fill, so that one glyph's outline never covers its neighbour's fill.
	for (const bool bOutlinePass : {true, false})
	{
		if (bOutlinePass && (Outline.OutlineSize <= 0 || OutlineAlpha <= 0.0f))
		{
			continue;
		}
		const FColor Bytes = (bOutlinePass ? Outline.OutlineColor : Color).ToFColorSRGB();
		const float PassAlpha = bOutlinePass ? OutlineAlpha : Alpha;
		const int32 Spread = bOutlinePass ? Outline.OutlineSize : 0;
		for (const FSlateShapedGlyph& Glyph : Shaped.Glyphs)
		{
			const FSlateGlyphBitmap* Bitmap = Cache.GetGlyphBitmap(Glyph.FaceIndex, Glyph.GlyphIndex, Font);
			if (!Bitmap)
			{
				continue;
			}
			const int32 Baseline =
			    OriginY + FMath::RoundToInt32(Shaped.Ascender + Shaped.LineHeight * float(Glyph.Line));
			const int32 Left = OriginX + FMath::RoundToInt32(Glyph.PenX) + Bitmap->Left;
			const int32 Top = Baseline - Bitmap->Top;
			for (int32 Row = -Spread; Row < Bitmap->Height + Spread; ++Row)
			{
				for (int32 Column = -Spread; Column < Bitmap->Width + Spread; ++Column)
				{
					const uint8 Coverage = bOutlinePass
					                           ? SpreadCoverage(*Bitmap, Column, Row, Spread)
					                           : Bitmap->Coverage[size_t(Row) * size_t(Bitmap->Width) + size_t(Column)];
					BlendPixel(Left + Column, Top + Row, Bytes, PassAlpha * float(Coverage) / 255.0f);
				}
			}
		}
	}
}

uint8 FHeadlessPainter::SpreadCoverage(const FSlateGlyphBitmap& Bitmap, int32 Column, int32 Row, int32 Spread)
{
	// The strongest coverage within a disc of Spread pixels: the glyph grown outwards, as a stroke around it.
	uint8 Strongest = 0;
	const int32 RadiusSquared = Spread * Spread + Spread;
	for (int32 DeltaRow = -Spread; DeltaRow <= Spread; ++DeltaRow)
	{
		const int32 SourceRow = Row + DeltaRow;
		if (SourceRow < 0 || SourceRow >= Bitmap.Height)
		{
			continue;
		}
		for (int32 DeltaColumn = -Spread; DeltaColumn <= Spread; ++DeltaColumn)
		{
			const int32 SourceColumn = Column + DeltaColumn;
			if (SourceColumn < 0 || SourceColumn >= Bitmap.Width ||
			    DeltaRow * DeltaRow + DeltaColumn * DeltaColumn > RadiusSquared)
			{
				continue;
			}
			Strongest =
			    FMath::Max(Strongest, Bitmap.Coverage[size_t(SourceRow) * size_t(Bitmap.Width) + size_t(SourceColumn)]);
		}
	}
	return Strongest;
}

void FHeadlessPainter::BlendLayer(const FHeadlessPainter& Layer, FVector2D Origin, FVector2D Pivot, FVector2D Scale,
                                  float Angle)
{
	if (FMath::Abs(Scale.X) < 1e-6 || FMath::Abs(Scale.Y) < 1e-6 || Layer.Width == 0 || Layer.Height == 0)
	{
		return;
	}
	const double Radians = FMath::DegreesToRadians(double(Angle));
	const double Cos = FMath::Cos(Radians);
	const double Sin = FMath::Sin(Radians);
	const auto Forward = [&](double X, double Y)
	{
		const double SX = (Origin.X + X - Pivot.X) * Scale.X;
		const double SY = (Origin.Y + Y - Pivot.Y) * Scale.Y;
		return FVector2D(Pivot.X + SX * Cos - SY * Sin, Pivot.Y + SX * Sin + SY * Cos);
	};
	double MinX = 1e300;
	double MinY = 1e300;
	double MaxX = -1e300;
	double MaxY = -1e300;
	for (const FVector2D Corner :
	     {Forward(0, 0), Forward(Layer.Width, 0), Forward(0, Layer.Height), Forward(Layer.Width, Layer.Height)})
	{
		MinX = FMath::Min(MinX, Corner.X);
		MinY = FMath::Min(MinY, Corner.Y);
		MaxX = FMath::Max(MaxX, Corner.X);
		MaxY = FMath::Max(MaxY, Corner.Y);
	}
	const int32 X0 = FMath::Max(0, int32(FMath::FloorToDouble(FMath::Max(MinX, -1.0))));
	const int32 Y0 = FMath::Max(0, int32(FMath::FloorToDouble(FMath::Max(MinY, -1.0))));
	const int32 X1 = FMath::Min(Width, int32(FMath::CeilToDouble(FMath::Min(MaxX, double(Width)))));
	const int32 Y1 = FMath::Min(Height, int32(FMath::CeilToDouble(FMath::Min(MaxY, double(Height)))));
	// The layer holds colours already multiplied by their coverage, as blending onto transparent black leaves them.
	const auto Sample = [&Layer](int32 X, int32 Y, int32 Channel) -> double
	{
		const FColor Pixel = Layer.GetPixel(X, Y);
		const uint8 Values[4] = {Pixel.R, Pixel.G, Pixel.B, Pixel.A};
		return double(Values[Channel]);
	};
	for (int32 Y = Y0; Y < Y1; ++Y)
	{
		for (int32 X = X0; X < X1; ++X)
		{
			// Back from the pixel's centre to the layer.
			const double DX = X + 0.5 - Pivot.X;
			const double DY = Y + 0.5 - Pivot.Y;
			const double LX = (DX * Cos + DY * Sin) / Scale.X + Pivot.X - Origin.X - 0.5;
			const double LY = (-DX * Sin + DY * Cos) / Scale.Y + Pivot.Y - Origin.Y - 0.5;
			if (LX < -1.0 || LY < -1.0 || LX > Layer.Width || LY > Layer.Height)
			{
				continue;
			}
			const int32 SX = int32(FMath::FloorToDouble(LX));
			const int32 SY = int32(FMath::FloorToDouble(LY));
			const double FX = LX - SX;
			const double FY = LY - SY;
			double Mixed[4];
			for (int32 Channel = 0; Channel < 4; ++Channel)
			{
				Mixed[Channel] =
				    (Sample(SX, SY, Channel) * (1.0 - FX) + Sample(SX + 1, SY, Channel) * FX) * (1.0 - FY) +
				    (Sample(SX, SY + 1, Channel) * (1.0 - FX) + Sample(SX + 1, SY + 1, Channel) * FX) * FY;
			}
			const double Alpha = Mixed[3] / 255.0;
			if (Alpha <= 0.0)
			{
				continue;
			}
			FColor& Target = Pixels[Y * Width + X];
			const double Keep = 1.0 - FMath::Min(Alpha, 1.0);
			Target.R = uint8(FMath::Clamp(FMath::RoundToInt32(Target.R * Keep + Mixed[0]), 0, 255));
			Target.G = uint8(FMath::Clamp(FMath::RoundToInt32(Target.G * Keep + Mixed[1]), 0, 255));
			Target.B = uint8(FMath::Clamp(FMath::RoundToInt32(Target.B * Keep + Mixed[2]), 0, 255));
			Target.A = uint8(FMath::Clamp(FMath::RoundToInt32(Target.A * Keep + Mixed[3]), 0, 255));
		}
	}
}

bool FHeadlessPainter::SavePng(const FString& Path) const
{
	IFileManager::Get().MakeDirectory(*FPaths::GetPath(Path), true);
	FILE* File = std::fopen(TCHAR_TO_UTF8(*Path), "wb");
	if (!File)
	{
		return false;
	}
	png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
	png_infop Info = Png ? png_create_info_struct(Png) : nullptr;
	if (!Info || setjmp(png_jmpbuf(Png)))
	{
		png_destroy_write_struct(&Png, Info ? &Info : nullptr);
		std::fclose(File);
		return false;
	}
	png_init_io(Png, File);
	png_set_IHDR(Png, Info, png_uint_32(Width), png_uint_32(Height), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
	             PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
	png_write_info(Png, Info);
	TArray<uint8> Row;
	Row.SetNum(Width * 4);
	for (int32 Y = 0; Y < Height; ++Y)
	{
		for (int32 X = 0; X < Width; ++X)
		{
			const FColor& Pixel = Pixels[Y * Width + X];
			Row[X * 4 + 0] = Pixel.R;
			Row[X * 4 + 1] = Pixel.G;
			Row[X * 4 + 2] = Pixel.B;
			Row[X * 4 + 3] = Pixel.A;
		}
		png_write_row(Png, Row.GetData());
	}
	png_write_end(Png, nullptr);
	png_destroy_write_struct(&Png, &Info);
	return std::fclose(File) == 0;
}
