// The full player's live-comment push: each input is pushed as a comment another viewer has just posted, into a
// player that is playing a lesson, and a frame is drawn. Nothing may crash or trip an ensure; what is filed must
// be findable under its second.
#include "Blueprint/UserWidget.h"
#include "FuzzSupport.h"
#include "Headless/EnsureHandler.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/MediaSourceRegistry.h"
#include "MediaPlayer.h"
#include "Modules/ModuleManager.h"
#include "UI_Danmaku.h"
#include "UI_PravellaSystem.h"

namespace
{
const TCHAR* const LessonUrl = TEXT("https://lessons.test/live.mp4");

struct FLivePlayer
{
	FLivePlayer()
	{
		SilenceLog();
		UE::Assert::SetEnsureHandler([](const char*, const char*, int) { __builtin_trap(); });
		FModuleManager::Get().LoadModule(TEXT("Skorvane"));
		FModuleManager::Get().LoadModule(TEXT("Pravella"));
		App.SetGarbageCollectionInterval(-1.0);
		FMediaSourceDescription Description;
		Description.Duration = FTimespan::FromSeconds(3600.0);
		Description.OpenSeconds = 0.0;
		FMediaSourceRegistry::Register(LessonUrl, Description);
		UClass* PlayerClass =
		    StaticLoadClass(UUI_PravellaSystem::StaticClass(), nullptr, TEXT("/Game/UI/WBP_LessonPlayer"));
		Player = CreateWidget<UUI_PravellaSystem>(App.GetWorld(), PlayerClass);
		Player->AddToRoot();
		Player->AddToViewport();
		Overlay = Cast<UUI_Danmaku>(Player->GetWidgetFromName(TEXT("Danmaku")));
		App.Tick(1.0f / 60.0f);
		Player->PlayMediaByNet(LessonUrl);
		App.Advance(0.5f);
		Media = LoadObject<UMediaPlayer>(nullptr, TEXT("/Game/Media/MP_LessonPlayer"));
	}

	FFuzzProject Project;
	FHeadlessApplication App;
	UUI_PravellaSystem* Player = nullptr;
	UUI_Danmaku* Overlay = nullptr;
	UMediaPlayer* Media = nullptr;
	int32 Pushed = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	static FLivePlayer Live;
	check(Live.Media && Live.Overlay && Live.Media->IsPlaying());
	const int32 SecondsBefore = Live.Overlay->GetIndexedSecondCount();
	Live.Player->AddBulletChatDataThenSpawn(FuzzText(Data, Size), Live.Media->GetUrl());
	check(Live.Overlay->GetIndexedSecondCount() - SecondsBefore <= 1);
	Live.App.Tick(1.0f / 60.0f);
	// The index and the screen are emptied now and then, so that a long run measures the push, not a full screen.
	if (++Live.Pushed % 500 == 0)
	{
		Live.Player->ResetBulletChatDatas(TEXT("{\"datas\":[]}"));
		Live.Player->EmptyBulletChat();
		Live.App.Tick(1.0f / 60.0f);
		CollectGarbage();
	}
	return 0;
}
