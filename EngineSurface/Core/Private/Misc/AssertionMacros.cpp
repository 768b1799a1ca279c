#include "Misc/AssertionMacros.h"

#include "Headless/EnsureHandler.h"

#include <cstdio>
#include <cstdlib>

namespace UE::Assert
{
namespace
{
FEnsureHandler GEnsureHandler = nullptr;
}

FEnsureHandler SetEnsureHandler(FEnsureHandler Handler)
{
	const FEnsureHandler Previous = GEnsureHandler;
	GEnsureHandler = Handler;
	return Previous;
}

void CheckFailed(const char* Expression, const char* File, int Line, const char* Message)
{
	std::fprintf(stderr, "Assertion failed: %s [%s:%d] %s\n", Expression, File, Line, Message);
	std::fflush(stderr);
	std::abort();
}

bool EnsureFailed(const char* Expression, const char* File, int Line, const char* Message, bool& bReported)
{
	if (!bReported)
	{
		bReported = true;
		std::fprintf(stderr, "Ensure condition failed: %s [%s:%d] %s\n", Expression, File, Line, Message);
	}
	if (GEnsureHandler)
	{
		GEnsureHandler(Expression, File, Line);
	}
	return false;
}
} // namespace UE::Assert
