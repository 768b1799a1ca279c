#include "BulletChat/BulletChatSave.h"

#include "Kismet/GameplayStatics.h"

namespace BulletChatSave
{
static const FString SlotName = TEXT("BULLETCHAT_SGSLOT");
static constexpr int32 UserIndex = 0;

static constexpr int32 DefaultFontSize = 24;
static constexpr float DefaultSpeedScale = 1.0f;
static constexpr bool bDefaultIsOpened = true;
} // namespace BulletChatSave

void UBulletChatSave::CreateSlotIfNotExist()
{
	if (Cast<UBulletChatSave>(UGameplayStatics::LoadGameFromSlot(BulletChatSave::SlotName, BulletChatSave::UserIndex)))
	{
		return;
	}
	// A missing slot and a slot holding another class are both replaced with the first-use values.
	UBulletChatSave* NewSave =
	    Cast<UBulletChatSave>(UGameplayStatics::CreateSaveGameObject(UBulletChatSave::StaticClass()));
	if (!NewSave)
	{
		return;
	}
	NewSave->FontSize = BulletChatSave::DefaultFontSize;
	NewSave->SpeedScale = BulletChatSave::DefaultSpeedScale;
	NewSave->bIsOpened = BulletChatSave::bDefaultIsOpened;
	UGameplayStatics::SaveGameToSlot(NewSave, BulletChatSave::SlotName, BulletChatSave::UserIndex);
}

UBulletChatSave* UBulletChatSave::LoadSlot()
{
	CreateSlotIfNotExist();
	return Cast<UBulletChatSave>(
	    UGameplayStatics::LoadGameFromSlot(BulletChatSave::SlotName, BulletChatSave::UserIndex));
}

int32 UBulletChatSave::LoadFontSize()
{
	const UBulletChatSave* Save = LoadSlot();
	return Save ? Save->FontSize : BulletChatSave::DefaultFontSize;
}

float UBulletChatSave::LoadSpeedScale()
{
	const UBulletChatSave* Save = LoadSlot();
	return Save ? Save->SpeedScale : BulletChatSave::DefaultSpeedScale;
}

bool UBulletChatSave::LoadIsOpend()
{
	const UBulletChatSave* Save = LoadSlot();
	return Save ? Save->bIsOpened : BulletChatSave::bDefaultIsOpened;
}

void UBulletChatSave::SaveFontSize(int32 InFontSize)
{
	if (UBulletChatSave* Save = LoadSlot())
	{
		Save->FontSize = InFontSize;
		UGameplayStatics::SaveGameToSlot(Save, BulletChatSave::SlotName, BulletChatSave::UserIndex);
	}
}

void UBulletChatSave::SaveSpeedScale(float InSpeedScale)
{
	if (UBulletChatSave* Save = LoadSlot())
	{
		Save->SpeedScale = InSpeedScale;
		UGameplayStatics::SaveGameToSlot(Save, BulletChatSave::SlotName, BulletChatSave::UserIndex);
	}
}

void UBulletChatSave::SaveIsOpend(bool bInIsOpened)
{
	if (UBulletChatSave* Save = LoadSlot())
	{
		Save->bIsOpened = bInIsOpened;
		UGameplayStatics::SaveGameToSlot(Save, BulletChatSave::SlotName, BulletChatSave::UserIndex);
	}
}
