// The save-game loader: each input is a slot file. A slot that loads must save again, and what was saved must
// load again with the same values.
#include "DanmakuSave.h"
#include "Headless/Utf8String.h"
#include "FuzzSupport.h"
#include "Kismet/GameplayStatics.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	static FFuzzProject Project;
	static const bool bReady = (SilenceLog(), UDanmakuSave::StaticClass(), true);
	(void)bReady;
	const std::filesystem::path Slot = Project.Root / "Saved/SaveGames/Fuzz.sav";
	std::filesystem::create_directories(Slot.parent_path());
	FFileHelper::SaveArrayToFile(TArray<uint8>(Data, int32(Size)), *FromUtf8(Slot.string()));

	USaveGame* Loaded = UGameplayStatics::LoadGameFromSlot(TEXT("Fuzz"), 0);
	if (!Loaded)
	{
		return 0;
	}
	check(UGameplayStatics::SaveGameToSlot(Loaded, TEXT("Again"), 0));
	USaveGame* Again = UGameplayStatics::LoadGameFromSlot(TEXT("Again"), 0);
	check(Again && Again->GetClass() == Loaded->GetClass());
	for (const FProperty* Property : Loaded->GetClass()->GetAllProperties())
	{
		FString Before;
		FString After;
		const bool bBefore = Property->ExportText_InContainer(Loaded, Before);
		const bool bAfter = Property->ExportText_InContainer(Again, After);
		check(bBefore == bAfter && Before.Equals(After, ESearchCase::CaseSensitive));
	}
	Loaded->MarkAsGarbage();
	Again->MarkAsGarbage();
	CollectGarbage();
	return 0;
}
