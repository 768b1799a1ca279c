#include "ViewerDriver.h"

#include "Blueprint/UserWidget.h"
#include "Components/ComboBoxString.h"
#include "Headless/HeadlessApplication.h"

namespace
{
FVector2D AlongMiddle(const UWidget& Widget, double Fraction)
{
	const FGeometry& Geometry = Widget.GetCachedGeometry();
	return Geometry.GetAbsolutePosition() + Geometry.GetAbsoluteSize() * FVector2D(Fraction, 0.5);
}
} // namespace

FViewerDriver::FViewerDriver(FHeadlessApplication& InApp, const FString& InRootName) : App(InApp), RootName(InRootName)
{
}

FString FViewerDriver::WhereOf(const FViewerStep& Step) const
{
	return Where ? Where(Step) : FString::Printf(TEXT("step %d"), Step.Line);
}

bool FViewerDriver::Resolve(const FViewerStep& Step, FVector2D& OutPosition, UWidget*& OutWidget,
                            FString& OutError) const
{
	OutWidget = nullptr;
	if (Step.Target.bIsPosition)
	{
		OutPosition = Step.Target.Position;
		return true;
	}
	TArray<FString> Names;
	Step.Target.WidgetPath.ParseIntoArray(Names, TEXT("/"), true);
	const UUserWidget* Owner = Root;
	for (int32 Index = 0; Index < Names.Num(); ++Index)
	{
		OutWidget = Owner ? Owner->GetWidgetFromName(FName(Names[Index])) : nullptr;
		if (!OutWidget)
		{
			OutError = FString::Printf(
			    TEXT("%s: the %s has no widget %s%s"), *WhereOf(Step), *RootName, *Step.Target.WidgetPath,
			    Index > 0 ? TEXT(" (a name after '/' is looked up inside the widget before it)") : TEXT(""));
			return false;
		}
		Owner = Cast<UUserWidget>(OutWidget);
	}
	if (!OutWidget)
	{
		OutError = FString::Printf(TEXT("%s: no target given"), *WhereOf(Step));
		return false;
	}
	OutPosition = AlongMiddle(*OutWidget, 0.5);
	return true;
}

bool FViewerDriver::Perform(const FViewerStep& Step, FString& OutError)
{
	FVector2D Position = FVector2D::ZeroVector;
	UWidget* Widget = nullptr;
	switch (Step.Action)
	{
		case EViewerAction::Move:
		case EViewerAction::Click:
		case EViewerAction::Press:
			if (!Resolve(Step, Position, Widget, OutError))
			{
				return false;
			}
			if (Step.Action == EViewerAction::Click)
			{
				App.Click(Position);
				return true;
			}
			App.MoveMouse(Position);
			if (Step.Action == EViewerAction::Press)
			{
				App.PressMouse();
			}
			return true;
		case EViewerAction::Release:
			App.ReleaseMouse();
			return true;
		case EViewerAction::Drag:
			return Drag(Step, OutError);
		case EViewerAction::Select:
			return Select(Step, OutError);
		case EViewerAction::Type:
			App.TypeText(Step.Text);
			return true;
		case EViewerAction::Enter:
			App.PressEnter();
			return true;
		case EViewerAction::Backspace:
			for (int32 Index = 0; Index < Step.Count; ++Index)
			{
				App.PressBackspace();
			}
			return true;
		default:
			return OtherActions ? OtherActions(Step, OutError) : true;
	}
}

void FViewerDriver::RunPending()
{
	if (!Pending.IsEmpty())
	{
		std::function<void()> Work = MoveTemp(Pending[0]);
		Pending.RemoveAt(0);
		Work();
	}
}

bool FViewerDriver::Drag(const FViewerStep& Step, FString& OutError)
{
	FVector2D Position;
	UWidget* Widget = nullptr;
	if (!Resolve(Step, Position, Widget, OutError))
	{
		return false;
	}
	// A widget is dragged along its middle, from one fraction of its width to another; a position stays put.
	const FVector2D Start = Widget ? AlongMiddle(*Widget, Step.From) : Position;
	const FVector2D Finish = Widget ? AlongMiddle(*Widget, Step.To) : Position;
	App.MoveMouse(Start);
	Pending.Add([this] { App.PressMouse(); });
	Pending.Add([this, Finish] { App.MoveMouse(Finish); });
	Pending.Add([this] { App.ReleaseMouse(); });
	return true;
}

bool FViewerDriver::Select(const FViewerStep& Step, FString& OutError)
{
	FVector2D Position;
	UWidget* Widget = nullptr;
	if (!Resolve(Step, Position, Widget, OutError))
	{
		return false;
	}
	UComboBoxString* Combo = Cast<UComboBoxString>(Widget);
	const int32 Option = Combo ? Combo->FindOptionIndex(Step.Text) : INDEX_NONE;
	if (Option == INDEX_NONE)
	{
		TArray<FString> Known;
		for (int32 Index = 0; Combo && Index < Combo->GetOptionCount(); ++Index)
		{
			Known.Add(Combo->GetOptionAtIndex(Index));
		}
		OutError =
		    Combo ? FString::Printf(TEXT("%s: %s has no option '%s' (it has: %s)"), *WhereOf(Step),
		                            *Step.Target.Describe(), *Step.Text, *FString::Join(Known, TEXT(", ")))
		          : FString::Printf(TEXT("%s: %s is not a drop-down list"), *WhereOf(Step), *Step.Target.Describe());
		return false;
	}
	// The list opens on this frame; its row is there to click on the next.
	App.Click(Position);
	Pending.Add(
	    [this, Combo, Option]
	    {
		    const FGeometry Row = Combo->GetOptionGeometry(Option);
		    App.Click(Row.GetAbsolutePosition() + Row.GetAbsoluteSize() * 0.5);
	    });
	return true;
}
