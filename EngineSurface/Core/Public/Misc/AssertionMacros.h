#pragma once

#include "HAL/Platform.h"

namespace UE::Assert
{
// Reports a failed check and aborts; the engine does the same in every build configuration we run.
[[noreturn]] CORE_API void CheckFailed(const char* Expression, const char* File, int Line, const char* Message);
// Reports a failed ensure once per call site; returns false so the caller can take its fallback path.
CORE_API bool EnsureFailed(const char* Expression, const char* File, int Line, const char* Message, bool& bReported);
} // namespace UE::Assert

#define check(Expr) ((Expr) ? (void)0 : UE::Assert::CheckFailed(#Expr, __FILE__, __LINE__, ""))
#define checkf(Expr, Message, ...) ((Expr) ? (void)0 : UE::Assert::CheckFailed(#Expr, __FILE__, __LINE__, "see log"))
#define checkNoEntry() UE::Assert::CheckFailed("unreachable", __FILE__, __LINE__, "")
#define verify(Expr) check(Expr)
#define ensure(Expr)                                                                                                   \
	((Expr) ||                                                                                                         \
	 [](const char* File, int Line)                                                                                    \
	 {                                                                                                                 \
		 static bool bReported = false;                                                                                \
		 return UE::Assert::EnsureFailed(#Expr, File, Line, "", bReported);                                            \
	 }(__FILE__, __LINE__))
#define ensureMsgf(Expr, Message, ...) ensure(Expr)
#define ensureAlways(Expr) ensure(Expr)
