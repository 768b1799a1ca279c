#pragma once

#include "UObject/UObjectBase.h"

// Handed to constructors that take one; the object's class, name and outer are already set when it runs.
class COREUOBJECT_API FObjectInitializer
{
public:
	static const FObjectInitializer& Get();
};
