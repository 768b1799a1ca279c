#pragma once

#include "CoreMinimal.h"

// What a line of a viewer session does.
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
	// The session.
	Snapshot,
	End
};

// Where the pointer goes: a widget by name (Owner/Child for a widget inside a user widget) or a screen position.
struct FViewerTarget
{
	FString WidgetPath;
	FVector2D Position = FVector2D::ZeroVector;
	bool bIsPosition = false;

	FString Describe() const;
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
};

// A viewer session: timed actions, one a line, read from a small text format (see Content/Samples/README.md).
class FViewerScript
{
public:
	// Times run up to a day.
	static constexpr double MaxSeconds = 24.0 * 3600.0;

	// False with "FILE:LINE: what is wrong" for the first line at fault. Files named in the script are taken from
	// FilesFrom when it is set, else from the script's folder, and must lie inside that folder.
	bool Load(const FString& Path, FString& OutError);
	bool Parse(const FString& Text, const FString& BaseDirectory, FString& OutError);

	// "FILE:LINE" of a step, for messages about it.
	FString Where(const FViewerStep& Step) const;

	FString Path;
	FString FilesFrom;
	TArray<FViewerStep> Steps;
};
