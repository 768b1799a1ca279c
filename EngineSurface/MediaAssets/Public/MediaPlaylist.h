#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

#include "MediaPlaylist.generated.h"

class UMediaSource;

// An ordered list of media sources; a media player opens its entries by index.
UCLASS()
class MEDIAASSETS_API UMediaPlaylist : public UObject
{
	GENERATED_BODY()

public:
	// Appends a source; false for null.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlaylist")
	bool Add(UMediaSource* MediaSource);

	// Appends a local file as a file media source; false when the file does not exist.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlaylist")
	bool AddFile(const FString& FilePath);

	// Appends a URL as a stream media source; false for an empty URL. Duplicates are kept.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlaylist")
	bool AddUrl(const FString& Url);

	// The entry at Index, or null outside the list.
	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlaylist")
	UMediaSource* Get(int32 Index);

	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlaylist")
	bool Remove(UMediaSource* MediaSource);

	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlaylist")
	bool RemoveAt(int32 Index);

	UFUNCTION(BlueprintCallable, Category = "Media|MediaPlaylist")
	int32 Num() const { return Items.Num(); }

private:
	UPROPERTY()
	TArray<TObjectPtr<UMediaSource>> Items;
};
