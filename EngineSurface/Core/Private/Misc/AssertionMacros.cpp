#include "Misc/AssertionMacros.h"

#include <cstdio>
#include <cstdlib>

namespace UE::Assert
{
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
	return false;
}
} // namespace UE::Assert
