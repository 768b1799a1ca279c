#pragma once

#include "CoreMinimal.h"
#include "ViewerAction.h"

#include <functional>

class FHeadlessApplication;
class UUserWidget;
class UWidget;

// Performs viewer steps on the headless application as a viewer would: finds the target, a widget by its name path
// under the root widget or a screen position, and sends the pointer and keyboard events. Steps it does not perform
// itself (the host's calls, snapshots, the end) go to the program's hook, so every program acts through one place.
class FViewerDriver
{
public:
	// Performs a step the driver leaves to the program; false with a message when it cannot be done.
	using FOtherAction = std::function<bool(const FViewerStep& Step, FString& OutError)>;
	// "FILE:LINE" of a step, for messages about it.
	using FWhere = std::function<FString(const FViewerStep& Step)>;

	// RootName says what the root is in messages ("the player has no widget X").
	FViewerDriver(FHeadlessApplication& InApp, const FString& InRootName);

	// The widget whose names targets follow; its owner keeps it alive.
	void SetRoot(UUserWidget* InRoot) { Root = InRoot; }
	void SetOtherActions(FOtherAction InOtherActions) { OtherActions = MoveTemp(InOtherActions); }
	void SetWhere(FWhere InWhere) { Where = MoveTemp(InWhere); }

	// Performs the step, or starts it when it spans frames; false with a message naming the step.
	bool Perform(const FViewerStep& Step, FString& OutError);
	// Work that spans frames (drags, drop-down choices) waits here; one piece runs a frame, before its tick, and the
	// next step waits until none is left.
	bool HasPending() const { return !Pending.IsEmpty(); }
	void RunPending();

	// The target's screen position (a widget's centre) and the widget, if it names one.
	bool Resolve(const FViewerStep& Step, FVector2D& OutPosition, UWidget*& OutWidget, FString& OutError) const;

private:
	bool Drag(const FViewerStep& Step, FString& OutError);
	bool Select(const FViewerStep& Step, FString& OutError);
	FString WhereOf(const FViewerStep& Step) const;

	FHeadlessApplication& App;
	FString RootName;
	UUserWidget* Root = nullptr;
	FOtherAction OtherActions;
	FWhere Where;
	TArray<std::function<void()>> Pending;
};
