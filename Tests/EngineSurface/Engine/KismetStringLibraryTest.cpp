#include "Kismet/KismetStringLibrary.h"

#include <gtest/gtest.h>

TEST(KismetStringLibrary, GetSubstringClampsToTheString)
{
	const FString Source(TEXT("abcdef"));
	EXPECT_TRUE(UKismetStringLibrary::GetSubstring(Source).Equals(TEXT("a")));
	EXPECT_TRUE(UKismetStringLibrary::GetSubstring(Source, 2, 3).Equals(TEXT("cde")));
	EXPECT_TRUE(UKismetStringLibrary::GetSubstring(Source, 4, 100).Equals(TEXT("ef")));
	EXPECT_TRUE(UKismetStringLibrary::GetSubstring(Source, -2, 4).Equals(TEXT("ab")));
	EXPECT_TRUE(UKismetStringLibrary::GetSubstring(Source, 0, MAX_int32).Equals(Source));
	EXPECT_TRUE(UKismetStringLibrary::GetSubstring(Source, MAX_int32, MAX_int32).IsEmpty());
	EXPECT_TRUE(UKismetStringLibrary::GetSubstring(Source, 6, 1).IsEmpty());
	EXPECT_TRUE(UKismetStringLibrary::GetSubstring(Source, 1, 0).IsEmpty());
	EXPECT_TRUE(UKismetStringLibrary::GetSubstring(Source, 1, -3).IsEmpty());
	EXPECT_TRUE(UKismetStringLibrary::GetSubstring(FString(), 0, 5).IsEmpty());
}
