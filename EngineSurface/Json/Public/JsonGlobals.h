#pragma once

#include "CoreMinimal.h"

#ifndef JSON_API
#define JSON_API DLLEXPORT
#endif

JSON_API DECLARE_LOG_CATEGORY_EXTERN(LogJson, Log, All)
