#include "Components/ContentWidget.h"

UPanelSlot* UContentWidget::SetContent(UWidget* Content)
{
	ClearChildren();
	return Content ? AddChild(Content) : nullptr;
}
