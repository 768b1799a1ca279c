#pragma once

#include "CoreMinimal.h"
#include "ViewerAction.h"

// A viewer script: timed steps, one a line, read from a small text format (see Content/Samples/README.md).
class FViewerScript
{
public:
	// Times run up to a day.
	static constexpr double MaxSeconds = 24.0 * 3600.0;

	// False with "FILE:LINE: what is wrong" for the first line at fault. Files named in the script are taken from
	// FilesFrom when it is set, else from the script's folder, and must lie inside that folder.
	bool Load(const FString& Path, FString& OutError);
	bool Parse(const FString& Text, const FString& BaseDirectory, FString& OutError);

	// "FILE:LINE" of a step, for messages about it.
	FString Where(const FViewerStep& Step) const;

	FString Path;
	FString FilesFrom;
	TArray<FViewerStep> Steps;
};
