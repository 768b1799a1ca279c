#pragma once

#include "CoreMinimal.h"
#include "SoakOptions.h"

class FSoakRun;

// One soak: the full player's run or the legacy overlay's on the described lessons, then its figures. Exits on the
// first broken promise with a message saying which and when.
class FPlayerSoak
{
public:
	explicit FPlayerSoak(const FSoakOptions& InOptions);

	// The process exit code; the figures go to standard output.
	int32 Run();

private:
	void PrintFigures(const FSoakRun& SoakRun, double WallSeconds) const;

	FSoakOptions Options;
};
