#include "Math/Vector2D.h"

const FVector2D FVector2D::ZeroVector(0.0, 0.0);
const FVector2D FVector2D::UnitVector(1.0, 1.0);

FVector2D FVector2D::GetSafeNormal(double Tolerance) const
{
	const double SquareSum = SizeSquared();
	if (SquareSum > Tolerance)
	{
		return *this / FMath::Sqrt(SquareSum);
	}
	return ZeroVector;
}
