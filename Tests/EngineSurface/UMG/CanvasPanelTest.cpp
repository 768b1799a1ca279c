#include "Components/CanvasPanelSlot.h"
#include "UMGTestFixture.h"

using CanvasPanel = FUMGTest;

TEST_F(CanvasPanel, AutoSizeSlotTakesTheTextSizeAndCachedGeometryReportsItAfterATick)
{
	UTestFormWidget* Form = ShowForm();
	UTextBlock* Label = Form->WidgetTree->ConstructWidget<UTextBlock>();
	Label->SetText(FText::FromString(TEXT("弹幕 comment")));
	UCanvasPanelSlot* Slot = Form->Root->AddChildToCanvas(Label);
	ASSERT_NE(Slot, nullptr);
	Slot->SetAutoSize(true);
	Slot->SetPosition(FVector2D(40.0, 250.0));

	Label->ForceLayoutPrepass();
	const FVector2D Desired = Label->GetDesiredSize();
	EXPECT_GT(Desired.X, 0.0);
	EXPECT_EQ(Label->GetCachedGeometry().GetLocalSize(), FVector2D::ZeroVector) << "not laid out before a frame";

	App.Tick(Frame);
	EXPECT_EQ(Label->GetCachedGeometry().GetLocalSize(), Desired);
	EXPECT_EQ(Label->GetCachedGeometry().GetAbsolutePosition(), FVector2D(40.0, 250.0));
	EXPECT_EQ(Slot->GetPosition(), FVector2D(40.0, 250.0));
}

TEST_F(CanvasPanel, FixedSlotsPlaceChildrenAndTheCanvasFillsTheViewport)
{
	UTestFormWidget* Form = ShowForm();
	EXPECT_EQ(Form->Root->GetCachedGeometry().GetLocalSize(), FVector2D(640.0, 480.0));
	EXPECT_EQ(Form->OkButton->GetCachedGeometry().GetAbsolutePosition(), FVector2D(10.0, 60.0));
	EXPECT_EQ(Form->OkButton->GetCachedGeometry().GetLocalSize(), FVector2D(100.0, 40.0));

	auto* ButtonSlot = Cast<UCanvasPanelSlot>(Form->OkButton->Slot);
	ButtonSlot->SetAnchors(FAnchors(1.0f, 1.0f));
	ButtonSlot->SetAlignment(FVector2D(1.0, 1.0));
	ButtonSlot->SetPosition(FVector2D(-5.0, -5.0));
	App.Tick(Frame);
	EXPECT_EQ(Form->OkButton->GetCachedGeometry().GetAbsolutePosition(), FVector2D(535.0, 435.0));
}

TEST_F(CanvasPanel, DesiredSizeIsTheExtentOfChildrenThatAreNotCollapsed)
{
	UTestFormWidget* Form = ShowForm();
	UCanvasPanel* Canvas = Form->WidgetTree->ConstructWidget<UCanvasPanel>();
	UImage* Near = Form->WidgetTree->ConstructWidget<UImage>();
	UImage* Far = Form->WidgetTree->ConstructWidget<UImage>();
	Canvas->AddChildToCanvas(Near)->SetSize(FVector2D(10.0, 10.0));
	UCanvasPanelSlot* FarSlot = Canvas->AddChildToCanvas(Far);
	FarSlot->SetPosition(FVector2D(50.0, 20.0));
	FarSlot->SetSize(FVector2D(30.0, 5.0));

	Canvas->ForceLayoutPrepass();
	EXPECT_EQ(Canvas->GetDesiredSize(), FVector2D(80.0, 25.0));
	Far->SetVisibility(ESlateVisibility::Hidden);
	Canvas->ForceLayoutPrepass();
	EXPECT_EQ(Canvas->GetDesiredSize(), FVector2D(80.0, 25.0)) << "hidden keeps its space";
	Far->SetVisibility(ESlateVisibility::Collapsed);
	Canvas->ForceLayoutPrepass();
	EXPECT_EQ(Canvas->GetDesiredSize(), FVector2D(10.0, 10.0));
}

TEST_F(CanvasPanel, ChildrenAreCountedFoundAndClearedWithDestruction)
{
	UTestFormWidget* Form = ShowForm();
	const int32 Count = Form->Root->GetChildrenCount();
	EXPECT_EQ(Form->Root->GetAllChildren().Num(), Count);
	EXPECT_EQ(Form->Root->GetChildAt(Form->Root->GetChildIndex(Form->Inner)), Form->Inner.Get());
	EXPECT_TRUE(Form->Root->HasChild(Form->Title));
	GetLifecycleLog().Empty();

	Form->Root->ClearChildren();
	EXPECT_EQ(Form->Root->GetChildrenCount(), 0);
	EXPECT_EQ(Form->Title->GetParent(), nullptr);
	EXPECT_EQ(GetLifecycleLog(), TArray<FString>({TEXT("Inner:Destruct")}));
}

// As the engine documents, an inserted child joins the live layout last until the panel is rebuilt; a replaced
// child's slot, with its layout, goes to the new child at once.
TEST_F(CanvasPanel, InsertedChildrenDrawLastUntilRebuiltAndReplacedOnesKeepTheirSlot)
{
	UTestFormWidget* Form = ShowForm();
	const auto Label = [Form](const TCHAR* Text)
	{
		UTextBlock* Made = Form->WidgetTree->ConstructWidget<UTextBlock>();
		Made->SetText(FText::FromString(Text));
		return Made;
	};
	const auto DrawOrder = [Form]
	{
		TArray<UWidget*> Children;
		Form->Root->GetChildWidgets(Children);
		return Children;
	};
	UTextBlock* First = Label(TEXT("inserted first"));
	ASSERT_NE(Form->Root->InsertChildAt(0, First), nullptr);
	EXPECT_EQ(Form->Root->GetChildAt(0), First);
	EXPECT_EQ(DrawOrder().Last(), First) << "the live layout has it last";

	UTextBlock* Swapped = Label(TEXT("swapped in"));
	UPanelSlot* OkSlot = Form->OkButton->Slot;
	const int32 OkIndex = Form->Root->GetChildIndex(Form->OkButton);
	ASSERT_TRUE(Form->Root->ReplaceChild(Form->OkButton, Swapped));
	EXPECT_EQ(Swapped->Slot, OkSlot);
	EXPECT_EQ(Form->OkButton->Slot, nullptr);
	EXPECT_EQ(Form->Root->GetChildIndex(Swapped), OkIndex);
	EXPECT_FALSE(Form->Root->ReplaceChild(Form->OkButton, Swapped)) << "no longer a child";
	App.Tick(Frame);
	EXPECT_EQ(Swapped->GetCachedGeometry().GetAbsolutePosition(), FVector2D(10.0, 60.0)) << "in the button's place";

	Form->RemoveFromParent();
	Form->AddToViewport();
	EXPECT_EQ(DrawOrder()[0], First) << "rebuilt, the live layout follows the slots";
}
