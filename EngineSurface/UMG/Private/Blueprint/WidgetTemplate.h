#pragma once

#include "CoreMinimal.h"
#include "Blueprint/AssetJson.h"

class UClass;

// One widget of a widget blueprint's tree as the asset describes it; instances are built from it.
struct FWidgetTemplate
{
	UClass* Class = nullptr;
	FName Name;
	// The asset's "Properties" and "Slot" objects, applied to every instance.
	FAssetJsonValue Properties;
	FAssetJsonValue Slot;
	TArray<FWidgetTemplate> Children;
};

// Builds the widget tree of Template into the user widget and applies properties and slot layouts.
class UUserWidget;
class UWidget;
class UWidgetTree;
UWidget* BuildWidgetFromTemplate(const FWidgetTemplate& Template, UWidgetTree& Tree);
// Sets one asset property on a widget; false when the widget has no such property or the value does not fit.
bool ApplyWidgetProperty(UWidget& Widget, const FString& Key, const FAssetJsonValue& Value);
