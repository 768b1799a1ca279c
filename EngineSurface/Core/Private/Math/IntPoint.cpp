#include "Math/IntPoint.h"

#include <cmath>

const FIntPoint FIntPoint::ZeroValue(0, 0);
const FIntPoint FIntPoint::NoneValue(INDEX_NONE, INDEX_NONE);

int32 FIntPoint::Size() const
{
	return int32(std::sqrt(double(int64(X) * X + int64(Y) * Y)));
}
