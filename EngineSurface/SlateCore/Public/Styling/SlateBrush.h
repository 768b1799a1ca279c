#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "Styling/SlateColor.h"

#include "SlateBrush.generated.h"

// How an image or a background is drawn. The headless painter draws a brush as a box of its tint.
USTRUCT()
struct FSlateBrush
{
	GENERATED_BODY()

	FVector2D ImageSize = FVector2D(32.0, 32.0);
	FSlateColor TintColor = FSlateColor(FLinearColor::White);

	UObject* GetResourceObject() const { return ResourceObject; }
	void SetResourceObject(UObject* InResourceObject) { ResourceObject = InResourceObject; }

private:
	// Reflected, so that the widget holding the brush keeps its material alive.
	UPROPERTY()
	TObjectPtr<UObject> ResourceObject;
};
