#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintFunctionLibrary.h"
#include "GameFramework/SaveGame.h"

#include "GameplayStatics.generated.h"

// Save slots. A slot is the file "<SlotName>.sav" in FPaths::ProjectSavedDir()/SaveGames/, or, for a user index
// other than 0, in the subfolder named by the index. A slot name must be a plain file name: names that hold a
// path separator, a drive colon, a control character, or are "." or "..", are refused.
UCLASS()
class ENGINE_API UGameplayStatics : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	// A new object of the class with the class's defaults; null for no class.
	static USaveGame* CreateSaveGameObject(TSubclassOf<USaveGame> SaveGameClass);
	// Replaces the slot as a whole: the old slot stays readable if writing fails. True when saved.
	static bool SaveGameToSlot(USaveGame* SaveGameObject, const FString& SlotName, const int32 UserIndex);
	// Null, with a warning in the log, when the slot is missing or its file is not a complete save game of a
	// known save-game class.
	static USaveGame* LoadGameFromSlot(const FString& SlotName, const int32 UserIndex);
	static bool DoesSaveGameExist(const FString& SlotName, const int32 UserIndex);
	// True when the slot existed and is gone.
	static bool DeleteGameInSlot(const FString& SlotName, const int32 UserIndex);
};
