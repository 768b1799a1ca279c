#pragma once

#include "CoreMinimal.h"

namespace EUMGSequencePlayMode
{
enum Type : int
{
	// From the start to the end.
	Forward,
	// From the end to the start.
	Reverse,
	// Forward, then back again; each way counts as one loop.
	PingPong
};
} // namespace EUMGSequencePlayMode
