#pragma once

#include <cstddef>
#include <cstdint>

// Fixed-width types under the engine's names.
using int8 = std::int8_t;
using int16 = std::int16_t;
using int32 = std::int32_t;
using int64 = std::int64_t;
using uint8 = std::uint8_t;
using uint16 = std::uint16_t;
using uint32 = std::uint32_t;
using uint64 = std::uint64_t;
using SIZE_T = std::size_t;
using SSIZE_T = std::ptrdiff_t;
using UPTRINT = std::uintptr_t;

// TCHAR is a UTF-16 code unit on every platform we build for, as on Windows.
using TCHAR = char16_t;
using ANSICHAR = char;
using UTF8CHAR = char8_t;
using UTF16CHAR = char16_t;
using UTF32CHAR = char32_t;

#define TEXT_PASTE(x) u##x
#define TEXT(x) TEXT_PASTE(x)

#define FORCEINLINE inline __attribute__((always_inline))
#define FORCENOINLINE __attribute__((noinline))
#define DLLEXPORT __attribute__((visibility("default")))
#define DLLIMPORT __attribute__((visibility("default")))

#define INDEX_NONE (-1)
#define UE_DEPRECATED(Version, Message)                                                                                \
	[[deprecated(Message " Please update your code to the new API before upgrading to the next release, otherwise "    \
	                     "your project will no longer compile.")]]

#define UE_ARRAY_COUNT(Array) (sizeof(Array) / sizeof((Array)[0]))

#ifndef CORE_API
#define CORE_API DLLEXPORT
#endif
