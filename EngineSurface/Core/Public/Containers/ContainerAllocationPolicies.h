#pragma once

#include "HAL/Platform.h"

enum class EAllowShrinking : uint8
{
	No,
	Yes
};
