#include "Headless/HeadlessViewport.h"

#include "Blueprint/UserWidget.h"
#include "Components/ComboBoxString.h"
#include "Engine/Engine.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/HeadlessPainter.h"

namespace
{
struct FRegisterViewportPhases
{
	FRegisterViewportPhases()
	{
		FHeadlessApplication::RegisterPhaseHandler(EHeadlessTickPhase::Input, [](FHeadlessApplication& App, float)
		                                           { FHeadlessViewport::Get().ProcessInput(App); });
		FHeadlessApplication::RegisterPhaseHandler(EHeadlessTickPhase::Layout, [](FHeadlessApplication&, float)
		                                           { FHeadlessViewport::Get().LayoutWidgets(); });
		FHeadlessApplication::RegisterPhaseHandler(EHeadlessTickPhase::WidgetTick,
		                                           [](FHeadlessApplication&, float DeltaSeconds)
		                                           { FHeadlessViewport::Get().TickWidgets(DeltaSeconds); });
	}
} RegisterViewportPhases;

bool HitTest(UWidget* Widget, FVector2D Point, TArray<UWidget*>& OutPath)
{
	const ESlateVisibility Visibility = Widget->GetVisibility();
	if (!Widget->IsVisible() || Visibility == ESlateVisibility::HitTestInvisible)
	{
		return false;
	}
	TArray<UWidget*> Children;
	Widget->GetChildWidgets(Children);
	for (int32 Index = Children.Num() - 1; Index >= 0; --Index)
	{
		if (HitTest(Children[Index], Point, OutPath))
		{
			OutPath.Insert(Widget, 0);
			return true;
		}
	}
	if (Visibility == ESlateVisibility::Visible && Widget->GetPaintGeometry().IsUnderLocation(Point))
	{
		OutPath = {Widget};
		return true;
	}
	return false;
}

void CollectTickable(UWidget* Widget, TArray<TWeakObjectPtr<UUserWidget>>& OutWidgets)
{
	if (!Widget->IsVisible())
	{
		return;
	}
	if (UUserWidget* UserWidget = Cast<UUserWidget>(Widget))
	{
		OutWidgets.Add(UserWidget);
	}
	TArray<UWidget*> Children;
	Widget->GetChildWidgets(Children);
	for (UWidget* Child : Children)
	{
		CollectTickable(Child, OutWidgets);
	}
}

// A widget that can still take events: alive, on screen and enabled.
bool CanReceive(const UWidget* Widget)
{
	return Widget && Widget->IsOnScreen() && Widget->IsInteractable();
}
} // namespace

FHeadlessViewport& FHeadlessViewport::Get()
{
	// Never destroyed: widgets may still ask for it while the process shuts down.
	static FHeadlessViewport* Viewport = new FHeadlessViewport();
	return *Viewport;
}

void FHeadlessViewport::AddWidget(UUserWidget* Widget, int32 ZOrder)
{
	if (!Widget || ContainsWidget(Widget))
	{
		return;
	}
	Entries.Add({Widget, ZOrder});
	Entries.StableSort([](const FViewportEntry& A, const FViewportEntry& B) { return A.ZOrder < B.ZOrder; });
}

void FHeadlessViewport::RemoveWidget(UUserWidget* Widget)
{
	Entries.RemoveAll([Widget](const FViewportEntry& Entry) { return Entry.Widget == Widget; });
}

bool FHeadlessViewport::ContainsWidget(const UUserWidget* Widget) const
{
	return Entries.ContainsByPredicate([Widget](const FViewportEntry& Entry) { return Entry.Widget == Widget; });
}

TArray<UUserWidget*> FHeadlessViewport::GetWidgets() const
{
	TArray<UUserWidget*> Widgets;
	for (const FViewportEntry& Entry : Entries)
	{
		Widgets.Add(Entry.Widget);
	}
	return Widgets;
}

void FHeadlessViewport::Reset()
{
	for (UUserWidget* Widget : GetWidgets())
	{
		Widget->RemoveFromParent();
	}
	Entries.Empty();
	HoverPath.Empty();
	Focused.Reset();
	Captor.Reset();
	OpenComboBox.Reset();
	PressedOption = INDEX_NONE;
	PointerPosition = FVector2D::ZeroVector;
}

FVector2D FHeadlessViewport::GetViewportSize() const
{
	const FHeadlessApplication* App = FHeadlessApplication::Get();
	return App ? App->GetViewportSize() : FVector2D(1920.0, 1080.0);
}

void FHeadlessViewport::LayoutWidgets()
{
	const FGeometry ViewportGeometry(FVector2D::ZeroVector, GetViewportSize());
	for (UUserWidget* Widget : GetWidgets())
	{
		Widget->Prepass();
		Widget->Arrange(ViewportGeometry);
	}
}

void FHeadlessViewport::TickWidgets(float DeltaSeconds)
{
	// Gathered first: a widget may add or remove widgets while it ticks.
	TArray<TWeakObjectPtr<UUserWidget>> ToTick;
	for (UUserWidget* Widget : GetWidgets())
	{
		CollectTickable(Widget, ToTick);
	}
	for (const TWeakObjectPtr<UUserWidget>& Widget : ToTick)
	{
		if (UUserWidget* Live = Widget.Get(); Live && Live->IsOnScreen())
		{
			Live->TickFromViewport(DeltaSeconds);
		}
	}
}

void FHeadlessViewport::ProcessInput(FHeadlessApplication& App)
{
	for (const FHeadlessInputEvent& Event : App.TakeInputEvents())
	{
		UWidget* FocusedWidget = Focused.Get();
		const bool bFocusLive = CanReceive(FocusedWidget);
		switch (Event.Type)
		{
			case FHeadlessInputEvent::EType::MouseMove:
				MovePointer(Event.Position);
				break;
			case FHeadlessInputEvent::EType::MouseDown:
				if (Event.Position != PointerPosition)
				{
					MovePointer(Event.Position);
				}
				PressPointer();
				break;
			case FHeadlessInputEvent::EType::MouseUp:
				if (Event.Position != PointerPosition)
				{
					MovePointer(Event.Position);
				}
				ReleasePointer();
				break;
			case FHeadlessInputEvent::EType::TypeText:
				if (bFocusLive)
				{
					FocusedWidget->HandleTypedText(Event.Text);
				}
				break;
			case FHeadlessInputEvent::EType::KeyEnter:
				if (bFocusLive)
				{
					FocusedWidget->HandleEnter();
				}
				break;
			case FHeadlessInputEvent::EType::KeyBackspace:
				if (bFocusLive)
				{
					FocusedWidget->HandleBackspace();
				}
				break;
			case FHeadlessInputEvent::EType::ClearFocus:
				ClearFocus(ETextCommit::OnCleared);
				break;
		}
	}
}

TArray<UWidget*> FHeadlessViewport::FindWidgetPathAt(FVector2D ScreenPosition) const
{
	const TArray<UUserWidget*> Widgets = GetWidgets();
	for (int32 Index = Widgets.Num() - 1; Index >= 0; --Index)
	{
		TArray<UWidget*> Path;
		if (HitTest(Widgets[Index], ScreenPosition, Path))
		{
			return Path;
		}
	}
	return {};
}

void FHeadlessViewport::UpdateHover(const FPointerEvent& Event)
{
	const TArray<UWidget*> NewPath = FindWidgetPathAt(Event.GetScreenSpacePosition());
	const TArray<TWeakObjectPtr<UWidget>> OldPath = HoverPath;
	HoverPath.Reset();
	for (UWidget* Widget : NewPath)
	{
		HoverPath.Add(Widget);
	}
	// Leaves from the innermost widget out, then enters from the outermost in.
	for (int32 Index = OldPath.Num() - 1; Index >= 0; --Index)
	{
		UWidget* Widget = OldPath[Index].Get();
		if (CanReceive(Widget) && !NewPath.Contains(Widget))
		{
			Widget->HandleMouseLeave(Event);
		}
	}
	for (UWidget* Widget : NewPath)
	{
		const bool bWasHovered =
		    OldPath.ContainsByPredicate([Widget](const TWeakObjectPtr<UWidget>& Old) { return Old.Get() == Widget; });
		if (CanReceive(Widget) && !bWasHovered)
		{
			Widget->HandleMouseEnter(Event);
		}
	}
}

void FHeadlessViewport::MovePointer(FVector2D Position)
{
	const FPointerEvent Event(Position, PointerPosition);
	PointerPosition = Position;
	UpdateHover(Event);
	// A widget holding the press gets the moves first; otherwise they bubble up from the widget under the pointer.
	TArray<UWidget*> Route;
	if (UWidget* Holder = Captor.Get())
	{
		for (UWidget* Widget = Holder; Widget; Widget = Widget->GetLogicalParent())
		{
			Route.Add(Widget);
		}
	}
	else
	{
		for (int32 Index = HoverPath.Num() - 1; Index >= 0; --Index)
		{
			if (UWidget* Widget = HoverPath[Index].Get())
			{
				Route.Add(Widget);
			}
		}
	}
	for (UWidget* Widget : Route)
	{
		if (CanReceive(Widget) && Widget->HandleMouseMove(Widget->GetCachedGeometry(), Event).IsEventHandled())
		{
			break;
		}
	}
}

void FHeadlessViewport::PressPointer()
{
	const FPointerEvent Event(PointerPosition, PointerPosition);
	const TArray<UWidget*> Path = FindWidgetPathAt(PointerPosition);
	if (UComboBoxString* ComboBox = OpenComboBox.Get())
	{
		PressedOption = ComboBox->FindOptionAt(PointerPosition);
		if (PressedOption != INDEX_NONE)
		{
			return;
		}
		// A click on the box itself closes the list through the box's own toggle.
		if (!Path.Contains(ComboBox))
		{
			SetOpenComboBox(nullptr);
		}
	}

	UWidget* NewFocus = nullptr;
	for (int32 Index = Path.Num() - 1; Index >= 0 && !NewFocus; --Index)
	{
		if (Path[Index]->SupportsKeyboardFocus() && CanReceive(Path[Index]))
		{
			NewFocus = Path[Index];
		}
	}
	if (NewFocus)
	{
		SetFocusedWidget(NewFocus);
	}
	else
	{
		ClearFocus(ETextCommit::OnUserMovedFocus);
	}

	for (int32 Index = Path.Num() - 1; Index >= 0; --Index)
	{
		if (CanReceive(Path[Index]) && Path[Index]->HandleMouseButtonDown(Event))
		{
			Captor = Path[Index];
			break;
		}
	}
}

void FHeadlessViewport::ReleasePointer()
{
	const FPointerEvent Event(PointerPosition, PointerPosition);
	if (PressedOption != INDEX_NONE)
	{
		UComboBoxString* ComboBox = OpenComboBox.Get();
		const int32 Pressed = PressedOption;
		PressedOption = INDEX_NONE;
		if (ComboBox && ComboBox->FindOptionAt(PointerPosition) == Pressed)
		{
			OpenComboBox.Reset();
			ComboBox->SelectByUser(Pressed);
		}
		return;
	}
	UWidget* Holder = Captor.Get();
	Captor.Reset();
	if (Holder && Holder->IsOnScreen())
	{
		const bool bOver = FindWidgetPathAt(PointerPosition).Contains(Holder);
		Holder->HandleMouseButtonUp(Event, bOver && Holder->IsInteractable());
	}
}

UWidget* FHeadlessViewport::GetFocusedWidget() const
{
	return Focused.Get();
}

void FHeadlessViewport::SetFocusedWidget(UWidget* Widget)
{
	UWidget* Previous = Focused.Get();
	if (Previous == Widget)
	{
		return;
	}
	Focused = Widget;
	if (Previous && Previous->IsOnScreen())
	{
		Previous->HandleFocusLost(ETextCommit::OnUserMovedFocus);
	}
}

void FHeadlessViewport::ClearFocus(ETextCommit::Type Cause)
{
	UWidget* Previous = Focused.Get();
	Focused.Reset();
	if (Previous && Previous->IsOnScreen())
	{
		Previous->HandleFocusLost(Cause);
	}
}

bool FHeadlessViewport::IsHovered(const UWidget* Widget) const
{
	return Widget && HoverPath.ContainsByPredicate([Widget](const TWeakObjectPtr<UWidget>& Each)
	                                               { return Each.Get() == Widget; });
}

void FHeadlessViewport::SetOpenComboBox(UComboBoxString* ComboBox)
{
	UComboBoxString* Previous = OpenComboBox.Get();
	OpenComboBox = ComboBox;
	if (Previous && Previous != ComboBox)
	{
		Previous->SetIsOpen(false);
	}
	PressedOption = INDEX_NONE;
}

void FHeadlessViewport::Paint(FHeadlessPainter& Painter) const
{
	for (const FViewportEntry& Entry : Entries)
	{
		Entry.Widget->Paint(Painter, 1.0f, FVector2D::ZeroVector);
	}
	if (const UComboBoxString* ComboBox = OpenComboBox.Get(); ComboBox && ComboBox->IsOnScreen() && ComboBox->IsOpen())
	{
		ComboBox->PaintOpenList(Painter);
	}
	if (GEngine)
	{
		FVector2D Position(10.0, 10.0);
		for (const FOnScreenDebugMessage& Message : GEngine->GetOnScreenDebugMessages())
		{
			const FSlateFontInfo Font(FName(TEXT("Regular")), 10.0f * float(Message.TextScale.Y));
			Painter.DrawText(Message.Text, Font, Position, FLinearColor(Message.DisplayColor));
			Position.Y += 16.0 * Message.TextScale.Y;
		}
	}
}

bool FHeadlessViewport::PaintToPng(const FString& Path)
{
	LayoutWidgets();
	const FVector2D Size = GetViewportSize();
	FHeadlessPainter Painter(FMath::RoundToInt32(Size.X), FMath::RoundToInt32(Size.Y));
	Paint(Painter);
	return Painter.SavePng(Path);
}

void FHeadlessViewport::AddReferencedObjects(FReferenceCollector& Collector)
{
	for (FViewportEntry& Entry : Entries)
	{
		Collector.AddReferencedObject(Entry.Widget);
	}
}
