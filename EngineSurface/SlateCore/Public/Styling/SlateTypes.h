#pragma once

#include "CoreMinimal.h"

enum class ECheckBoxState : uint8
{
	Unchecked,
	Checked,
	Undetermined
};
