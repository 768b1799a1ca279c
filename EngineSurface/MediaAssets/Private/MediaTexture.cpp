#include "MediaTexture.h"

#include "Headless/HeadlessTextures.h"
#include "MediaPlayer.h"

void UMediaTexture::SetMediaPlayer(UMediaPlayer* NewMediaPlayer)
{
	MediaPlayer = NewMediaPlayer;
}

UMediaPlayer* UMediaTexture::GetMediaPlayer() const
{
	return MediaPlayer;
}

int32 UMediaTexture::GetWidth() const
{
	return MediaPlayer ? MediaPlayer->GetShownFrameSize().X : 0;
}

int32 UMediaTexture::GetHeight() const
{
	return MediaPlayer ? MediaPlayer->GetShownFrameSize().Y : 0;
}

float UMediaTexture::GetAspectRatio() const
{
	const int32 Height = GetHeight();
	return Height > 0 ? float(GetWidth()) / float(Height) : 0.0f;
}

bool UMediaTexture::ReadHeadlessPicture(FHeadlessTexturePicture& OutPicture) const
{
	OutPicture.Fill = AutoClear ? ClearColor : FLinearColor::Transparent;
	OutPicture.Pixels.Reset();
	OutPicture.Size = FIntPoint(0, 0);
	if (MediaPlayer)
	{
		MediaPlayer->ReadShownFrame(OutPicture.Pixels, OutPicture.Size);
	}
	return true;
}
