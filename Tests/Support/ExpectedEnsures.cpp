#include "ExpectedEnsures.h"

#include "Headless/EnsureHandler.h"

#include <gtest/gtest.h>

struct FEnsureCounter
{
	static inline FExpectedEnsures* Innermost = nullptr;

	static void OnEnsureFailed(const char* Expression, const char* File, int Line)
	{
		if (Innermost)
		{
			++Innermost->Count;
			return;
		}
		ADD_FAILURE_AT(File, Line) << "Ensure condition failed: " << Expression;
	}
};

FExpectedEnsures::FExpectedEnsures() : Outer(FEnsureCounter::Innermost)
{
	FEnsureCounter::Innermost = this;
}

FExpectedEnsures::~FExpectedEnsures()
{
	FEnsureCounter::Innermost = Outer;
}

namespace
{
// Installed before main runs, so that it covers every test of the program.
const bool bEnsureHandlerInstalled = (UE::Assert::SetEnsureHandler(&FEnsureCounter::OnEnsureFailed), true);
} // namespace
