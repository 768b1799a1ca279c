#pragma once

#include "CoreMinimal.h"

// The module's own warnings: refused controls, documents and comments that do not read.
DECLARE_LOG_CATEGORY_EXTERN(LogSkorvane, Log, All);
