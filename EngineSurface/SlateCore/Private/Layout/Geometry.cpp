#include "Layout/Geometry.h"

bool FGeometry::IsUnderLocation(FVector2D AbsolutePoint) const
{
	const FVector2D Local = AbsoluteToLocal(AbsolutePoint);
	return Local.X >= 0.0 && Local.Y >= 0.0 && Local.X < LocalSize.X && Local.Y < LocalSize.Y;
}
