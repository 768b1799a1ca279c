#pragma once

#include "CoreMinimal.h"
#include "Components/PanelSlot.h"
#include "Layout/Margin.h"

#include "WrapBoxSlot.generated.h"

UCLASS()
class UMG_API UWrapBoxSlot : public UPanelSlot
{
	GENERATED_BODY()

public:
	FMargin Padding;

	void SetPadding(FMargin InPadding) { Padding = InPadding; }
};
