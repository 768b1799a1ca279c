#include "Containers/UnrealString.h"

#include <gtest/gtest.h>

TEST(String, LengthCountsUtf16CodeUnits)
{
	const FString Emoji(u"a\U0001F600");
	EXPECT_EQ(Emoji.Len(), 3);
}
