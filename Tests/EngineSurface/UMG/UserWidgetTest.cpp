#include "Blueprint/WidgetBlueprintGeneratedClass.h"
#include "Headless/Utf8String.h"
#include "Components/Border.h"
#include "LogCapture.h"
#include "UMGTestFixture.h"

using UserWidget = FUMGTest;

TEST_F(UserWidget, CreatedFromAssetHasItsBoundChildrenAnimationsAndDefaults)
{
	UTestFormWidget* Form = CreateForm();
	ASSERT_NE(Form, nullptr);
	EXPECT_EQ(Form->GetClass()->GetName(), TEXT("WBP_TestForm_C"));
	EXPECT_EQ(Form->Title->GetText().ToString(), TEXT("Hello"));
	EXPECT_EQ(Form->Title->GetFont().Size, 24.0f);
	EXPECT_EQ(Form->OkButton->GetName(), TEXT("OkButton"));
	EXPECT_EQ(Form->Choice->GetOptionCount(), 3);
	EXPECT_EQ(Form->Choice->GetSelectedOption(), TEXT("A"));
	EXPECT_EQ(Form->Volume->GetValue(), 0.5f);
	EXPECT_EQ(Form->Swatch->GetColorAndOpacity(), FLinearColor(FColor(255, 0, 0)));
	EXPECT_EQ(Form->Inner->GetClass()->GetName(), TEXT("WBP_TestInner_C"));
	EXPECT_EQ(Form->Inner->GetWidgetFromName(TEXT("InnerBox"))->GetClass(), UBorder::StaticClass());
	EXPECT_EQ(Form->Title->GetParent(), Form->Root.Get());

	ASSERT_NE(Form->FadeIn, nullptr);
	EXPECT_EQ(Form->FadeIn->GetName(), TEXT("FadeIn_INST"));
	const auto* Class = Cast<UWidgetBlueprintGeneratedClass>(Form->GetClass());
	EXPECT_EQ(Class->FindAnimation(TEXT("fadein")), Form->FadeIn.Get());
	EXPECT_EQ(Class->FindAnimation(TEXT("FadeIn_INST")), nullptr);

	EXPECT_EQ(Form->Greeting, TEXT("Hi there"));
	EXPECT_EQ(Form->Counter, 7);
	EXPECT_EQ(Form->GetClass()->GetDefaultObject<UTestFormWidget>()->Counter, 7);
}

TEST_F(UserWidget, DefaultNumberBeyondEveryIntegerKeepsTheInheritedValue)
{
	// 1e300 is no int64: the loader must not convert it to one on the way to the property's text.
	UTestFormWidget* Form = CreateForm(TEXT("/Game/Test/WBP_TestHugeCounter"));
	ASSERT_NE(Form, nullptr);
	EXPECT_EQ(Form->Counter, 7);
	EXPECT_EQ(Form->Greeting, TEXT("Hi there"));
}

TEST_F(UserWidget, AllPathsOfTheAssetNameOneClass)
{
	UClass* ByPackage = StaticLoadClass(UUserWidget::StaticClass(), nullptr, TEXT("/Game/Test/WBP_TestForm"));
	UClass* ByObject =
	    StaticLoadClass(UUserWidget::StaticClass(), nullptr, TEXT("/Game/Test/WBP_TestForm.WBP_TestForm"));
	UClass* ByClass =
	    StaticLoadClass(UUserWidget::StaticClass(), nullptr, TEXT("/Game/Test/WBP_TestForm.WBP_TestForm_C"));
	ASSERT_NE(ByPackage, nullptr);
	EXPECT_EQ(ByPackage, ByObject);
	EXPECT_EQ(ByPackage, ByClass);
	EXPECT_EQ(ByPackage->GetSuperClass(), UTestFormWidget::StaticClass());
	EXPECT_EQ(StaticLoadClass(UUserWidget::StaticClass(), nullptr, TEXT("/Game/Test/WBP_NoSuchAsset")), nullptr);
}

TEST_F(UserWidget, AssetWithoutABoundChildFailsWithAnErrorNamingIt)
{
	// A tree that lacks one bound child, and no tree at all.
	const TCHAR* Assets[][3] = {
	    {TEXT("/Game/Test/WBP_TestMissingChild"), TEXT("WBP_TestMissingChild_C"), TEXT("OkButton")},
	    {TEXT("/Game/Test/WBP_TestNoTree"), TEXT("WBP_TestNoTree_C"), TEXT("Root")}};
	for (const auto& [Path, ClassName, Child] : Assets)
	{
		FLogCapture Capture;
		EXPECT_EQ(CreateForm(Path), nullptr) << ToUtf8(Path);
		const TArray<FString> Errors = Capture.Messages(ELogVerbosity::Error);
		ASSERT_EQ(Errors.Num(), 1) << ToUtf8(Path);
		EXPECT_TRUE(Errors[0].Contains(ClassName)) << ToUtf8(Errors[0]);
		EXPECT_TRUE(Errors[0].Contains(Child)) << ToUtf8(Errors[0]);
		EXPECT_TRUE(GetLifecycleLog().IsEmpty()) << "a widget that failed to bind is never initialized";
	}
}

TEST_F(UserWidget, LifecycleRunsInTheEngineOrderAndAgainAfterReAdding)
{
	UTestFormWidget* Form = CreateForm();
	const FString FormName = Form->GetName();
	TArray<FString> Expected = {TEXT("Inner:Initialized"), FormName + TEXT(":Initialized")};
	EXPECT_EQ(GetLifecycleLog(), Expected);

	Form->AddToViewport();
	EXPECT_TRUE(Form->IsInViewport());
	Expected.Append({TEXT("Inner:PreConstruct"), TEXT("Inner:Construct"), FormName + TEXT(":PreConstruct"),
	                 FormName + TEXT(":Construct")});
	EXPECT_EQ(GetLifecycleLog(), Expected);

	Form->RemoveFromParent();
	EXPECT_FALSE(Form->IsInViewport());
	Expected.Append({FormName + TEXT(":Destruct"), TEXT("Inner:Destruct")});
	EXPECT_EQ(GetLifecycleLog(), Expected);

	Form->AddToViewport(3);
	Expected.Append({TEXT("Inner:PreConstruct"), TEXT("Inner:Construct"), FormName + TEXT(":PreConstruct"),
	                 FormName + TEXT(":Construct")});
	EXPECT_EQ(GetLifecycleLog(), Expected);
}

TEST_F(UserWidget, ChildMovedBetweenPanelsIsDestructedAndConstructedAgain)
{
	UTestFormWidget* Form = ShowForm();
	UTestInnerWidget* Inner = Form->Inner;
	GetLifecycleLog().Empty();

	Inner->RemoveFromParent();
	EXPECT_EQ(GetLifecycleLog(), TArray<FString>({TEXT("Inner:Destruct")}));
	EXPECT_EQ(Inner->GetParent(), nullptr);

	Form->Root->AddChildToCanvas(Inner);
	EXPECT_EQ(GetLifecycleLog(),
	          TArray<FString>({TEXT("Inner:Destruct"), TEXT("Inner:PreConstruct"), TEXT("Inner:Construct")}));
	EXPECT_EQ(Form->Root->GetChildIndex(Inner), Form->Root->GetChildrenCount() - 1);
}

TEST_F(UserWidget, TicksWhileShownButNotWhileHiddenOrCollapsed)
{
	UTestFormWidget* Form = ShowForm();
	const int32 Before = Form->Ticks;
	App.Tick(Frame);
	EXPECT_EQ(Form->Ticks, Before + 1);

	Form->SetRenderOpacity(0.0f);
	App.Tick(Frame);
	EXPECT_EQ(Form->Ticks, Before + 2) << "a transparent widget still ticks";

	Form->SetVisibility(ESlateVisibility::Hidden);
	App.Tick(Frame);
	Form->SetVisibility(ESlateVisibility::Collapsed);
	App.Tick(Frame);
	EXPECT_EQ(Form->Ticks, Before + 2);

	Form->SetVisibility(ESlateVisibility::Visible);
	Form->RemoveFromParent();
	App.Tick(Frame);
	EXPECT_EQ(Form->Ticks, Before + 2) << "a widget off screen is not ticked";
}

TEST_F(UserWidget, AnimationMovesItsPropertyOverItsDurationWithTheWidgetTicks)
{
	UTestFormWidget* Form = ShowForm();
	Form->PlayAnimation(nullptr);
	Form->PlayAnimation(Form->FadeIn);
	EXPECT_TRUE(Form->IsAnimationPlaying(Form->FadeIn));
	EXPECT_FLOAT_EQ(Form->Title->GetRenderOpacity(), 0.0f);

	App.Advance(0.5f, 0.05f);
	EXPECT_NEAR(Form->Title->GetRenderOpacity(), 0.5f, 0.06f);

	App.Advance(0.6f, 0.05f);
	EXPECT_FALSE(Form->IsAnimationPlaying(Form->FadeIn));
	EXPECT_FLOAT_EQ(Form->Title->GetRenderOpacity(), 1.0f);

	Form->Title->SetRenderOpacity(0.3f);
	Form->PlayAnimation(Form->FadeIn, 0.0f, 1, EUMGSequencePlayMode::Forward, 2.0f, true);
	App.Advance(0.6f, 0.05f);
	EXPECT_FALSE(Form->IsAnimationPlaying(Form->FadeIn)) << "twice the speed ends in half the time";
	EXPECT_FLOAT_EQ(Form->Title->GetRenderOpacity(), 0.3f) << "the state before playing is restored";
}
