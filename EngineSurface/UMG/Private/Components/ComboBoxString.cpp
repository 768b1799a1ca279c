#include "Components/ComboBoxString.h"

#include "Fonts/FontMeasure.h"
#include "Headless/HeadlessPainter.h"
#include "Headless/HeadlessViewport.h"

namespace
{
constexpr double ArrowWidth = 16.0;
} // namespace

void UComboBoxString::AddOption(const FString& Option)
{
	DefaultOptions.Add(Option);
}

bool UComboBoxString::RemoveOption(const FString& Option)
{
	const int32 Index = FindOptionIndex(Option);
	if (Index == INDEX_NONE)
	{
		return false;
	}
	DefaultOptions.RemoveAt(Index);
	if (Option.Equals(SelectedOption, ESearchCase::CaseSensitive))
	{
		ClearSelection();
	}
	return true;
}

int32 UComboBoxString::FindOptionIndex(const FString& Option) const
{
	return DefaultOptions.IndexOfByPredicate([&Option](const FString& Each)
	                                         { return Each.Equals(Option, ESearchCase::CaseSensitive); });
}

FString UComboBoxString::GetOptionAtIndex(int32 Index) const
{
	return DefaultOptions.IsValidIndex(Index) ? DefaultOptions[Index] : FString();
}

void UComboBoxString::ClearOptions()
{
	DefaultOptions.Empty();
	ClearSelection();
}

void UComboBoxString::SetSelectedOption(FString Option)
{
	if (FindOptionIndex(Option) != INDEX_NONE)
	{
		Select(Option, ESelectInfo::Direct);
	}
}

void UComboBoxString::SetSelectedIndex(int32 Index)
{
	if (DefaultOptions.IsValidIndex(Index))
	{
		Select(DefaultOptions[Index], ESelectInfo::Direct);
	}
}

void UComboBoxString::SelectByUser(int32 Index)
{
	bIsOpen = false;
	if (DefaultOptions.IsValidIndex(Index))
	{
		Select(DefaultOptions[Index], ESelectInfo::OnMouseClick);
	}
}

void UComboBoxString::Select(const FString& Option, ESelectInfo::Type SelectionType)
{
	if (Option.Equals(SelectedOption, ESearchCase::CaseSensitive))
	{
		return;
	}
	SelectedOption = Option;
	OnSelectionChanged.Broadcast(SelectedOption, SelectionType);
}

FGeometry UComboBoxString::GetOptionGeometry(int32 Index) const
{
	const FGeometry& Box = GetCachedGeometry();
	const double RowHeight = Box.GetLocalSize().Y;
	return Box.MakeChild(FVector2D(0.0, RowHeight * double(Index + 1)), Box.GetLocalSize());
}

int32 UComboBoxString::FindOptionAt(FVector2D ScreenPosition) const
{
	if (!bIsOpen)
	{
		return INDEX_NONE;
	}
	for (int32 Index = 0; Index < DefaultOptions.Num(); ++Index)
	{
		if (GetOptionGeometry(Index).IsUnderLocation(ScreenPosition))
		{
			return Index;
		}
	}
	return INDEX_NONE;
}

bool UComboBoxString::HandleMouseButtonDown(const FPointerEvent& Event)
{
	return true;
}

void UComboBoxString::HandleMouseButtonUp(const FPointerEvent& Event, bool bReleasedOverWidget)
{
	if (bReleasedOverWidget)
	{
		bIsOpen = !bIsOpen;
		FHeadlessViewport::Get().SetOpenComboBox(bIsOpen ? this : nullptr);
	}
}

FVector2D UComboBoxString::ComputeDesiredSize() const
{
	const FSlateFontMeasure& Measure = FSlateFontMeasure::Get();
	double Widest = 0.0;
	for (const FString& Option : DefaultOptions)
	{
		Widest = FMath::Max(Widest, Measure.Measure(Option, Font).X);
	}
	return FVector2D(Widest + ArrowWidth, Measure.GetMaxCharacterHeight(Font));
}

void UComboBoxString::OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const
{
	Painter.FillBox(PaintGeometry.GetAbsolutePosition(), PaintGeometry.GetLocalSize(), FLinearColor(0.1f, 0.1f, 0.1f),
	                Opacity);
	Painter.DrawText(SelectedOption, Font, PaintGeometry.GetAbsolutePosition(), FLinearColor::White, Opacity);
}

void UComboBoxString::PaintOpenList(FHeadlessPainter& Painter) const
{
	for (int32 Index = 0; Index < DefaultOptions.Num(); ++Index)
	{
		const FGeometry Row = GetOptionGeometry(Index);
		Painter.FillBox(Row.GetAbsolutePosition(), Row.GetLocalSize(), FLinearColor(0.2f, 0.2f, 0.2f));
		Painter.DrawText(DefaultOptions[Index], Font, Row.GetAbsolutePosition(), FLinearColor::White);
	}
}
