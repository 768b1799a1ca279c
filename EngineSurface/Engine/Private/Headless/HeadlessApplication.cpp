#include "Headless/HeadlessApplication.h"

#include "Engine/Engine.h"
#include "Engine/World.h"

namespace
{
FHeadlessApplication* GApplication = nullptr;

// Function-local, so that modules can register from their static initialisers in any load order.
TArray<FHeadlessPhaseHandler>& GetPhaseHandlers(EHeadlessTickPhase Phase)
{
	static TArray<FHeadlessPhaseHandler> Handlers[uint8(EHeadlessTickPhase::Count)];
	return Handlers[uint8(Phase)];
}

const bool bWorldPhaseRegistered = []
{
	FHeadlessApplication::RegisterPhaseHandler(EHeadlessTickPhase::World,
	                                           [](FHeadlessApplication& App, float DeltaSeconds)
	                                           { App.GetWorld()->Tick(DeltaSeconds); });
	return true;
}();
} // namespace

FHeadlessApplication::FHeadlessApplication(FVector2D InViewportSize) : ViewportSize(InViewportSize)
{
	check(GApplication == nullptr);
	GApplication = this;
	World = NewObject<UWorld>();
	World->AddToRoot();
	GEngine = NewObject<UEngine>();
	GEngine->AddToRoot();
	GEngine->SetGameWorld(World);
}

FHeadlessApplication::~FHeadlessApplication()
{
	GEngine->SetGameWorld(nullptr);
	GEngine->RemoveFromRoot();
	GEngine = nullptr;
	World->RemoveFromRoot();
	World = nullptr;
	GApplication = nullptr;
	CollectGarbage();
}

FHeadlessApplication* FHeadlessApplication::Get()
{
	return GApplication;
}

void FHeadlessApplication::RegisterPhaseHandler(EHeadlessTickPhase Phase, FHeadlessPhaseHandler Handler)
{
	check(Phase < EHeadlessTickPhase::Count);
	GetPhaseHandlers(Phase).Add(std::move(Handler));
}

void FHeadlessApplication::Tick(float DeltaSeconds)
{
	++FrameNumber;
	CurrentTime += DeltaSeconds;
	for (uint8 Phase = 0; Phase < uint8(EHeadlessTickPhase::Count); ++Phase)
	{
		// A copy, so that a handler registering another one does not disturb this frame.
		const TArray<FHeadlessPhaseHandler> Handlers = GetPhaseHandlers(EHeadlessTickPhase(Phase));
		for (const FHeadlessPhaseHandler& Handler : Handlers)
		{
			Handler(*this, DeltaSeconds);
		}
	}
	if (GarbageCollectionInterval >= 0.0 && CurrentTime - LastCollectionTime >= GarbageCollectionInterval)
	{
		CollectGarbage();
		LastCollectionTime = CurrentTime;
	}
}

void FHeadlessApplication::Advance(float Seconds, float StepSeconds)
{
	check(StepSeconds > 0.0f);
	// Whole steps are counted rather than subtracted, and a rounding error of up to a thousandth of a step is
	// forgiven, so that 1 s in steps of 1/60 s is exactly 60 frames.
	const double Tolerance = 1e-3;
	const int64 WholeSteps = int64(double(Seconds) / StepSeconds + Tolerance);
	for (int64 Step = 0; Step < WholeSteps; ++Step)
	{
		Tick(StepSeconds);
	}
	const float Rest = float(double(Seconds) - double(WholeSteps) * StepSeconds);
	if (Rest > StepSeconds * Tolerance)
	{
		Tick(Rest);
	}
}

void FHeadlessApplication::MoveMouse(FVector2D Position)
{
	MousePosition = Position;
	PendingInput.Add({FHeadlessInputEvent::EType::MouseMove, Position, FString()});
}

void FHeadlessApplication::PressMouse()
{
	PendingInput.Add({FHeadlessInputEvent::EType::MouseDown, MousePosition, FString()});
}

void FHeadlessApplication::ReleaseMouse()
{
	PendingInput.Add({FHeadlessInputEvent::EType::MouseUp, MousePosition, FString()});
}

void FHeadlessApplication::Click(FVector2D Position)
{
	MoveMouse(Position);
	PressMouse();
	ReleaseMouse();
}

void FHeadlessApplication::TypeText(const FString& Text)
{
	PendingInput.Add({FHeadlessInputEvent::EType::TypeText, MousePosition, Text});
}

void FHeadlessApplication::PressEnter()
{
	PendingInput.Add({FHeadlessInputEvent::EType::KeyEnter, MousePosition, FString()});
}

void FHeadlessApplication::PressBackspace()
{
	PendingInput.Add({FHeadlessInputEvent::EType::KeyBackspace, MousePosition, FString()});
}

void FHeadlessApplication::ClearFocus()
{
	PendingInput.Add({FHeadlessInputEvent::EType::ClearFocus, MousePosition, FString()});
}

TArray<FHeadlessInputEvent> FHeadlessApplication::TakeInputEvents()
{
	TArray<FHeadlessInputEvent> Events = std::move(PendingInput);
	PendingInput.Reset();
	return Events;
}

void FHeadlessApplication::AddReferencedObjects(FReferenceCollector& Collector)
{
	Collector.AddReferencedObject(World);
}
