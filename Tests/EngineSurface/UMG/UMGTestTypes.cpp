#include "UMGTestTypes.h"

TArray<FString>& GetLifecycleLog()
{
	static TArray<FString> Log;
	return Log;
}

namespace
{
void Note(const UObject* Widget, const TCHAR* Call)
{
	GetLifecycleLog().Add(Widget->GetName() + TEXT(":") + Call);
}
} // namespace

void UTestInnerWidget::NativeOnInitialized()
{
	Super::NativeOnInitialized();
	Note(this, TEXT("Initialized"));
}

void UTestInnerWidget::NativePreConstruct()
{
	Super::NativePreConstruct();
	Note(this, TEXT("PreConstruct"));
}

void UTestInnerWidget::NativeConstruct()
{
	Super::NativeConstruct();
	Note(this, TEXT("Construct"));
}

void UTestInnerWidget::NativeDestruct()
{
	Note(this, TEXT("Destruct"));
	Super::NativeDestruct();
}

void UTestInnerWidget::NativeOnMouseEnter(const FGeometry& InGeometry, const FPointerEvent& InMouseEvent)
{
	Super::NativeOnMouseEnter(InGeometry, InMouseEvent);
	Note(this, TEXT("MouseEnter"));
}

void UTestInnerWidget::NativeOnMouseLeave(const FPointerEvent& InMouseEvent)
{
	Super::NativeOnMouseLeave(InMouseEvent);
	Note(this, TEXT("MouseLeave"));
}

void UTestFormWidget::NativeOnInitialized()
{
	Super::NativeOnInitialized();
	Note(this, TEXT("Initialized"));
	OkButton->OnClicked.AddDynamic(this, &UTestFormWidget::OnOk);
	OkButton->OnPressed.AddDynamic(this, &UTestFormWidget::OnOkPressed);
	OkButton->OnReleased.AddDynamic(this, &UTestFormWidget::OnOkReleased);
	OkButton->OnHovered.AddDynamic(this, &UTestFormWidget::OnOkHovered);
	OkButton->OnUnhovered.AddDynamic(this, &UTestFormWidget::OnOkUnhovered);
	Toggle->OnCheckStateChanged.AddDynamic(this, &UTestFormWidget::OnToggle);
	Volume->OnMouseCaptureBegin.AddDynamic(this, &UTestFormWidget::OnVolumeBegin);
	Volume->OnValueChanged.AddDynamic(this, &UTestFormWidget::OnVolume);
	Volume->OnMouseCaptureEnd.AddDynamic(this, &UTestFormWidget::OnVolumeEnd);
	Input->OnTextChanged.AddDynamic(this, &UTestFormWidget::OnInputChanged);
	Input->OnTextCommitted.AddDynamic(this, &UTestFormWidget::OnInputCommitted);
	Choice->OnSelectionChanged.AddDynamic(this, &UTestFormWidget::OnChoice);
}

void UTestFormWidget::NativePreConstruct()
{
	Super::NativePreConstruct();
	Note(this, TEXT("PreConstruct"));
}

void UTestFormWidget::NativeConstruct()
{
	Super::NativeConstruct();
	Note(this, TEXT("Construct"));
}

void UTestFormWidget::NativeDestruct()
{
	Note(this, TEXT("Destruct"));
	Super::NativeDestruct();
}

void UTestFormWidget::NativeTick(const FGeometry& MyGeometry, float InDeltaTime)
{
	Super::NativeTick(MyGeometry, InDeltaTime);
	++Ticks;
}
