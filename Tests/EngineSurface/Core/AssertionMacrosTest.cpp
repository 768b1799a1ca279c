#include "CoreMinimal.h"

#include "ExpectedEnsures.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace
{
bool FailAnEnsure(int Value)
{
	return ensure(Value > 0);
}
} // namespace

TEST(AssertionMacros, AFailedEnsureFailsTheTestUnlessExpected)
{
	EXPECT_NONFATAL_FAILURE(FailAnEnsure(0), "Ensure condition failed: Value > 0");
	// Reported once per call site, as in the engine, but every failure still counts against the test.
	EXPECT_NONFATAL_FAILURE(FailAnEnsure(-1), "Ensure condition failed: Value > 0");

	FExpectedEnsures Ensures;
	EXPECT_FALSE(FailAnEnsure(0));
	EXPECT_TRUE(FailAnEnsure(1));
	EXPECT_EQ(Ensures.Num(), 1);
}
