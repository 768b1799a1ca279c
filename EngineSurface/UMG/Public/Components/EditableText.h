#pragma once

#include "CoreMinimal.h"
#include "Components/Widget.h"
#include "Fonts/SlateFontInfo.h"
#include "Styling/SlateColor.h"

#include "EditableText.generated.h"

DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FOnEditableTextChangedEvent, const FText&, Text);
DECLARE_DYNAMIC_MULTICAST_DELEGATE_TwoParams(FOnEditableTextCommittedEvent, const FText&, Text, ETextCommit::Type,
                                             CommitMethod);

// A one-line text field. A click gives it keyboard focus. OnTextChanged fires whenever the text changes, by
// SetText or by the user; each typed batch of text (one TypeText) and each backspace is one change. The text
// is committed on Enter (focus stays), when the user moves focus elsewhere and when focus is cleared.
UCLASS()
class UMG_API UEditableText : public UWidget
{
	GENERATED_BODY()

public:
	UPROPERTY()
	FText Text;

	UPROPERTY()
	FText HintText;

	UPROPERTY()
	bool IsReadOnly = false;

	FSlateFontInfo Font = FSlateFontInfo(FName(TEXT("Regular")), 12.0f);
	FSlateColor ColorAndOpacity = FSlateColor(FLinearColor::White);

	UPROPERTY(BlueprintAssignable)
	FOnEditableTextChangedEvent OnTextChanged;

	UPROPERTY(BlueprintAssignable)
	FOnEditableTextCommittedEvent OnTextCommitted;

	FText GetText() const { return Text; }
	// Raises OnTextChanged only when the text differs from the one held.
	void SetText(FText InText);
	void SetHintText(FText InHintText) { HintText = InHintText; }
	FText GetHintText() const { return HintText; }
	void SetIsReadOnly(bool bReadOnly) { IsReadOnly = bReadOnly; }
	bool GetIsReadOnly() const { return IsReadOnly; }
	void SetFont(FSlateFontInfo InFont) { Font = InFont; }
	const FSlateFontInfo& GetFont() const { return Font; }

	bool SupportsKeyboardFocus() const override { return true; }
	void HandleFocusLost(ETextCommit::Type Cause) override;
	void HandleTypedText(const FString& Typed) override;
	void HandleEnter() override;
	void HandleBackspace() override;

protected:
	FVector2D ComputeDesiredSize() const override;
	void OnPaint(FHeadlessPainter& Painter, const FGeometry& PaintGeometry, float Opacity) const override;
};
