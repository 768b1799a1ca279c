#include "DanmakuSave.h"

#include "DanmakuDataStruct.h"
#include "Kismet/GameplayStatics.h"

namespace DanmakuSave
{
static const FString SlotName = TEXT("Danmaku_SGSLOT");
static constexpr int32 UserIndex = 0;

static constexpr int32 DefaultFontSize = FDanmakuData::NormalFontSize;
static constexpr float DefaultSpeedScale = 1.0f;
static constexpr bool bDefaultIsOpened = true;
} // namespace DanmakuSave

void UDanmakuSave::CreateSlotIfNotExist()
{
	if (Cast<UDanmakuSave>(UGameplayStatics::LoadGameFromSlot(DanmakuSave::SlotName, DanmakuSave::UserIndex)))
	{
		return;
	}
	// A missing slot and a slot holding another class are both replaced with the first-use values.
	UDanmakuSave* NewSave = Cast<UDanmakuSave>(UGameplayStatics::CreateSaveGameObject(UDanmakuSave::StaticClass()));
	if (!NewSave)
	{
		return;
	}
	NewSave->FontSize = DanmakuSave::DefaultFontSize;
	NewSave->SpeedScale = DanmakuSave::DefaultSpeedScale;
	NewSave->bIsOpened = DanmakuSave::bDefaultIsOpened;
	UGameplayStatics::SaveGameToSlot(NewSave, DanmakuSave::SlotName, DanmakuSave::UserIndex);
}

UDanmakuSave* UDanmakuSave::LoadSlot()
{
	CreateSlotIfNotExist();
	return Cast<UDanmakuSave>(UGameplayStatics::LoadGameFromSlot(DanmakuSave::SlotName, DanmakuSave::UserIndex));
}

int32 UDanmakuSave::LoadFontSize()
{
	const UDanmakuSave* Save = LoadSlot();
	return Save ? Save->FontSize : DanmakuSave::DefaultFontSize;
}

float UDanmakuSave::LoadSpeedScale()
{
	const UDanmakuSave* Save = LoadSlot();
	return Save ? Save->SpeedScale : DanmakuSave::DefaultSpeedScale;
}

bool UDanmakuSave::LoadIsOpend()
{
	const UDanmakuSave* Save = LoadSlot();
	return Save ? Save->bIsOpened : DanmakuSave::bDefaultIsOpened;
}

void UDanmakuSave::SaveFontSize(int32 InFontSize)
{
	if (UDanmakuSave* Save = LoadSlot())
	{
		Save->FontSize = InFontSize;
		UGameplayStatics::SaveGameToSlot(Save, DanmakuSave::SlotName, DanmakuSave::UserIndex);
	}
}

void UDanmakuSave::SaveSpeedScale(float InSpeedScale)
{
	if (UDanmakuSave* Save = LoadSlot())
	{
		Save->SpeedScale = InSpeedScale;
		UGameplayStatics::SaveGameToSlot(Save, DanmakuSave::SlotName, DanmakuSave::UserIndex);
	}
}

void UDanmakuSave::SaveIsOpend(bool bInIsOpened)
{
	if (UDanmakuSave* Save = LoadSlot())
	{
		Save->bIsOpened = bInIsOpened;
		UGameplayStatics::SaveGameToSlot(Save, DanmakuSave::SlotName, DanmakuSave::UserIndex);
	}
}
