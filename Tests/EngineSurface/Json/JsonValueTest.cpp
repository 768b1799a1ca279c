#include "Dom/JsonValue.h"

#include "Dom/JsonObject.h"

#include <gtest/gtest.h>

TEST(JsonValue, ConvertsBetweenNumbersStringsAndBooleans)
{
	EXPECT_TRUE(FJsonValueNumber(3.0).AsString().Equals(TEXT("3")));
	EXPECT_TRUE(FJsonValueNumber(-0.25).AsString().Equals(TEXT("-0.25")));
	EXPECT_EQ(FJsonValueString(TEXT("-7.5")).AsNumber(), -7.5);
	EXPECT_EQ(FJsonValueString(TEXT("1e3")).AsNumber(), 0.0);
	EXPECT_EQ(FJsonValueString(TEXT("")).AsNumber(), 0.0);
	EXPECT_TRUE(FJsonValueString(TEXT("True")).AsBool());
	EXPECT_TRUE(FJsonValueString(TEXT("2")).AsBool());
	EXPECT_FALSE(FJsonValueString(TEXT("nope")).AsBool());
	EXPECT_FALSE(FJsonValueNumber(0.0).AsBool());
	EXPECT_EQ(FJsonValueBoolean(true).AsNumber(), 1.0);
}

template <typename ValueType>
constexpr bool CanReadInt64 = requires(const ValueType& Value, int64& Out)
{
	Value.TryGetNumber(Out);
};

// The value classes override only the double overload, which hides the base class's others, as in the engine:
// the integer overloads are reached through the base class.
TEST(JsonValue, SmallIntegerTypesRefuseNumbersOutsideTheirRange)
{
	const auto Base = [](const FJsonValue& Value) -> const FJsonValue& { return Value; };
	int8 Int8 = 1;
	uint8 UInt8 = 1;
	int16 Int16 = 1;
	EXPECT_TRUE(Base(FJsonValueNumber(-128.0)).TryGetNumber(Int8));
	EXPECT_EQ(Int8, -128);
	EXPECT_FALSE(Base(FJsonValueNumber(127.6)).TryGetNumber(Int8));
	EXPECT_FALSE(Base(FJsonValueNumber(-0.6)).TryGetNumber(UInt8));
	EXPECT_TRUE(Base(FJsonValueNumber(-0.4)).TryGetNumber(UInt8));
	EXPECT_EQ(UInt8, 0);
	EXPECT_TRUE(Base(FJsonValueString(TEXT("300"))).TryGetNumber(Int16));
	EXPECT_EQ(Int16, 300);
	static_assert(!CanReadInt64<FJsonValueNumber> && !CanReadInt64<FJsonValueBoolean> && CanReadInt64<FJsonValue>,
	              "the derived classes hide the integer overloads");
}

TEST(JsonValue, WrongKindReadsAsEmpty)
{
	const FJsonValueNull Null;
	EXPECT_TRUE(Null.IsNull());
	EXPECT_TRUE(Null.AsString().IsEmpty());
	EXPECT_TRUE(Null.AsArray().IsEmpty());
	EXPECT_TRUE(Null.AsObject().IsValid());
	EXPECT_TRUE(Null.AsObject()->Values.IsEmpty());
	const TArray<TSharedPtr<FJsonValue>>* Array = nullptr;
	EXPECT_FALSE(FJsonValueString(TEXT("[]")).TryGetArray(Array));
}
