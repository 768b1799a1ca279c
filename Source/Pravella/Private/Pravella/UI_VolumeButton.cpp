#include "Pravella/UI_VolumeButton.h"

#include "Components/CheckBox.h"
#include "UI_PravellaSystem.h"

UUI_VolumeButton::UUI_VolumeButton(const FObjectInitializer& ObjectInitializer) : Super(ObjectInitializer) {}

void UUI_VolumeButton::NativeConstruct()
{
	Super::NativeConstruct();
	// Construction runs each time the widget goes on screen; the handler is bound once.
	VolumeButton->OnCheckStateChanged.AddUniqueDynamic(this, &UUI_VolumeButton::ClickedCheckBoxVolume);
}

void UUI_VolumeButton::NativeOnMouseEnter(const FGeometry& InGeometry, const FPointerEvent& InMouseEvent)
{
	Super::NativeOnMouseEnter(InGeometry, InMouseEvent);
	if (UUI_PravellaSystem* PravellaSystem = GetParentSystem())
	{
		PravellaSystem->OpenVolumeAnim();
	}
}

void UUI_VolumeButton::ClickedCheckBoxVolume(bool ClickedWidget)
{
	UUI_PravellaSystem* PravellaSystem = GetParentSystem();
	if (!PravellaSystem)
	{
		return;
	}
	PravellaSystem->ClickedCheckBoxVolume(ClickedWidget);
	if (ClickedWidget)
	{
		SavedVolumeMultiplier = PravellaSystem->GetVolumeMultiplier();
		PravellaSystem->SetVolumeMultiplier(0.0f);
	}
	else
	{
		PravellaSystem->SetVolumeMultiplier(SavedVolumeMultiplier);
	}
}
