#pragma once

#include "CoreMinimal.h"

// Why an editable text committed its text.
namespace ETextCommit
{
enum Type : int
{
	Default = 0,
	OnEnter = 1,
	OnUserMovedFocus = 2,
	OnCleared = 3
};
} // namespace ETextCommit

// How a selection was made.
namespace ESelectInfo
{
enum Type : int
{
	OnKeyPress = 0,
	OnNavigation = 1,
	OnMouseClick = 2,
	Direct = 3
};
} // namespace ESelectInfo
