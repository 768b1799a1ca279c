#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintFunctionLibrary.h"

#include "KismetStringLibrary.generated.h"

UCLASS()
class ENGINE_API UKismetStringLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	// The characters from StartIndex on, at most Length of them, with the range clamped to the string: a
	// negative start shortens the range, and a range outside the string gives an empty string.
	static FString GetSubstring(const FString& SourceString, int32 StartIndex = 0, int32 Length = 1);
};
