#pragma once

#include "Containers/UnrealString.h"

#include <string>

// UTF-8 for the C runtime, the file system and test output: the headless build's counterpart of the engine's
// string conversion macros, for code outside the modules.
CORE_API std::string ToUtf8(const FString& String);
CORE_API FString FromUtf8(const std::string& Text);

namespace UE::String
{
// Widens the leading ASCII bytes of Data into Out, which has room for Length units; returns how many there were.
CORE_API size_t WidenAscii(const char* Data, size_t Length, char16_t* Out);
// Narrows the leading ASCII units of Data into Out, which has room for Length bytes; returns how many there were.
CORE_API size_t NarrowAscii(const char16_t* Data, size_t Length, char* Out);
} // namespace UE::String
