#pragma once

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"

#include "UI_FullScreenPlaceholder.generated.h"

class UUI_PravellaSystem;

// Holds the lesson player's place in its panel while the player fills the viewport: the siblings keep their
// indices, and when the host takes the panel off screen the player hears of it and leaves the screen too.
UCLASS()
class UUI_FullScreenPlaceholder : public UUserWidget
{
	GENERATED_BODY()

public:
	void SetPlayer(UUI_PravellaSystem* InPlayer) { Player = InPlayer; }

protected:
	// UUserWidget
	void NativeDestruct() override;
	// --

private:
	UPROPERTY()
	TObjectPtr<UUI_PravellaSystem> Player;
};
