#include "Blueprint/UserWidget.h"

#include "Animation/WidgetAnimation.h"
#include "Blueprint/WidgetBlueprintGeneratedClass.h"
#include "Engine/World.h"
#include "Headless/HeadlessViewport.h"

namespace
{
UUserWidget* CreateInstance(UObject* Outer, UClass* Class, FName Name)
{
	if (!Class || !Class->IsChildOf(UUserWidget::StaticClass()))
	{
		return nullptr;
	}
	UUserWidget* Widget = NewObject<UUserWidget>(Outer, Class, Name, RF_Transient);
	if (!Widget)
	{
		return nullptr;
	}
	if (!Widget->Initialize())
	{
		Widget->MarkAsGarbage();
		return nullptr;
	}
	return Widget;
}

float ReadAnimatedValue(const UWidget& Widget, const FName& Property)
{
	if (Property == FName(TEXT("RenderOpacity")))
	{
		return Widget.GetRenderOpacity();
	}
	if (Property == FName(TEXT("TranslationX")))
	{
		return float(Widget.GetRenderTransform().Translation.X);
	}
	if (Property == FName(TEXT("TranslationY")))
	{
		return float(Widget.GetRenderTransform().Translation.Y);
	}
	if (Property == FName(TEXT("Visibility")))
	{
		return float(uint8(Widget.GetVisibility()));
	}
	return 0.0f;
}

void WriteAnimatedValue(UWidget& Widget, const FName& Property, float Value)
{
	if (Property == FName(TEXT("RenderOpacity")))
	{
		Widget.SetRenderOpacity(Value);
	}
	else if (Property == FName(TEXT("TranslationX")))
	{
		Widget.SetRenderTranslation(FVector2D(Value, Widget.GetRenderTransform().Translation.Y));
	}
	else if (Property == FName(TEXT("TranslationY")))
	{
		Widget.SetRenderTranslation(FVector2D(Widget.GetRenderTransform().Translation.X, Value));
	}
	else if (Property == FName(TEXT("Visibility")))
	{
		Widget.SetVisibility(ESlateVisibility(uint8(FMath::RoundToInt32(Value))));
	}
}
} // namespace

UUserWidget::UUserWidget()
{
	Visibility = ESlateVisibility::SelfHitTestInvisible;
}

UUserWidget* UUserWidget::CreateWidgetInstance(UWidget& OwningWidget, TSubclassOf<UUserWidget> UserWidgetClass,
                                               FName WidgetName)
{
	UObject* Outer = OwningWidget.GetTypedOuter<UWidgetTree>();
	if (UUserWidget* OwningUserWidget = Cast<UUserWidget>(&OwningWidget);
	    OwningUserWidget && OwningUserWidget->WidgetTree)
	{
		Outer = OwningUserWidget->WidgetTree;
	}
	return CreateInstance(Outer ? Outer : &OwningWidget, UserWidgetClass.Get(), WidgetName);
}

UUserWidget* UUserWidget::CreateWidgetInstance(UWidgetTree& OwningTree, TSubclassOf<UUserWidget> UserWidgetClass,
                                               FName WidgetName)
{
	return CreateInstance(&OwningTree, UserWidgetClass.Get(), WidgetName);
}

UUserWidget* UUserWidget::CreateWidgetInstance(UWorld& World, TSubclassOf<UUserWidget> UserWidgetClass,
                                               FName WidgetName)
{
	return CreateInstance(&World, UserWidgetClass.Get(), WidgetName);
}

bool UUserWidget::Initialize()
{
	if (bInitialized)
	{
		return true;
	}
	bInitialized = true;
	for (UClass* Class = GetClass(); Class; Class = Class->GetSuperClass())
	{
		if (const UWidgetBlueprintGeneratedClass* BlueprintClass = Cast<UWidgetBlueprintGeneratedClass>(Class))
		{
			if (!BlueprintClass->InitializeWidget(this))
			{
				return false;
			}
			break;
		}
	}
	if (!WidgetTree)
	{
		WidgetTree = NewObject<UWidgetTree>(this, UWidgetTree::StaticClass(), FName(TEXT("WidgetTree")), RF_Transient);
	}
	NativeOnInitialized();
	return true;
}

void UUserWidget::AddToViewport(int32 ZOrder)
{
	if (bInViewport)
	{
		UE_LOG(LogTemp, Warning, TEXT("%s is already in the viewport"), *GetName());
		return;
	}
	Super::RemoveFromParent();
	bInViewport = true;
	FHeadlessViewport::Get().AddWidget(this, ZOrder);
	AddToScreen();
}

void UUserWidget::RemoveFromParent()
{
	if (bInViewport)
	{
		bInViewport = false;
		FHeadlessViewport::Get().RemoveWidget(this);
		RemoveFromScreen();
		return;
	}
	Super::RemoveFromParent();
}

UWidget* UUserWidget::GetWidgetFromName(const FName& Name) const
{
	return WidgetTree ? WidgetTree->FindWidget(Name) : nullptr;
}

void UUserWidget::GetChildWidgets(TArray<UWidget*>& OutChildren) const
{
	OutChildren.Reset();
	if (WidgetTree && WidgetTree->RootWidget)
	{
		OutChildren.Add(WidgetTree->RootWidget);
	}
}

FVector2D UUserWidget::ComputeDesiredSize() const
{
	return WidgetTree && WidgetTree->RootWidget ? WidgetTree->RootWidget->GetDesiredSize() : FVector2D::ZeroVector;
}

void UUserWidget::ArrangeChildren(const FGeometry& MyGeometry)
{
	if (WidgetTree && WidgetTree->RootWidget && WidgetTree->RootWidget->GetVisibility() != ESlateVisibility::Collapsed)
	{
		WidgetTree->RootWidget->Arrange(MyGeometry);
	}
}

void UUserWidget::OnAddedToScreen()
{
	NativePreConstruct();
	NativeConstruct();
}

void UUserWidget::OnRemovedFromScreen()
{
	NativeDestruct();
}

void UUserWidget::TickFromViewport(float DeltaSeconds)
{
	NativeTick(GetCachedGeometry(), DeltaSeconds);
}

void UUserWidget::NativeTick(const FGeometry& MyGeometry, float InDeltaTime)
{
	TickAnimations(InDeltaTime);
}

void UUserWidget::HandleMouseEnter(const FPointerEvent& Event)
{
	NativeOnMouseEnter(GetCachedGeometry(), Event);
}

void UUserWidget::HandleMouseLeave(const FPointerEvent& Event)
{
	NativeOnMouseLeave(Event);
}

FReply UUserWidget::HandleMouseMove(const FGeometry& Geometry, const FPointerEvent& Event)
{
	return NativeOnMouseMove(Geometry, Event);
}

UWidget* UUserWidget::FindAnimatedWidget(const FName& Name) const
{
	if (Name.IsNone() || Name == GetFName())
	{
		return const_cast<UUserWidget*>(this);
	}
	return GetWidgetFromName(Name);
}

void UUserWidget::ApplyAnimation(const UWidgetAnimation& Animation, float Time)
{
	const float Alpha = Animation.Duration > 0.0f ? FMath::Clamp(Time / Animation.Duration, 0.0f, 1.0f) : 1.0f;
	for (const FWidgetAnimationTrack& Track : Animation.Tracks)
	{
		if (UWidget* Target = FindAnimatedWidget(Track.WidgetName))
		{
			const bool bDiscrete = Track.PropertyName == FName(TEXT("Visibility"));
			const float Value =
			    bDiscrete ? (Alpha < 1.0f ? Track.From : Track.To) : FMath::Lerp(Track.From, Track.To, Alpha);
			WriteAnimatedValue(*Target, Track.PropertyName, Value);
		}
	}
}

void UUserWidget::RestoreAnimation(const FPlayingAnimation& Playing)
{
	const UWidgetAnimation* Animation = Playing.Animation.Get();
	if (!Animation || !Playing.bRestoreState)
	{
		return;
	}
	for (int32 Index = 0; Index < Animation->Tracks.Num() && Index < Playing.SavedValues.Num(); ++Index)
	{
		const FWidgetAnimationTrack& Track = Animation->Tracks[Index];
		if (UWidget* Target = FindAnimatedWidget(Track.WidgetName))
		{
			WriteAnimatedValue(*Target, Track.PropertyName, Playing.SavedValues[Index]);
		}
	}
}

void UUserWidget::PlayAnimation(UWidgetAnimation* InAnimation, float StartAtTime, int32 NumLoopsToPlay,
                                EUMGSequencePlayMode::Type PlayMode, float PlaybackSpeed, bool bRestoreState)
{
	if (!InAnimation)
	{
		return;
	}
	PlayingAnimations.RemoveAll([InAnimation](const FPlayingAnimation& Playing)
	                            { return Playing.Animation.Get() == InAnimation; });
	FPlayingAnimation Playing;
	Playing.Animation = InAnimation;
	Playing.bForward = PlayMode != EUMGSequencePlayMode::Reverse;
	Playing.Time = Playing.bForward ? StartAtTime : InAnimation->Duration - StartAtTime;
	Playing.LoopsLeft = NumLoopsToPlay;
	Playing.Mode = PlayMode;
	Playing.Speed = PlaybackSpeed;
	Playing.bRestoreState = bRestoreState;
	for (const FWidgetAnimationTrack& Track : InAnimation->Tracks)
	{
		const UWidget* Target = FindAnimatedWidget(Track.WidgetName);
		Playing.SavedValues.Add(Target ? ReadAnimatedValue(*Target, Track.PropertyName) : 0.0f);
	}
	ApplyAnimation(*InAnimation, Playing.Time);
	PlayingAnimations.Add(Playing);
}

void UUserWidget::StopAnimation(const UWidgetAnimation* InAnimation)
{
	const int32 Index = PlayingAnimations.IndexOfByPredicate([InAnimation](const FPlayingAnimation& Playing)
	                                                         { return Playing.Animation.Get() == InAnimation; });
	if (Index != INDEX_NONE)
	{
		const FPlayingAnimation Stopped = PlayingAnimations[Index];
		PlayingAnimations.RemoveAt(Index);
		RestoreAnimation(Stopped);
	}
}

void UUserWidget::StopAllAnimations()
{
	const TArray<FPlayingAnimation> Stopped = PlayingAnimations;
	PlayingAnimations.Reset();
	for (const FPlayingAnimation& Playing : Stopped)
	{
		RestoreAnimation(Playing);
	}
}

bool UUserWidget::IsAnimationPlaying(const UWidgetAnimation* InAnimation) const
{
	return InAnimation && PlayingAnimations.ContainsByPredicate([InAnimation](const FPlayingAnimation& Playing)
	                                                            { return Playing.Animation.Get() == InAnimation; });
}

void UUserWidget::TickAnimations(float DeltaSeconds)
{
	PlayingAnimations.RemoveAll([](const FPlayingAnimation& Playing) { return !Playing.Animation.IsValid(); });
	// Copied: finishing an animation may let a handler play or stop others.
	const TArray<FPlayingAnimation> Snapshot = PlayingAnimations;
	for (const FPlayingAnimation& Before : Snapshot)
	{
		const int32 Index = PlayingAnimations.IndexOfByPredicate(
		    [&Before](const FPlayingAnimation& Playing) { return Playing.Animation.Get() == Before.Animation.Get(); });
		UWidgetAnimation* Animation = Before.Animation.Get();
		if (Index == INDEX_NONE || !Animation)
		{
			continue;
		}
		FPlayingAnimation& Playing = PlayingAnimations[Index];
		const float Duration = Animation->Duration;
		Playing.Time += DeltaSeconds * Playing.Speed * (Playing.bForward ? 1.0f : -1.0f);
		const bool bPassedEnd = Playing.bForward ? Playing.Time >= Duration : Playing.Time <= 0.0f;
		if (!bPassedEnd)
		{
			ApplyAnimation(*Animation, Playing.Time);
			continue;
		}
		if (Playing.LoopsLeft == 1)
		{
			ApplyAnimation(*Animation, Playing.bForward ? Duration : 0.0f);
			const FPlayingAnimation Finished = Playing;
			PlayingAnimations.RemoveAt(Index);
			RestoreAnimation(Finished);
			continue;
		}
		if (Playing.LoopsLeft > 1)
		{
			--Playing.LoopsLeft;
		}
		if (Playing.Mode == EUMGSequencePlayMode::PingPong)
		{
			Playing.bForward = !Playing.bForward;
			Playing.Time = Playing.bForward ? -Playing.Time : 2.0f * Duration - Playing.Time;
		}
		else
		{
			Playing.Time += Playing.bForward ? -Duration : Duration;
		}
		ApplyAnimation(*Animation, Playing.Time);
	}
}
