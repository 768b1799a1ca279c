#pragma once

#include "CoreMinimal.h"
#include "GameFramework/SaveGame.h"

#include "DanmakuSave.generated.h"

// The local user's danmaku display settings, kept in one save slot. Every call reads the slot from storage.
UCLASS()
class SKORVANE_API UDanmakuSave : public USaveGame
{
	GENERATED_BODY()

public:
	static int32 LoadFontSize();
	static float LoadSpeedScale();
	static bool LoadIsOpend();

	static void SaveFontSize(int32 InFontSize);
	static void SaveSpeedScale(float InSpeedScale);
	static void SaveIsOpend(bool bInIsOpened);

private:
	static void CreateSlotIfNotExist();
	// Null when the slot still cannot be read after CreateSlotIfNotExist.
	static UDanmakuSave* LoadSlot();

	UPROPERTY()
	int32 FontSize = 0;

	UPROPERTY()
	float SpeedScale = 0.0f;

	UPROPERTY()
	bool bIsOpened = false;
};
