#include "MediaSoundComponent.h"

#include "MediaPlayer.h"

void UMediaSoundComponent::SetMediaPlayer(UMediaPlayer* NewMediaPlayer)
{
	MediaPlayer = NewMediaPlayer;
}
