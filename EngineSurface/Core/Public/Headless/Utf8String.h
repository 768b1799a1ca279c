#pragma once

#include "Containers/UnrealString.h"

#include <string>

// UTF-8 for the C runtime, the file system and test output: the headless build's counterpart of the engine's
// string conversion macros, for code outside the modules.
CORE_API std::string ToUtf8(const FString& String);
CORE_API FString FromUtf8(const std::string& Text);
