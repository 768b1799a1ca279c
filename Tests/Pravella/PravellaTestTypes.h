#pragma once

#include "CoreMinimal.h"
#include "Pravella/UI_VolumeButton.h"
#include "Pravella/UI_VolumeProgress.h"
#include "UI_PravellaSystem.h"
#include "Video/UI_ImageVideo.h"

#include "PravellaTestTypes.generated.h"

// Takes the lesson player's place for its volume components: adopts them on construction as the player does and
// offers the player's volume operations. Opens the protected lookups to the tests.
UCLASS()
class UVolumeStandInPlayer : public UUI_PravellaSystem
{
	GENERATED_BODY()

public:
	using UUI_PravellaBase::GetNameWidgetAnimation;
	using UUI_PravellaBase::GetParentSystem;
	using UUI_PravellaSystem::IsNetURL;

	void NativeConstruct() override
	{
		Super::NativeConstruct();
		VolumeButton->SetParent(this);
		VolumeProgress->SetParent(this);
		VolumeProgress->SetChangedVolumeValue(GetVolumeMultiplier());
	}

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UUI_VolumeButton> VolumeButton;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UUI_VolumeProgress> VolumeProgress;
};

// A plain image video whose media player and preparations the tests can see.
UCLASS()
class UImageVideoTestWidget : public UUI_ImageVideo
{
	GENERATED_BODY()

public:
	void InitMadia() override
	{
		Super::InitMadia();
		++InitMadiaCount;
	}

	UMediaPlayer* GetMediaPlayer() const { return MediaPlayer; }
	void SetMediaPlayer(UMediaPlayer* InMediaPlayer) { MediaPlayer = InMediaPlayer; }

	int32 InitMadiaCount = 0;
};
