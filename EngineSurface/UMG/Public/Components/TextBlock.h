#pragma once

#include "CoreMinimal.h"
#include "Components/Widget.h"
#include "Fonts/SlateFontInfo.h"
#include "Styling/SlateColor.h"

#include "TextBlock.generated.h"

// A line (or lines, split at "\n") of text. Measured with the font's real metrics; not hit by the pointer
// itself by default, as in the designer.
UCLASS()
class UMG_API UTextBlock : public UWidget
{
	GENERATED_BODY()

public:
	UTextBlock();

	UPROPERTY()
	FText Text;

	FSlateFontInfo Font;
	FSlateColor ColorAndOpacity = FSlateColor(FLinearColor::White);

	virtual void SetText(FText InText) { Text = InText; }
	FText GetText() const { return Text; }
	void SetFont(FSlateFontInfo InFontInfo) { Font = InFontInfo; }
	const FSlateFontInfo& GetFont() const { return Font; }
	void SetColorAndOpacity(FSlateColor InColorAndOpacity) { ColorAndOpacity = InColorAndOpacity; }
	const FSlateColor& GetColorAndOpacity() const { return ColorAndOpacity; }

protected:
	FVector2D ComputeDesiredSize() const override;
	void OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const override;

private:
	// The engine keeps a text block's layout until its text or font changes; shaping every character again at each
	// layout pass would cost most of a frame with a screen full of comments.
	mutable FString MeasuredText;
	mutable FSlateFontInfo MeasuredFont;
	mutable FVector2D MeasuredSize;
	mutable bool bMeasured = false;
};
