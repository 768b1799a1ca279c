#pragma once

#include "CoreMinimal.h"
#include "Modules/ModuleManager.h"

class UMediaPlayer;

class FPravellaModule : public IModuleInterface
{
public:
	void StartupModule() override;
	void ShutdownModule() override;
};

namespace Pravella
{
// Loads the media player asset named MediaPlayerName (no folder, no extension). AssetPath may hold the package
// path of an earlier call, which is tried first; otherwise the project's content folder is searched for the
// asset file and AssetPath receives the package path found, to keep for the next call. Only assets inside the
// content folder are loaded. Null when none loads; a name that no file has is reported on screen.
PRAVELLA_API UMediaPlayer* LoadMediaPlayer(const FString& MediaPlayerName, FString& AssetPath);
} // namespace Pravella
