#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

#include "WidgetAnimation.generated.h"

// One animated property of one widget, moved linearly from From to To over the animation. Properties:
// "RenderOpacity", "TranslationX", "TranslationY", and "Visibility" (From until the end, then To).
struct FWidgetAnimationTrack
{
	FName WidgetName;
	FName PropertyName;
	float From = 0.0f;
	float To = 0.0f;
};

// A designer animation of a widget blueprint, named "<DesignerName>_INST" in its generated class.
UCLASS()
class UMG_API UWidgetAnimation : public UObject
{
	GENERATED_BODY()

public:
	UPROPERTY()
	float Duration = 0.0f;

	TArray<FWidgetAnimationTrack> Tracks;

	float GetStartTime() const { return 0.0f; }
	float GetEndTime() const { return Duration; }
};
