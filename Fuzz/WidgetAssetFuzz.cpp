// The widget blueprint loader: each input is an asset file that is loaded, and whose widget is created, shown,
// clicked, typed into and ticked as a viewer's screen would. The repository's own widget assets are there for
// the input to name as parents or children, and Skorvane's widgets as parent classes.
#include "Blueprint/UserWidget.h"
#include "Headless/Utf8String.h"
#include "Engine/World.h"
#include "FuzzSupport.h"
#include "Headless/HeadlessApplication.h"
#include "UI_Danmaku.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	static FFuzzProject Project;
	// Never destroyed: the objects it roots may outlive the fuzzer's last run.
	static FHeadlessApplication* App = []
	{
		SilenceLog();
		UUI_Danmaku::StaticClass();
		auto* Created = new FHeadlessApplication(FVector2D(640.0, 360.0));
		Created->SetGarbageCollectionInterval(0.0);
		return Created;
	}();
	// Loaded classes are kept while they live, so the next run may take the same name only once this run's class
	// has been collected; names that only grow would make every run slower.
	static int32 NameIndex = 0;
	const FString Name = FString::Printf(TEXT("WBP_Fuzz%d"), NameIndex);
	const FString Path = Project.WriteAsset(Name, Data, Size);
	UClass* Class = StaticLoadClass(UUserWidget::StaticClass(), nullptr, *Path);
	if (UUserWidget* Widget = Class ? CreateWidget<UUserWidget>(App->GetWorld(), Class) : nullptr)
	{
		Widget->AddToViewport();
		App->Tick(1.0f / 60.0f);
		App->Click(FVector2D(320.0, 180.0));
		App->TypeText(TEXT("a comment"));
		App->PressEnter();
		App->Tick(1.0f / 60.0f);
		App->Advance(1.0f, 0.25f);
		Widget->RemoveFromParent();
	}
	const TWeakObjectPtr<UClass> Loaded(Class);
	App->Tick(1.0f / 60.0f);
	NameIndex += Loaded.IsValid() ? 1 : 0;
	std::filesystem::remove(Project.Root / "Content/Fuzz" / (ToUtf8(Name) + ".uasset"));
	return 0;
}
