#pragma once

#include "CoreMinimal.h"
#include "Components/Widget.h"
#include "Fonts/SlateFontInfo.h"

#include "ComboBoxString.generated.h"

DECLARE_DYNAMIC_MULTICAST_DELEGATE_TwoParams(FOnSelectionChangedEvent, FString, SelectedItem, ESelectInfo::Type,
                                             SelectionType);

// A drop-down list of strings. Selecting in code raises OnSelectionChanged with Direct, a user's click on an
// option with OnMouseClick; either only when the selection changes. A click on the box opens the list below
// it, a click on an option picks it and closes the list, a click elsewhere closes it.
UCLASS()
class UMG_API UComboBoxString : public UWidget
{
	GENERATED_BODY()

public:
	UPROPERTY()
	TArray<FString> DefaultOptions;

	UPROPERTY()
	FString SelectedOption;

	FSlateFontInfo Font = FSlateFontInfo(FName(TEXT("Regular")), 12.0f);

	UPROPERTY(BlueprintAssignable)
	FOnSelectionChangedEvent OnSelectionChanged;

	void AddOption(const FString& Option);
	bool RemoveOption(const FString& Option);
	int32 FindOptionIndex(const FString& Option) const;
	FString GetOptionAtIndex(int32 Index) const;
	int32 GetOptionCount() const { return DefaultOptions.Num(); }
	void ClearOptions();
	void ClearSelection() { SelectedOption.Empty(); }
	// An option that is not in the list changes nothing.
	void SetSelectedOption(FString Option);
	void SetSelectedIndex(int32 Index);
	FString GetSelectedOption() const { return SelectedOption; }
	int32 GetSelectedIndex() const { return FindOptionIndex(SelectedOption); }
	bool IsOpen() const { return bIsOpen; }

	// The open list: one row per option below the box, each as tall as the box.
	FGeometry GetOptionGeometry(int32 Index) const;
	// The option row under the screen position, INDEX_NONE when none (or the list is closed).
	int32 FindOptionAt(FVector2D ScreenPosition) const;
	void SelectByUser(int32 Index);
	void SetIsOpen(bool bOpen) { bIsOpen = bOpen; }
	void PaintOpenList(FHeadlessPainter& Painter) const;

	bool HandleMouseButtonDown(const FPointerEvent& Event) override;
	void HandleMouseButtonUp(const FPointerEvent& Event, bool bReleasedOverWidget) override;

protected:
	FVector2D ComputeDesiredSize() const override;
	void OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const override;
	void OnRemovedFromScreen() override { bIsOpen = false; }

private:
	void Select(const FString& Option, ESelectInfo::Type SelectionType);

	bool bIsOpen = false;
};
