#pragma once

#include "HAL/Platform.h"

namespace UE::Assert
{
// Called for every failed ensure, not only the first at a call site, so that a test harness can fail the test in
// which it fired. Returns the handler it replaces; null restores reporting only.
using FEnsureHandler = void (*)(const char* Expression, const char* File, int Line);
CORE_API FEnsureHandler SetEnsureHandler(FEnsureHandler Handler);
} // namespace UE::Assert
