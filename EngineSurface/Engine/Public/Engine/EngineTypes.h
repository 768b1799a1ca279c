#pragma once

#include "CoreMinimal.h"

// Names one timer of a timer manager. A handle stays valid after its one-shot timer has fired; only
// ClearTimer and Invalidate make it invalid again.
struct FTimerHandle
{
	bool IsValid() const { return Handle != 0; }
	void Invalidate() { Handle = 0; }

	bool operator==(const FTimerHandle& Other) const { return Handle == Other.Handle; }
	bool operator!=(const FTimerHandle& Other) const { return Handle != Other.Handle; }

private:
	friend class FTimerManager;
	uint64 Handle = 0;
};
