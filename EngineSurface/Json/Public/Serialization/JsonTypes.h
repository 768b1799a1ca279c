#pragma once

#include "CoreMinimal.h"

// What TJsonReader::ReadNext found.
enum class EJsonNotation
{
	ObjectStart,
	ObjectEnd,
	ArrayStart,
	ArrayEnd,
	Boolean,
	String,
	Number,
	Null,
	Error
};
