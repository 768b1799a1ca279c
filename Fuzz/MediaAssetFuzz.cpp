// The media asset loaders: each input is read both as a media player asset, loaded by its path, and as a media
// description file; the player then opens the described lesson and plays, seeks and loops through it.
#include "FuzzSupport.h"
#include "Headless/Utf8String.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/MediaSourceRegistry.h"
#include "MediaPlayer.h"
#include "UObject/GarbageCollection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	static FFuzzProject Project;
	static FHeadlessApplication* App = []
	{
		SilenceLog();
		auto* Created = new FHeadlessApplication();
		Created->SetGarbageCollectionInterval(0.0);
		return Created;
	}();
	static int32 Run = 0;
	const FString Path = Project.WriteAsset(FString::Printf(TEXT("MP_Fuzz%d"), Run++), Data, Size);
	TStrongObjectPtr<UMediaPlayer> Player(LoadObject<UMediaPlayer>(nullptr, *Path));
	if (!Player.IsValid())
	{
		Player.Reset(NewObject<UMediaPlayer>());
	}

	FMediaSourceRegistry::UnregisterAll();
	FMediaSourceRegistry::LoadFromString(FuzzText(Data, Size));
	if (Player->OpenUrl(TEXT("https://lessons.pravella.invalid/fuzz.mp4")))
	{
		App->Advance(1.0f, 0.25f);
		Player->Play();
		App->Advance(2.0f, 0.5f);
		Player->Seek(FTimespan::FromSeconds(1.5));
		Player->SetRate(2.0f);
		App->Advance(4.0f, 1.0f);
		Player->Pause();
		Player->Rewind();
		App->Advance(0.5f, 0.25f);
	}
	Player->Close();
	Player.Reset();
	App->Tick(1.0f / 60.0f);
	std::filesystem::remove(Project.Root / "Content/Fuzz" / (ToUtf8(FPaths::GetBaseFilename(Path)) + ".uasset"));
	return 0;
}
