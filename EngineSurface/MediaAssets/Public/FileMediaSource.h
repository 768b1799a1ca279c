#pragma once

#include "CoreMinimal.h"
#include "MediaSource.h"

#include "FileMediaSource.generated.h"

// A media file on the local disk.
UCLASS()
class MEDIAASSETS_API UFileMediaSource : public UMediaSource
{
	GENERATED_BODY()

public:
	// The file: an absolute path, a path relative to the project's Content folder, or a "file://" URL.
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "File")
	FString FilePath;

	UFUNCTION(BlueprintCallable, Category = "Media|FileMediaSource")
	void SetFilePath(const FString& Path);

	// FilePath as an absolute, normalised path.
	FString GetFullPath() const;

	FString GetUrl() const override;
	// True when the file exists, or when it is described in FMediaSourceRegistry.
	bool Validate() const override;
};
