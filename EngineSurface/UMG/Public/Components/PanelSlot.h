#pragma once

#include "CoreMinimal.h"
#include "Components/Visual.h"

#include "PanelSlot.generated.h"

class UPanelWidget;
class UWidget;

// Holds one child of a panel and the layout the panel gives it.
UCLASS()
class UMG_API UPanelSlot : public UVisual
{
	GENERATED_BODY()

public:
	UPROPERTY(Transient)
	TObjectPtr<UPanelWidget> Parent;

	UPROPERTY(Transient)
	TObjectPtr<UWidget> Content;
};
