#pragma once

#include "CoreMinimal.h"

// What a step of a viewer script does: the one set of actions every program speaks, whether its steps come from a
// script file, a built-in list or a seeded random viewer.
enum class EViewerAction : uint8
{
	// Host calls.
	Describe,
	Lesson,
	Open,
	Comments,
	Live,
	// The viewer's pointer and keyboard.
	Move,
	Click,
	Press,
	Release,
	Drag,
	Select,
	Type,
	Enter,
	Backspace,
	// The run itself.
	Snapshot,
	End
};

// The pointer and keyboard actions, which the driver performs itself; the others belong to the program.
inline bool IsViewerInput(EViewerAction Action)
{
	return Action >= EViewerAction::Move && Action <= EViewerAction::Backspace;
}

// Where the pointer goes: a widget by name (Owner/Child for a widget inside a user widget) or a screen position.
struct FViewerTarget
{
	FString WidgetPath;
	FVector2D Position = FVector2D::ZeroVector;
	bool bIsPosition = false;

	static FViewerTarget Widget(const FString& Path)
	{
		FViewerTarget Target;
		Target.WidgetPath = Path;
		return Target;
	}
	static FViewerTarget At(FVector2D InPosition)
	{
		FViewerTarget Target;
		Target.Position = InPosition;
		Target.bIsPosition = true;
		return Target;
	}

	FString Describe() const
	{
		return bIsPosition ? FString::Printf(TEXT("%g,%g"), Position.X, Position.Y) : WidgetPath;
	}
};

struct FViewerStep
{
	double Seconds = 0.0;
	int32 Line = 0;
	EViewerAction Action = EViewerAction::End;
	FViewerTarget Target;
	// Files are absolute; URLs, typed text, option names and live comments as written.
	FString Text;
	FString File;
	double From = 0.0;
	double To = 0.0;
	int32 Count = 1;
	// The line as written, for the trace and error messages.
	FString Source;

	static FViewerStep Make(EViewerAction InAction, const FViewerTarget& InTarget = FViewerTarget(),
	                        const FString& InText = FString())
	{
		FViewerStep Step;
		Step.Action = InAction;
		Step.Target = InTarget;
		Step.Text = InText;
		return Step;
	}
};
