#pragma once

#include "CoreMinimal.h"

// A widget's answer to an input event: handled events stop bubbling to the widgets beneath.
class FReply
{
public:
	static FReply Handled() { return FReply(true); }
	static FReply Unhandled() { return FReply(false); }
	bool IsEventHandled() const { return bIsHandled; }

private:
	explicit FReply(bool bInHandled) : bIsHandled(bInHandled) {}
	bool bIsHandled = false;
};
