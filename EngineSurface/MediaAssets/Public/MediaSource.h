#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

#include "MediaSource.generated.h"

// Where a media player gets its media from.
UCLASS(Abstract)
class MEDIAASSETS_API UMediaSource : public UObject
{
	GENERATED_BODY()

public:
	// The URL a player opens for this source ("file:///..." for local files).
	UFUNCTION(BlueprintCallable, Category = "Media|MediaSource")
	virtual FString GetUrl() const;

	// Whether the source can be opened at all; a player refuses to open a source that is not valid.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaSource")
	virtual bool Validate() const;
};
