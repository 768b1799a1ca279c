// The legacy bullet chat: one application frame with every track of a 1920 x 1080 overlay full (each node moves
// on its own 0.01-second timer), and loading 100,000 legacy records into the overlay's time index, against
// reading the same document into the JSON object model in the same run.

#include "BulletChat/BulletChatTrackManager.h"
#include "BulletChatScreen.h"
#include "Dom/JsonObject.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

#include <benchmark/benchmark.h>

namespace
{
const FString Words = TEXT("lorem ipsum dolor sit amet consectetur adipiscing elit sed do eiusmod tempor");

FBulletChatData MakeRecord(int32 ID)
{
	FBulletChatData Data;
	Data.ID = ID;
	Data.Content = Words.Left(4 + ID % (Words.Len() - 4));
	return Data;
}

// Tops the screen up to Count comment nodes, each with a new ID.
void FillTo(FBulletChatScreen& Screen, int32 Count, int32& NextID)
{
	UBulletChatTrackManager* Manager = Screen.Overlay->GetTrackManager();
	for (int32 Missing = Count - Screen.Nodes().Num(); Missing > 0; --Missing)
	{
		Manager->SpawnBulletChatNode(MakeRecord(NextID++));
	}
}

FString MakeDocument(int32 RecordCount)
{
	static const TCHAR* const Phrases[] = {TEXT("前方高能"), TEXT("这里讲得好清楚"),
	                                       TEXT("なるほど"), TEXT("great explanation"),
	                                       TEXT("666"),      TEXT("做笔记做笔记")};
	TArray<FString> Items;
	Items.Reserve(RecordCount);
	for (int32 Index = 0; Index < RecordCount; ++Index)
	{
		// Spread over one hour.
		const int32 Second = Index * 3600 / RecordCount;
		Items.Add(
		    FString::Printf(TEXT("{\"id\":%d,\"post_id\":1001,\"bullet_chat_author_id\":%d,"
		                         "\"bullet_chat_author\":\"viewer%d\",\"bullet_chat_date\":\"2026.05.%02d-12.30.%02d\","
		                         "\"time\":\"00:%02d:%02d\",\"bullet_chat_content\":\"%s\",\"fabulous\":%d}"),
		                    Index, Index % 977, Index % 977, 1 + Index % 28, Index % 60, Second / 60, Second % 60,
		                    Phrases[Index % 6], Index % 50));
	}
	return TEXT("{\"datas\":[") + FString::Join(Items, TEXT(",")) + TEXT("]}");
}

const FString& Document()
{
	static const FString Text = MakeDocument(100000);
	return Text;
}
} // namespace

// One 60 Hz frame with about 300 comments on a 1920 x 1080 overlay, every one of its 71 tracks holding some.
static void BM_LegacyFrameWithEveryTrackFull(benchmark::State& State)
{
	FMath::RandInit(7);
	FBulletChatScreen Screen(FVector2D(1920.0, 1080.0));
	Screen.OpenLesson(false);
	Screen.Step();
	Screen.App.SetGarbageCollectionInterval(1.0);
	int32 NextID = 1;
	int32 Frame = 0;
	int64 NodesTicked = 0;
	for (auto _ : State)
	{
		if (Frame++ % 60 == 0)
		{
			State.PauseTiming();
			FillTo(Screen, 300, NextID);
			NodesTicked += Screen.Nodes().Num();
			State.ResumeTiming();
		}
		Screen.App.Tick(FBulletChatScreen::FrameSeconds);
	}
	State.counters["nodes on canvas"] = double(NodesTicked) / double(FMath::Max(1, (Frame + 59) / 60));
	State.counters["tracks"] = Screen.Overlay->GetTrackManager()->GetTrackNum();
}
BENCHMARK(BM_LegacyFrameWithEveryTrackFull)->Unit(benchmark::kMillisecond);

// ResetDatas with 100,000 records: reading, and filing each under its exact time.
static void BM_LegacyLoad100000Records(benchmark::State& State)
{
	const FString& Text = Document();
	FBulletChatScreen Screen;
	Screen.OpenLesson(false);
	Screen.Step();
	for (auto _ : State)
	{
		Screen.Overlay->ResetDatas(Text);
	}
	State.counters["MiB (UTF-8)"] = double(FTCHARToUTF8(*Text).Length()) / (1024.0 * 1024.0);
	State.counters["records at 00:30:00"] = Screen.Overlay->FindDatasAt(FTimespan(0, 30, 0))->Num();
}
BENCHMARK(BM_LegacyLoad100000Records)->Unit(benchmark::kMillisecond);

// Reference: the same document read into the JSON object model, without making any record.
static void BM_ObjectModelParseOfTheSameDocument(benchmark::State& State)
{
	const FString& Text = Document();
	for (auto _ : State)
	{
		TSharedPtr<FJsonObject> Root;
		const bool bRead = FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Root);
		benchmark::DoNotOptimize(bRead);
	}
}
BENCHMARK(BM_ObjectModelParseOfTheSameDocument)->Unit(benchmark::kMillisecond);
