#include "Components/EditableText.h"

#include "Fonts/FontMeasure.h"
#include "Headless/HeadlessPainter.h"

void UEditableText::SetText(FText InText)
{
	if (InText.ToString().Equals(Text.ToString(), ESearchCase::CaseSensitive))
	{
		return;
	}
	Text = InText;
	OnTextChanged.Broadcast(Text);
}

void UEditableText::HandleFocusLost(ETextCommit::Type Cause)
{
	OnTextCommitted.Broadcast(Text, Cause);
}

void UEditableText::HandleTypedText(const FString& Typed)
{
	if (IsReadOnly || Typed.IsEmpty())
	{
		return;
	}
	Text = FText::FromString(Text.ToString() + Typed);
	OnTextChanged.Broadcast(Text);
}

void UEditableText::HandleEnter()
{
	OnTextCommitted.Broadcast(Text, ETextCommit::OnEnter);
}

void UEditableText::HandleBackspace()
{
	const FString Current = Text.ToString();
	if (IsReadOnly || Current.IsEmpty())
	{
		return;
	}
	// A surrogate pair is one character to the user.
	const TCHAR Last = Current[Current.Len() - 1];
	const bool bPair = Current.Len() >= 2 && Last >= 0xDC00 && Last <= 0xDFFF && Current[Current.Len() - 2] >= 0xD800 &&
	                   Current[Current.Len() - 2] <= 0xDBFF;
	Text = FText::FromString(Current.LeftChop(bPair ? 2 : 1));
	OnTextChanged.Broadcast(Text);
}

FVector2D UEditableText::ComputeDesiredSize() const
{
	const FSlateFontMeasure& Measure = FSlateFontMeasure::Get();
	const FString& Shown = Text.IsEmpty() ? HintText.ToString() : Text.ToString();
	const FVector2D Size = Measure.Measure(Shown, Font);
	// One unit more for the caret after the last character.
	return FVector2D(Size.X + 1.0, FMath::Max(Size.Y, double(Measure.GetMaxCharacterHeight(Font))));
}

void UEditableText::OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const
{
	const FLinearColor Color = ColorAndOpacity.GetSpecifiedColor();
	if (Text.IsEmpty())
	{
		Painter.DrawText(HintText.ToString(), Font, PaintGeometry.GetAbsolutePosition(), Color, Opacity * 0.5f);
	}
	else
	{
		Painter.DrawText(Text.ToString(), Font, PaintGeometry.GetAbsolutePosition(), Color, Opacity);
	}
	if (HasKeyboardFocus())
	{
		const FSlateFontMeasure& Measure = FSlateFontMeasure::Get();
		const double CaretX = Measure.Measure(Text.ToString(), Font).X;
		Painter.FillBox(PaintGeometry.GetAbsolutePosition() + FVector2D(CaretX, 0.0),
		                FVector2D(1.0, Measure.GetMaxCharacterHeight(Font)), Color, Opacity);
	}
}
