#include "Pravella/UI_VolumeProgress.h"

#include "Components/Slider.h"
#include "Components/TextBlock.h"
#include "UI_PravellaSystem.h"

void UUI_VolumeProgress::SetChangedVolumeValue(float InValue)
{
	// Tenths, truncated toward zero. A multiplier set from script may be anything; keep the conversion defined.
	const float Tenths = InValue * 10.0f;
	const int32 Shown = FMath::IsFinite(Tenths) ? static_cast<int32>(FMath::Clamp(Tenths, -1.0e9f, 1.0e9f)) : 0;
	VolumeValue->SetText(FText::FromString(FString::Printf(TEXT("%02d"), Shown)));
	VolumeProgress->SetValue(InValue);
}

void UUI_VolumeProgress::NativeConstruct()
{
	Super::NativeConstruct();
	// Construction runs each time the widget goes on screen; the handler is bound once.
	VolumeProgress->OnValueChanged.AddUniqueDynamic(this, &UUI_VolumeProgress::ChangedVolumeValue);
}

void UUI_VolumeProgress::NativeOnMouseLeave(const FPointerEvent& InMouseEvent)
{
	Super::NativeOnMouseLeave(InMouseEvent);
	if (UUI_PravellaSystem* PravellaSystem = GetParentSystem())
	{
		PravellaSystem->CloseVolumeAnim();
	}
}

void UUI_VolumeProgress::ChangedVolumeValue(float InValue)
{
	SetChangedVolumeValue(InValue);
	if (UUI_PravellaSystem* PravellaSystem = GetParentSystem())
	{
		PravellaSystem->ChangedVolumeValue(InValue);
	}
}
