#include "UI_PravellaSystem.h"

#include "Animation/WidgetAnimation.h"
#include "Components/AudioComponent.h"
#include "MediaPlayer.h"
#include "MediaSoundComponent.h"

UUI_PravellaSystem::UUI_PravellaSystem(const FObjectInitializer& ObjectInitializer) : Super(ObjectInitializer) {}

void UUI_PravellaSystem::ChangedVolumeValue(float InValue)
{
	if (MediaPlayer)
	{
		MediaPlayer->SetNativeVolume(InValue);
	}
	SetVolumeMultiplier(InValue);
}

void UUI_PravellaSystem::ClickedCheckBoxVolume(bool ClickedWidget)
{
	if (MediaPlayer)
	{
		MediaPlayer->SetNativeVolume(ClickedWidget ? 0.0f : 1.0f);
	}
}

void UUI_PravellaSystem::CloseVolumeAnim()
{
	if (bVolumeBoardOpen)
	{
		PlayVolumeBoardAnimation(TEXT("CloseVoiceBoard"), false);
	}
}

float UUI_PravellaSystem::GetVolumeMultiplier()
{
	const UAudioComponent* AudioComponent = MediaSoundComponent ? MediaSoundComponent->GetAudioComponent() : nullptr;
	return AudioComponent ? AudioComponent->VolumeMultiplier : 0.0f;
}

void UUI_PravellaSystem::OpenVolumeAnim()
{
	if (!bVolumeBoardOpen)
	{
		PlayVolumeBoardAnimation(TEXT("OpenVoiceBoard"), true);
	}
}

void UUI_PravellaSystem::SetVolumeMultiplier(float InNewVolumeMultiplier)
{
	if (MediaSoundComponent)
	{
		MediaSoundComponent->SetVolumeMultiplier(InNewVolumeMultiplier);
	}
}

void UUI_PravellaSystem::InitMadia()
{
	Super::InitMadia();
	// A widget constructed again keeps the sound output it made the first time.
	if (MediaPlayer && !MediaSoundComponent)
	{
		MediaSoundComponent = NewObject<UMediaSoundComponent>(this);
		MediaSoundComponent->RegisterComponentWithWorld(GetWorld());
		MediaSoundComponent->SetMediaPlayer(MediaPlayer);
	}
}

bool UUI_PravellaSystem::IsNetURL(const FString& URL)
{
	return URL.Contains(TEXT("https://"), ESearchCase::IgnoreCase) ||
	       URL.Contains(TEXT("http://"), ESearchCase::IgnoreCase) ||
	       URL.Contains(TEXT("ftp://"), ESearchCase::IgnoreCase);
}

void UUI_PravellaSystem::PlayVolumeBoardAnimation(const FString& AnimationName, bool bOpen)
{
	// Without the designer's animation the panel stays as it is, and so does its state.
	if (UWidgetAnimation* Animation = GetNameWidgetAnimation(AnimationName))
	{
		PlayAnimation(Animation, 0.0f, 1, EUMGSequencePlayMode::Forward, 1.0f, false);
		bVolumeBoardOpen = bOpen;
	}
}
