#pragma once

#include "UObject/UObjectBase.h"
#include "UObject/ObjectPtr.h"
#include "UObject/WeakObjectPtrTemplates.h"
#include "UObject/Class.h"
#include "UObject/GarbageCollection.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/ObjectInitializer.h"
#include "Templates/Casts.h"
#include "Templates/SubclassOf.h"
#include "UObject/ScriptDelegates.h"
#include "UObject/PropertyTypes.h"
