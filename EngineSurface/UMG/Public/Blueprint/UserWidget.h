#pragma once

#include "CoreMinimal.h"
#include "Animation/UMGSequencePlayMode.h"
#include "Blueprint/WidgetTree.h"
#include "Components/Widget.h"
#include "Templates/SubclassOf.h"

#include "UserWidget.generated.h"

class UWidgetAnimation;
class UWorld;

// A widget made of other widgets: the tree of its widget blueprint, built when it is created, with the
// bound-widget properties (meta = (BindWidget)) filled from that tree by name and type.
// Lifecycle: NativeOnInitialized once per object; NativePreConstruct then NativeConstruct each time it goes on
// screen (added to the viewport, or to a panel that is on screen), after the user widgets inside it; NativeDestruct
// each time it leaves the screen, before the user widgets inside it. NativeTick runs every frame while it is on
// screen and neither it nor a parent is hidden or collapsed. Not hit by the pointer itself by default; mouse
// enter, leave and move arrive while the pointer is over one of its hit-testable children.
UCLASS(Abstract)
class UMG_API UUserWidget : public UWidget
{
	GENERATED_BODY()

public:
	UUserWidget();
	// The constructor the engine's user widget classes chain to.
	UUserWidget(const FObjectInitializer& ObjectInitializer) : UUserWidget() {}

	UPROPERTY(Transient)
	TObjectPtr<UWidgetTree> WidgetTree;

	// Creates and initializes a widget of the class; null when the class is not a user widget class or its
	// widget blueprint lacks a bound child. The outer is the owning widget's tree, the tree, or the world.
	static UUserWidget* CreateWidgetInstance(UWidget& OwningWidget, TSubclassOf<UUserWidget> UserWidgetClass,
	                                         FName WidgetName);
	static UUserWidget* CreateWidgetInstance(UWidgetTree& OwningTree, TSubclassOf<UUserWidget> UserWidgetClass,
	                                         FName WidgetName);
	static UUserWidget* CreateWidgetInstance(UWorld& World, TSubclassOf<UUserWidget> UserWidgetClass, FName WidgetName);

	// Builds the tree and binds the children once; then NativeOnInitialized. False when binding failed.
	virtual bool Initialize();

	// Puts the widget on screen above the viewport widgets of lower z-order; it fills the viewport.
	void AddToViewport(int32 ZOrder = 0);
	// Takes the widget off the viewport, or out of its panel.
	void RemoveFromParent() override;
	bool IsInViewport() const { return bInViewport; }

	// Widgets always tick here; this only records that the widget asked.
	void UpdateCanTick() { bCanTickRequested = true; }

	// Plays from StartAtTime; NumLoopsToPlay 0 loops for ever. A null animation plays nothing; playing one
	// that is already playing starts it again. The values at the start apply at once.
	void PlayAnimation(UWidgetAnimation* InAnimation, float StartAtTime = 0.0f, int32 NumLoopsToPlay = 1,
	                   EUMGSequencePlayMode::Type PlayMode = EUMGSequencePlayMode::Forward, float PlaybackSpeed = 1.0f,
	                   bool bRestoreState = false);
	// Stops where it is; restores the values it changed when it was played with bRestoreState.
	void StopAnimation(const UWidgetAnimation* InAnimation);
	void StopAllAnimations();
	bool IsAnimationPlaying(const UWidgetAnimation* InAnimation) const;
	bool IsAnyAnimationPlaying() const { return PlayingAnimations.Num() > 0; }

	UWidget* GetWidgetFromName(const FName& Name) const;

	void GetChildWidgets(TArray<UWidget*>& OutChildren) const override;
	// Called by the viewport in the widget-tick phase with the widget's cached geometry.
	void TickFromViewport(float DeltaSeconds);

	virtual void NativeOnInitialized() {}
	virtual void NativePreConstruct() {}
	virtual void NativeConstruct() {}
	virtual void NativeDestruct() {}
	// The base advances the widget's animations; overrides call it first.
	virtual void NativeTick(const FGeometry& MyGeometry, float InDeltaTime);
	virtual void NativeOnMouseEnter(const FGeometry& InGeometry, const FPointerEvent& InMouseEvent) {}
	virtual void NativeOnMouseLeave(const FPointerEvent& InMouseEvent) {}
	virtual FReply NativeOnMouseMove(const FGeometry& InGeometry, const FPointerEvent& InMouseEvent)
	{
		return FReply::Unhandled();
	}

	void HandleMouseEnter(const FPointerEvent& Event) override;
	void HandleMouseLeave(const FPointerEvent& Event) override;
	FReply HandleMouseMove(const FGeometry& Geometry, const FPointerEvent& Event) override;

protected:
	FVector2D ComputeDesiredSize() const override;
	void ArrangeChildren(const FGeometry& MyGeometry) override;
	void OnAddedToScreen() override;
	void OnRemovedFromScreen() override;

private:
	friend class FHeadlessViewport;

	struct FPlayingAnimation
	{
		TWeakObjectPtr<UWidgetAnimation> Animation;
		float Time = 0.0f;
		int32 LoopsLeft = 1;
		EUMGSequencePlayMode::Type Mode = EUMGSequencePlayMode::Forward;
		float Speed = 1.0f;
		bool bRestoreState = false;
		bool bForward = true;
		TArray<float> SavedValues;
	};

	void TickAnimations(float DeltaSeconds);
	void ApplyAnimation(const UWidgetAnimation& Animation, float Time);
	void RestoreAnimation(const FPlayingAnimation& Playing);
	UWidget* FindAnimatedWidget(const FName& Name) const;

	TArray<FPlayingAnimation> PlayingAnimations;
	bool bInitialized = false;
	bool bInViewport = false;
	bool bCanTickRequested = false;
};

// Creates a user widget of the class owned by a widget, a widget tree or the world.
template <typename WidgetT = UUserWidget, typename OwnerType = UObject*>
WidgetT* CreateWidget(OwnerType OwningObject, TSubclassOf<UUserWidget> UserWidgetClass = WidgetT::StaticClass(),
                      FName WidgetName = NAME_None)
{
	auto* Owner = ToRawPtr(OwningObject);
	if (!Owner || !UserWidgetClass || !UserWidgetClass->IsChildOf(WidgetT::StaticClass()))
	{
		return nullptr;
	}
	return static_cast<WidgetT*>(UUserWidget::CreateWidgetInstance(*Owner, UserWidgetClass, WidgetName));
}
