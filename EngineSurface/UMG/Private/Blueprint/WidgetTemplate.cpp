#include "Blueprint/WidgetTemplate.h"

#include "Blueprint/UserWidget.h"
#include "Components/Border.h"
#include "Components/Button.h"
#include "Components/CanvasPanelSlot.h"
#include "Components/CheckBox.h"
#include "Components/ComboBoxString.h"
#include "Components/EditableText.h"
#include "Components/Image.h"
#include "Components/PanelWidget.h"
#include "Components/ProgressBar.h"
#include "Components/Slider.h"
#include "Components/TextBlock.h"
#include "Components/WrapBoxSlot.h"

DEFINE_LOG_CATEGORY_STATIC(LogWidgetAsset, Log, All);

namespace
{
bool ReadVector(const FAssetJsonValue& Value, FVector2D& Out)
{
	if (!Value.IsArray() || Value.Items.Num() != 2 || !Value.Items[0].IsNumber() || !Value.Items[1].IsNumber())
	{
		return false;
	}
	Out = FVector2D(Value.Items[0].Number, Value.Items[1].Number);
	return true;
}

// A number for all four sides, [horizontal, vertical] or [left, top, right, bottom].
bool ReadMargin(const FAssetJsonValue& Value, FMargin& Out)
{
	if (Value.IsNumber())
	{
		Out = FMargin(float(Value.Number));
		return true;
	}
	if (!Value.IsArray() || (Value.Items.Num() != 2 && Value.Items.Num() != 4) ||
	    Value.Items.ContainsByPredicate([](const FAssetJsonValue& Item) { return !Item.IsNumber(); }))
	{
		return false;
	}
	Out = Value.Items.Num() == 2 ? FMargin(float(Value.Items[0].Number), float(Value.Items[1].Number))
	                             : FMargin(float(Value.Items[0].Number), float(Value.Items[1].Number),
	                                       float(Value.Items[2].Number), float(Value.Items[3].Number));
	return true;
}

bool ReadColor(const FAssetJsonValue& Value, FLinearColor& Out)
{
	if (!Value.IsString())
	{
		return false;
	}
	Out = FLinearColor(FColor::FromHex(Value.String));
	return true;
}

bool ReadVisibility(const FAssetJsonValue& Value, ESlateVisibility& Out)
{
	if (Value.IsNumber() && Value.Number >= 0.0 && Value.Number <= 4.0)
	{
		Out = ESlateVisibility(uint8(Value.Number));
		return true;
	}
	if (!Value.IsString())
	{
		return false;
	}
	const int64 Found =
	    StaticEnum<ESlateVisibility>()->GetValueByName(FName(TEXT("ESlateVisibility::") + Value.String));
	if (Found == INDEX_NONE)
	{
		return false;
	}
	Out = ESlateVisibility(uint8(Found));
	return true;
}

void ApplySlot(UPanelSlot& Slot, const FAssetJsonValue& Layout, const FString& WidgetName)
{
	for (int32 Index = 0; Index < Layout.Keys.Num(); ++Index)
	{
		const FString& Key = Layout.Keys[Index];
		const FAssetJsonValue& Value = Layout.Items[Index];
		FVector2D Vector;
		FMargin Margin;
		bool bApplied = false;
		if (UCanvasPanelSlot* CanvasSlot = Cast<UCanvasPanelSlot>(&Slot))
		{
			if (Key == TEXT("Position") && ReadVector(Value, Vector))
			{
				CanvasSlot->SetPosition(Vector);
				bApplied = true;
			}
			else if (Key == TEXT("Size") && ReadVector(Value, Vector))
			{
				CanvasSlot->SetSize(Vector);
				bApplied = true;
			}
			else if (Key == TEXT("AutoSize") && Value.Type == FAssetJsonValue::EType::Bool)
			{
				CanvasSlot->SetAutoSize(Value.Bool);
				bApplied = true;
			}
			else if (Key == TEXT("ZOrder") && Value.IsNumber())
			{
				CanvasSlot->SetZOrder(int32(Value.Number));
				bApplied = true;
			}
			else if (Key == TEXT("Alignment") && ReadVector(Value, Vector))
			{
				CanvasSlot->SetAlignment(Vector);
				bApplied = true;
			}
			else if (Key == TEXT("Anchors") && ReadMargin(Value, Margin))
			{
				CanvasSlot->SetAnchors(FAnchors(Margin.Left, Margin.Top, Margin.Right, Margin.Bottom));
				bApplied = true;
			}
			else if (Key == TEXT("Padding") && ReadMargin(Value, Margin))
			{
				// A canvas slot has no padding; the key is accepted so that slots can be written alike.
				bApplied = true;
			}
		}
		else if (UWrapBoxSlot* WrapSlot = Cast<UWrapBoxSlot>(&Slot);
		         WrapSlot && Key == TEXT("Padding") && ReadMargin(Value, Margin))
		{
			WrapSlot->SetPadding(Margin);
			bApplied = true;
		}
		else if (Key == TEXT("Padding") && ReadMargin(Value, Margin))
		{
			if (UBorder* Border = Cast<UBorder>(Slot.Parent))
			{
				Border->SetPadding(Margin);
			}
			bApplied = true;
		}
		if (!bApplied)
		{
			UE_LOG(LogWidgetAsset, Warning, TEXT("Widget %s: slot key %s is not understood here; ignored"), *WidgetName,
			       *Key);
		}
	}
}
} // namespace

bool ApplyWidgetProperty(UWidget& Widget, const FString& Key, const FAssetJsonValue& Value)
{
	FLinearColor Color;
	FMargin Margin;
	ESlateVisibility Visibility;
	const bool bIsBool = Value.Type == FAssetJsonValue::EType::Bool;
	if (Key == TEXT("Visibility") && ReadVisibility(Value, Visibility))
	{
		Widget.SetVisibility(Visibility);
		return true;
	}
	if (Key == TEXT("IsEnabled") && bIsBool)
	{
		Widget.SetIsEnabled(Value.Bool);
		return true;
	}
	if (Key == TEXT("RenderOpacity") && Value.IsNumber())
	{
		Widget.SetRenderOpacity(float(Value.Number));
		return true;
	}
	if (Key == TEXT("ToolTipText") && Value.IsString())
	{
		Widget.SetToolTipText(FText::FromString(Value.String));
		return true;
	}
	if (UTextBlock* TextBlock = Cast<UTextBlock>(&Widget))
	{
		if (Key == TEXT("Text") && Value.IsString())
		{
			TextBlock->SetText(FText::FromString(Value.String));
			return true;
		}
		if (Key == TEXT("FontSize") && Value.IsNumber())
		{
			TextBlock->Font.Size = float(Value.Number);
			return true;
		}
		if (Key == TEXT("Color") && ReadColor(Value, Color))
		{
			TextBlock->SetColorAndOpacity(FSlateColor(Color));
			return true;
		}
		if (Key == TEXT("OutlineSize") && Value.IsNumber() && Value.Number >= 0.0)
		{
			TextBlock->Font.OutlineSettings.OutlineSize = int32(Value.Number);
			return true;
		}
		if (Key == TEXT("OutlineColor") && ReadColor(Value, Color))
		{
			TextBlock->Font.OutlineSettings.OutlineColor = Color;
			return true;
		}
	}
	if (UEditableText* EditableText = Cast<UEditableText>(&Widget))
	{
		if (Key == TEXT("Text") && Value.IsString())
		{
			EditableText->SetText(FText::FromString(Value.String));
			return true;
		}
		if (Key == TEXT("HintText") && Value.IsString())
		{
			EditableText->SetHintText(FText::FromString(Value.String));
			return true;
		}
		if (Key == TEXT("FontSize") && Value.IsNumber())
		{
			EditableText->Font.Size = float(Value.Number);
			return true;
		}
		if (Key == TEXT("Color") && ReadColor(Value, Color))
		{
			EditableText->ColorAndOpacity = FSlateColor(Color);
			return true;
		}
		if (Key == TEXT("IsReadOnly") && bIsBool)
		{
			EditableText->SetIsReadOnly(Value.Bool);
			return true;
		}
	}
	if (UImage* Image = Cast<UImage>(&Widget); Image && Key == TEXT("Color") && ReadColor(Value, Color))
	{
		Image->SetColorAndOpacity(Color);
		return true;
	}
	if (UBorder* Border = Cast<UBorder>(&Widget))
	{
		if (Key == TEXT("Color") && ReadColor(Value, Color))
		{
			Border->SetBrushColor(Color);
			return true;
		}
		if (Key == TEXT("Padding") && ReadMargin(Value, Margin))
		{
			Border->SetPadding(Margin);
			return true;
		}
	}
	if (UButton* Button = Cast<UButton>(&Widget); Button && Key == TEXT("Color") && ReadColor(Value, Color))
	{
		Button->SetBackgroundColor(Color);
		return true;
	}
	if (UCheckBox* CheckBox = Cast<UCheckBox>(&Widget); CheckBox && Key == TEXT("Checked") && bIsBool)
	{
		CheckBox->SetIsChecked(Value.Bool);
		return true;
	}
	if (USlider* Slider = Cast<USlider>(&Widget); Slider && Value.IsNumber())
	{
		if (Key == TEXT("Value"))
		{
			Slider->SetValue(float(Value.Number));
			return true;
		}
		if (Key == TEXT("MinValue"))
		{
			Slider->SetMinValue(float(Value.Number));
			return true;
		}
		if (Key == TEXT("MaxValue"))
		{
			Slider->SetMaxValue(float(Value.Number));
			return true;
		}
	}
	if (UProgressBar* ProgressBar = Cast<UProgressBar>(&Widget))
	{
		if (Key == TEXT("Percent") && Value.IsNumber())
		{
			ProgressBar->SetPercent(float(Value.Number));
			return true;
		}
		if (Key == TEXT("Color") && ReadColor(Value, Color))
		{
			ProgressBar->SetFillColorAndOpacity(Color);
			return true;
		}
	}
	if (UComboBoxString* ComboBox = Cast<UComboBoxString>(&Widget))
	{
		if (Key == TEXT("Options") && Value.IsArray() &&
		    !Value.Items.ContainsByPredicate([](const FAssetJsonValue& Item) { return !Item.IsString(); }))
		{
			ComboBox->ClearOptions();
			for (const FAssetJsonValue& Item : Value.Items)
			{
				ComboBox->AddOption(Item.String);
			}
			return true;
		}
		if (Key == TEXT("SelectedOption") && Value.IsString())
		{
			// The designer's initial choice: no selection event, as nothing is bound yet in the engine either.
			ComboBox->SelectedOption = Value.String;
			return true;
		}
		if (Key == TEXT("FontSize") && Value.IsNumber())
		{
			ComboBox->Font.Size = float(Value.Number);
			return true;
		}
	}
	// Any other reflected property of the widget, such as a user widget's own settings.
	const FProperty* Property = Widget.GetClass()->FindPropertyByName(FName(Key));
	return Property && !Value.IsArray() && !Value.IsObject() &&
	       Property->ImportText_InContainer(Value.ToPropertyText(), &Widget);
}

UWidget* BuildWidgetFromTemplate(const FWidgetTemplate& Template, UWidgetTree& Tree)
{
	UWidget* Widget = NewObject<UWidget>(&Tree, Template.Class, Template.Name, RF_Transient);
	if (!Widget)
	{
		return nullptr;
	}
	// Designer values come before initialization, as an instance of the engine's template would have them.
	for (int32 Index = 0; Index < Template.Properties.Keys.Num(); ++Index)
	{
		if (!ApplyWidgetProperty(*Widget, Template.Properties.Keys[Index], Template.Properties.Items[Index]))
		{
			UE_LOG(LogWidgetAsset, Warning, TEXT("Widget %s: property %s cannot be set to that value; ignored"),
			       *Widget->GetName(), *Template.Properties.Keys[Index]);
		}
	}
	if (UUserWidget* UserWidget = Cast<UUserWidget>(Widget); UserWidget && !UserWidget->Initialize())
	{
		UserWidget->MarkAsGarbage();
		return nullptr;
	}
	UPanelWidget* Panel = Cast<UPanelWidget>(Widget);
	for (const FWidgetTemplate& ChildTemplate : Template.Children)
	{
		UWidget* Child = Panel ? BuildWidgetFromTemplate(ChildTemplate, Tree) : nullptr;
		UPanelSlot* Slot = Child ? Panel->AddChild(Child) : nullptr;
		if (!Slot)
		{
			return nullptr;
		}
		ApplySlot(*Slot, ChildTemplate.Slot, Child->GetName());
	}
	return Widget;
}
