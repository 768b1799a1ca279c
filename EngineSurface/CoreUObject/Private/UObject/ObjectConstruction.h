#pragma once

#include "UObject/UObjectGlobals.h"

// Hands the class, name and outer of the object being made to UObject's constructor, which runs before the
// derived constructors, so that they can already ask for the outer or the world.
struct FObjectConstruction
{
	static thread_local const FStaticConstructObjectParameters* Pending;
	static void SetClass(UObject* Object, UClass* Class) { Object->ClassPrivate = Class; }
};
