#include "Video/UI_FullScreenPlaceholder.h"

#include "UI_PravellaSystem.h"

void UUI_FullScreenPlaceholder::NativeDestruct()
{
	Super::NativeDestruct();
	// Cleared first: the player's own return removes this placeholder too.
	if (UUI_PravellaSystem* Owner = Player)
	{
		Player = nullptr;
		Owner->OnFullScreenPanelRemoved();
	}
}
