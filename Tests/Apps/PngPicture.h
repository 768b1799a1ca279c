#pragma once

#include "CoreMinimal.h"

#include <png.h>

// A PNG file the programs wrote, read back as RGBA pixels.
struct FPngPicture
{
	int32 Width = 0;
	int32 Height = 0;
	TArray<uint8> Pixels;

	bool Load(const FString& Path)
	{
		png_image Image = {};
		Image.version = PNG_IMAGE_VERSION;
		if (!png_image_begin_read_from_file(&Image, TCHAR_TO_UTF8(*Path)))
		{
			return false;
		}
		Image.format = PNG_FORMAT_RGBA;
		Pixels.SetNum(int32(PNG_IMAGE_SIZE(Image)));
		if (!png_image_finish_read(&Image, nullptr, Pixels.GetData(), 0, nullptr))
		{
			png_image_free(&Image);
			return false;
		}
		Width = int32(Image.width);
		Height = int32(Image.height);
		return true;
	}

	// Red, green and blue added up, 0 to 765.
	int32 Brightness(int32 X, int32 Y) const
	{
		const int32 At = (Y * Width + X) * 4;
		return Pixels[At] + Pixels[At + 1] + Pixels[At + 2];
	}
};
