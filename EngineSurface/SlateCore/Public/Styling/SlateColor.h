#pragma once

#include "CoreMinimal.h"

// A colour that is either specified or taken from the foreground colour of the parent.
struct FSlateColor
{
	FSlateColor() = default;
	FSlateColor(const FLinearColor& InColor) : SpecifiedColor(InColor), bIsSpecified(true) {}

	static FSlateColor UseForeground() { return FSlateColor(); }

	// The specified colour; white for a colour that uses the foreground, as the headless foreground is white.
	const FLinearColor& GetSpecifiedColor() const { return SpecifiedColor; }
	bool IsColorSpecified() const { return bIsSpecified; }

	bool operator==(const FSlateColor& Other) const
	{
		return bIsSpecified == Other.bIsSpecified && SpecifiedColor == Other.SpecifiedColor;
	}

private:
	FLinearColor SpecifiedColor = FLinearColor::White;
	bool bIsSpecified = false;
};
