#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/GarbageCollection.h"

#include <functional>

class UWorld;
class FHeadlessApplication;

// The parts of one frame, in the order the engine runs them.
enum class EHeadlessTickPhase : uint8
{
	Input,      // queued user actions become widget events
	World,      // the world's clock and its timers
	Media,      // media players advance their clocks and raise their events
	Audio,      // sound components render the frame's sound into the audio output
	Layout,     // desired sizes, then geometry for every widget on screen
	WidgetTick, // user widgets on screen are ticked (hidden ones are not)
	Count
};

// One simulated user action, queued until the next frame's input phase.
struct FHeadlessInputEvent
{
	enum class EType : uint8
	{
		MouseMove,
		MouseDown,
		MouseUp,
		TypeText,
		KeyEnter,
		KeyBackspace,
		ClearFocus,
	};
	EType Type = EType::MouseMove;
	FVector2D Position = FVector2D::ZeroVector;
	FString Text;
};

// A module that takes part in the frame (widgets, media) registers one handler per phase it needs, once, when
// its library loads. Handlers run in phase order, and in registration order within a phase.
using FHeadlessPhaseHandler = std::function<void(FHeadlessApplication& App, float DeltaSeconds)>;

// The headless stand-in for the engine's game loop: owns the world and the viewport size, and advances
// everything with Tick in the engine's frame order. Tests and the player application drive it with fixed steps.
// Garbage is collected between frames, never inside a phase.
class ENGINE_API FHeadlessApplication : private FGCObject
{
public:
	explicit FHeadlessApplication(FVector2D InViewportSize = FVector2D(1920.0, 1080.0));
	~FHeadlessApplication() override;

	// The application of this process; null when none exists. Only one exists at a time.
	static FHeadlessApplication* Get();

	static void RegisterPhaseHandler(EHeadlessTickPhase Phase, FHeadlessPhaseHandler Handler);

	// Runs one frame of DeltaSeconds; collects garbage after it when the collection interval has passed.
	void Tick(float DeltaSeconds);
	// Ticks in steps of StepSeconds until Seconds have passed.
	void Advance(float Seconds, float StepSeconds = 1.0f / 60.0f);

	UWorld* GetWorld() const { return World; }
	double GetCurrentTime() const { return CurrentTime; }
	uint64 GetFrameNumber() const { return FrameNumber; }

	FVector2D GetViewportSize() const { return ViewportSize; }
	void SetViewportSize(FVector2D InSize) { ViewportSize = InSize; }

	// Seconds of application time between collections; 0 collects after every frame, negative never.
	void SetGarbageCollectionInterval(double Seconds) { GarbageCollectionInterval = Seconds; }

	// Simulated user actions; they take effect in the input phase of the next Tick.
	void MoveMouse(FVector2D Position);
	void PressMouse();
	void ReleaseMouse();
	void Click(FVector2D Position);
	void TypeText(const FString& Text);
	void PressEnter();
	void PressBackspace();
	void ClearFocus();
	FVector2D GetMousePosition() const { return MousePosition; }
	// The input phase handler takes the queued actions from here.
	TArray<FHeadlessInputEvent> TakeInputEvents();

private:
	void AddReferencedObjects(FReferenceCollector& Collector) override;

	UWorld* World = nullptr;
	FVector2D ViewportSize;
	FVector2D MousePosition = FVector2D::ZeroVector;
	TArray<FHeadlessInputEvent> PendingInput;
	double CurrentTime = 0.0;
	double LastCollectionTime = 0.0;
	double GarbageCollectionInterval = 1.0;
	uint64 FrameNumber = 0;
};
