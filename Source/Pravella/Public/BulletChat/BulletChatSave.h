#pragma once

#include "CoreMinimal.h"
#include "GameFramework/SaveGame.h"

#include "BulletChatSave.generated.h"

// The legacy bullet chat's display settings, kept in one save slot for host code. Every call reads the slot
// from storage; nothing is cached.
UCLASS()
class PRAVELLA_API UBulletChatSave : public USaveGame
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
	static UBulletChatSave* LoadSlot();

	UPROPERTY()
	int32 FontSize = 0;

	UPROPERTY()
	float SpeedScale = 0.0f;

	UPROPERTY()
	bool bIsOpened = false;
};
