#pragma once

#include "CoreMinimal.h"
#include "MediaSource.h"

#include "StreamMediaSource.generated.h"

// Media at a URL, typically a network stream.
UCLASS()
class MEDIAASSETS_API UStreamMediaSource : public UMediaSource
{
	GENERATED_BODY()

public:
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Stream")
	FString StreamUrl;

	FString GetUrl() const override { return StreamUrl; }
	// True when a media player can play StreamUrl.
	bool Validate() const override;
};
