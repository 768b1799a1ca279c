#pragma once

#include "CoreMinimal.h"
#include "PreviewOptions.h"

class FHeadlessApplication;
class UMediaPlayer;

// The lesson the preview plays: the bundled described one, a network URL with its description, or a local file,
// opened in the bundled media player asset.
class FPreviewMedia
{
public:
	// Opens the lesson and waits for it to be ready; false with the message.
	bool Open(FHeadlessApplication& App, const FPreviewOptions& Options, FString& OutError);

	UMediaPlayer* Player = nullptr;
	FString Url;
};
