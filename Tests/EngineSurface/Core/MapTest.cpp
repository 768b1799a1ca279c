#include "Containers/Map.h"
#include "Containers/UnrealString.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

TEST(Map, AgreesWithAReferenceMapThroughRandomAddsAndRemoves)
{
	TMap<int32, int32> Map;
	std::map<int32, int32> Reference;
	std::mt19937 Random(42);
	for (int32 Step = 0; Step < 20000; ++Step)
	{
		// A small key range makes probe runs collide and wrap, which is where removal goes wrong.
		const int32 Key = int32(Random() % 300);
		switch (Random() % 3)
		{
			case 0:
				Map.Add(Key, Step);
				Reference[Key] = Step;
				break;
			case 1:
				ASSERT_EQ(Map.Remove(Key), int32(Reference.erase(Key)));
				break;
			default:
			{
				const int32* Found = Map.Find(Key);
				const auto Expected = Reference.find(Key);
				ASSERT_EQ(Found != nullptr, Expected != Reference.end()) << "key " << Key << " at step " << Step;
				if (Found)
				{
					ASSERT_EQ(*Found, Expected->second);
				}
			}
		}
		ASSERT_EQ(Map.Num(), int32(Reference.size()));
	}
	for (const auto& [Key, Value] : Reference)
	{
		ASSERT_NE(Map.Find(Key), nullptr);
		EXPECT_EQ(*Map.Find(Key), Value);
	}
}

TEST(Map, KeepsInsertionOrderAndTheLastValueOfADuplicateKey)
{
	TMap<FString, int32> Map;
	Map.Add(TEXT("b"), 1);
	Map.Add(TEXT("a"), 2);
	Map.Add(TEXT("B"), 3);
	ASSERT_EQ(Map.Num(), 2) << "string keys compare without regard to case";
	TArray<FString> Keys;
	Map.GetKeys(Keys);
	EXPECT_EQ(Keys, TArray<FString>({TEXT("b"), TEXT("a")}));
	EXPECT_EQ(Map.FindRef(TEXT("b")), 3);
	EXPECT_EQ(Map.FindRef(TEXT("missing")), 0);
}

TEST(Map, EmptyResetAndMoveLeaveUsableMaps)
{
	TMap<int32, FString> Map;
	for (int32 Index = 0; Index < 100; ++Index)
	{
		Map.Add(Index, FString::FromInt(Index));
	}
	TMap<int32, FString> Moved = std::move(Map);
	EXPECT_EQ(Moved.Num(), 100);
	EXPECT_EQ(Map.Num(), 0);
	EXPECT_EQ(Map.Find(5), nullptr);
	Map.Add(5, TEXT("five"));
	EXPECT_EQ(Map.FindChecked(5), TEXT("five"));
	Moved.Reset();
	EXPECT_EQ(Moved.Find(50), nullptr);
	Moved.Add(50, TEXT("fifty"));
	EXPECT_EQ(Moved.FindChecked(50), TEXT("fifty"));
	Moved.Empty();
	EXPECT_TRUE(Moved.IsEmpty());
}
