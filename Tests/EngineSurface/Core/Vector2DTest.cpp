#include "Math/Vector2D.h"

#include <gtest/gtest.h>

TEST(Vector2D, ArithmeticAndComparison)
{
	FVector2D Position(3.0, 4.0);
	EXPECT_EQ(Position.Size(), 5.0);
	EXPECT_EQ(Position + FVector2D::UnitVector, FVector2D(4.0, 5.0));
	EXPECT_EQ(Position - Position, FVector2D::ZeroVector);
	EXPECT_EQ(2.0 * Position, FVector2D(6.0, 8.0));
	EXPECT_EQ(Position / 2.0, FVector2D(1.5, 2.0));
	Position += FVector2D(1.0, -1.0);
	EXPECT_EQ(Position, FVector2D(4.0, 3.0));
	EXPECT_TRUE(Position.Equals(FVector2D(4.00001, 2.99999)));
	EXPECT_FALSE(Position.Equals(FVector2D(4.001, 3.0)));
	EXPECT_NE(Position, FVector2D(4.00001, 3.0));
	EXPECT_EQ(FVector2D(), FVector2D::ZeroVector);
	EXPECT_EQ(FVector2D(FIntPoint(2, -3)), FVector2D(2.0, -3.0));
	EXPECT_EQ(FVector2D::ZeroVector.GetSafeNormal(), FVector2D::ZeroVector);
}

TEST(Vector2D, ToStringShowsThreeDecimals)
{
	EXPECT_EQ(FVector2D(1.0, -2.5).ToString(), TEXT("X=1.000 Y=-2.500"));
	EXPECT_EQ(FIntPoint(1, -2).ToString(), TEXT("X=1 Y=-2"));
}
