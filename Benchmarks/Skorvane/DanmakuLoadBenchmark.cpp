// Loading a large comment document into the overlay's time index, against two references parsing the same file
// (a RapidJSON DOM parse and Python's json.load), and one application frame with every lane of the overlay full.
// The same comments in the XML format of video sites load next to it, with expat's bare parse of that document
// (no tree, no records) as its reference. Ratios are printed at the end, all from this one run on this machine: each
// load and its reference are timed in the same rounds.

#include "CoreMinimal.h"
#include "Headless/Utf8String.h"
#include "Blueprint/UserWidget.h"
#include "DanmakuTrackManager.h"
#include "Engine/World.h"
#include "FastXml.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/MediaSourceRegistry.h"
#include "HAL/FileManager.h"
#include "MediaPlayer.h"
#include "Misc/FileHelper.h"
#include "Modules/ModuleManager.h"
#include "Serialization/Archive.h"
#include "UI_Danmaku.h"
#include "UI_DanmakuBar.h"
#include "UI_DanmakuNodeSetting.h"

#include <benchmark/benchmark.h>
#include <expat.h>
#include <rapidjson/document.h>

#include <algorithm>
#include <cstring>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <malloc.h>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
constexpr int32 CommentCount = 100000;
const TCHAR* const LessonUrl = TEXT("https://lessons.bench/lesson.mp4");

struct FBest
{
	double Seconds = std::numeric_limits<double>::max();
	void Add(double Sample) { Seconds = std::min(Seconds, Sample); }
};
FBest GLoadBest;
FBest GRapidJsonBest;
FBest GFrameBest;
FBest GXmlLoadBest;
FBest GExpatBest;
FBest GEmptyCallbackBest;
FBest GUtf8LoadBest;
FBest GFileLoadBest;

// A document like the ones hosts send: a few text fields, numbers, spread over an hour.
std::string MakeDocument()
{
	static const char* const Phrases[] = {"前方高能", "这里讲得好清楚", "なるほど", "great explanation", "😂😂",
	                                      "666",      "做笔记做笔记",   "ここ大事"};
	std::string Text = "{\"datas\":[";
	for (int32 Index = 0; Index < CommentCount; ++Index)
	{
		char Item[512];
		std::snprintf(Item, sizeof(Item),
		              "%s{\"danmaku_id\":%d,\"post_id\":1001,\"user_id\":%d,\"user_display_name\":\"viewer%d\","
		              "\"danmaku_post_date\":\"2026.05.%02d-12.30.%02d\",\"danmaku_spawn_time\":%lld,"
		              "\"danmaku_content\":\"%s\",\"danmaku_mode\":%d,\"danmaku_font_size\":%d,"
		              "\"danmaku_font_color\":\"#FE0302\"}",
		              Index ? "," : "", Index + 1, (Index * 7919) % 5000, Index % 977, 1 + Index % 28, Index % 60,
		              (long long)(Index)*360000LL, Phrases[Index % 8], Index % 10 < 8 ? 0 : 1 + Index % 2,
		              Index % 3 ? 24 : 18);
		Text += Item;
	}
	Text += "]}";
	return Text;
}

// The same comments as the XML that video sites export: time in seconds, their mode numbers, decimal colour, post
// time, pool, user hash and row id; text escaped as those files escape it.
std::string MakeXmlDocument()
{
	static const char* const Phrases[] = {"前方高能", "这里讲得好清楚", "なるほど", "great &amp; clear", "😂😂",
	                                      "666",      "做笔记做笔记",   "ここ大事"};
	// Scroll, top and bottom, as the JSON document's modes 0, 1 and 2.
	static const int32 XmlModes[] = {1, 5, 4};
	std::string Text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><i><chatserver>chat.example</chatserver>"
	                   "<chatid>1</chatid><maxlimit>100000</maxlimit>\n";
	for (int32 Index = 0; Index < CommentCount; ++Index)
	{
		char Item[512];
		const int32 Mode = Index % 10 < 8 ? 0 : 1 + Index % 2;
		std::snprintf(Item, sizeof(Item), "<d p=\"%.5f,%d,%d,16646914,%lld,0,%08x,%d\">%s</d>\n", Index * 0.036,
		              XmlModes[Mode], Index % 3 ? 25 : 18, 1777000000LL + Index, unsigned(Index * 2654435761u),
		              Index + 1, Phrases[Index % 8]);
		Text += Item;
	}
	Text += "</i>\n";
	return Text;
}

const std::string& XmlDocument()
{
	static const std::string Text = MakeXmlDocument();
	return Text;
}

const FString& XmlDocumentAsString()
{
	static const FString Text = FromUtf8(XmlDocument());
	return Text;
}

const std::string& Document()
{
	static const std::string Text = MakeDocument();
	return Text;
}

const FString& DocumentAsString()
{
	static const FString Text = FromUtf8(Document());
	return Text;
}

double Now()
{
	return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The player's screen: the overlay with its bar and style panel, playing a described lesson.
struct FOverlayScreen
{
	FHeadlessApplication App{FVector2D(1920.0, 1080.0)};
	UMediaPlayer* Player = nullptr;
	UUserWidget* Host = nullptr;
	UUI_Danmaku* Overlay = nullptr;

	FOverlayScreen()
	{
		App.SetGarbageCollectionInterval(-1.0);
		FMediaSourceDescription Description;
		Description.Duration = FTimespan::FromSeconds(3600.0);
		Description.OpenSeconds = 0.0;
		FMediaSourceRegistry::Register(LessonUrl, Description);
		Player = NewObject<UMediaPlayer>();
		Player->AddToRoot();
		UClass* HostClass = StaticLoadClass(UUserWidget::StaticClass(), nullptr, TEXT("/Game/UI/WBP_DanmakuPreview"));
		Host = CreateWidget<UUserWidget>(App.GetWorld(), HostClass);
		Host->AddToViewport();
		Overlay = Cast<UUI_Danmaku>(Host->GetWidgetFromName(TEXT("Danmaku")));
		Overlay->Init(Player, Cast<UUI_DanmakuBar>(Host->GetWidgetFromName(TEXT("DanmakuBar"))),
		              Cast<UUI_DanmakuNodeSetting>(Host->GetWidgetFromName(TEXT("DanmakuNodeSetting"))));
		Player->PlayOnOpen = false;
		Player->OpenUrl(LessonUrl);
		for (int32 Frame = 0; Frame < 10 && !Overlay->GetTrackManager(); ++Frame)
		{
			App.Tick(1.0f / 60.0f);
		}
		check(Overlay->GetTrackManager());
	}
	~FOverlayScreen()
	{
		Host->RemoveFromParent();
		Player->RemoveFromRoot();
		FMediaSourceRegistry::UnregisterAll();
	}
};

void BM_LoadDocumentIntoOverlayIndex(benchmark::State& State)
{
	FOverlayScreen Screen;
	const FString& Text = DocumentAsString();
	for (auto _ : State)
	{
		const double Start = Now();
		Screen.Overlay->LoadDanmaku(Text);
		GLoadBest.Add(Now() - Start);
	}
	State.counters["seconds_indexed"] = Screen.Overlay->GetIndexedSecondCount();
	State.SetItemsProcessed(State.iterations() * CommentCount);
}
BENCHMARK(BM_LoadDocumentIntoOverlayIndex)->Unit(benchmark::kMillisecond)->Iterations(5);

FUtf8StringView DocumentAsUtf8()
{
	return FUtf8StringView(reinterpret_cast<const UTF8CHAR*>(Document().data()), int32(Document().size()));
}

void BM_LoadUtf8DocumentIntoOverlayIndex(benchmark::State& State)
{
	FOverlayScreen Screen;
	for (auto _ : State)
	{
		const double Start = Now();
		Screen.Overlay->LoadDanmakuUtf8(DocumentAsUtf8());
		GUtf8LoadBest.Add(Now() - Start);
	}
	State.counters["seconds_indexed"] = Screen.Overlay->GetIndexedSecondCount();
	State.SetItemsProcessed(State.iterations() * CommentCount);
}
BENCHMARK(BM_LoadUtf8DocumentIntoOverlayIndex)->Unit(benchmark::kMillisecond)->Iterations(5);

// The document written to a file once, as the lesson player finds it.
const FString& DocumentFile()
{
	static const FString Path = []
	{
		const std::filesystem::path File = std::filesystem::temp_directory_path() / "danmaku-load-benchmark-file.json";
		std::ofstream(File, std::ios::binary) << Document();
		return FromUtf8(File.string());
	}();
	return Path;
}

// What the lesson player does: the file read a piece at a time into an index of its own.
bool ReadDocumentFile(FDanmakuIndex& Index)
{
	const std::unique_ptr<FArchive> File(IFileManager::Get().CreateFileReader(*DocumentFile()));
	FDanmakuDocumentReport Report;
	return File && UUI_Danmaku::ReadDanmakuDocument(*File, EDanmakuDocumentFormat::Json, Index, Report);
}

void BM_ReadDocumentFileIntoIndex(benchmark::State& State)
{
	FDanmakuIndex Index;
	for (auto _ : State)
	{
		const double Start = Now();
		check(ReadDocumentFile(Index));
		GFileLoadBest.Add(Now() - Start);
	}
	State.counters["seconds_indexed"] = Index.Num();
	State.SetItemsProcessed(State.iterations() * CommentCount);
}
BENCHMARK(BM_ReadDocumentFileIntoIndex)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadXmlDocumentIntoOverlayIndex(benchmark::State& State)
{
	FOverlayScreen Screen;
	const FString& Text = XmlDocumentAsString();
	for (auto _ : State)
	{
		const double Start = Now();
		Screen.Overlay->LoadDanmakuXml(Text);
		GXmlLoadBest.Add(Now() - Start);
	}
	State.counters["seconds_indexed"] = Screen.Overlay->GetIndexedSecondCount();
	State.SetItemsProcessed(State.iterations() * CommentCount);
}
BENCHMARK(BM_LoadXmlDocumentIntoOverlayIndex)->Unit(benchmark::kMillisecond)->Iterations(5);

// What no XML reader can beat with expat: one pass over the UTF-8 bytes with no handlers at all.
void ParseWithExpat(const std::string& Text)
{
	XML_Parser Parser = XML_ParserCreate("UTF-8");
	const bool bOk = XML_Parse(Parser, Text.data(), int(Text.size()), 1) == XML_STATUS_OK;
	XML_ParserFree(Parser);
	benchmark::DoNotOptimize(bOk);
}

void BM_ExpatBareParse(benchmark::State& State)
{
	const std::string& Text = XmlDocument();
	for (auto _ : State)
	{
		const double Start = Now();
		ParseWithExpat(Text);
		GExpatBest.Add(Now() - Start);
	}
	State.SetItemsProcessed(State.iterations() * CommentCount);
}
BENCHMARK(BM_ExpatBareParse)->Unit(benchmark::kMillisecond)->Iterations(5);

// Takes every element and attribute and does nothing with them.
class FEmptyCallback final : public IFastXmlCallback
{
public:
	virtual bool ProcessXmlDeclaration(const TCHAR* ElementData, int32 XmlFileLineNumber) override { return true; }
	virtual bool ProcessElement(const TCHAR* ElementName, const TCHAR* ElementData, int32 XmlFileLineNumber) override
	{
		return true;
	}
	virtual bool ProcessAttribute(const TCHAR* AttributeName, const TCHAR* AttributeValue) override { return true; }
	virtual bool ProcessClose(const TCHAR* Element) override { return true; }
	virtual bool ProcessComment(const TCHAR* Comment) override { return true; }
};

// What any comment reader on the engine's XML parser starts from: a copy of the text, which the parser may change,
// parsed with callbacks that keep nothing.
void ParseWithEmptyCallbacks(const FString& Text)
{
	TArray<TCHAR> Copy;
	Copy.Reserve(Text.Len() + 1);
	Copy.Append(*Text, Text.Len());
	Copy.Add(TEXT('\0'));
	FEmptyCallback Callback;
	FText Error;
	int32 ErrorLine = 0;
	const bool bOk =
	    FFastXml::ParseXmlFile(&Callback, TEXT(""), Copy.GetData(), nullptr, false, false, Error, ErrorLine);
	check(bOk);
}

void ParseWithRapidJson(const std::string& Text)
{
	rapidjson::Document Parsed;
	Parsed.Parse(Text.c_str(), Text.size());
	benchmark::DoNotOptimize(Parsed.HasParseError());
}

void BM_RapidJsonDomParse(benchmark::State& State)
{
	const std::string& Text = Document();
	for (auto _ : State)
	{
		const double Start = Now();
		ParseWithRapidJson(Text);
		GRapidJsonBest.Add(Now() - Start);
	}
	State.SetItemsProcessed(State.iterations() * CommentCount);
}
BENCHMARK(BM_RapidJsonDomParse)->Unit(benchmark::kMillisecond)->Iterations(5);

// One frame of the application (overlay clock, every node ageing and moving, layout) with every lane full.
void BM_OverlayFrameWithEveryLaneFull(benchmark::State& State)
{
	FOverlayScreen Screen;
	UDanmakuTrackManager* Manager = Screen.Overlay->GetTrackManager();
	FDanmakuData Data;
	Data.FontSize = 12;
	Data.FontColor = TEXT("#FFFFFF");
	Data.Content = TEXT("弹幕 lane filler");
	int32 Refused = 0;
	Manager->OnDanmakuNotShown.AddLambda([&Refused](const FDanmakuData&, EDanmakuNotShownReason) { ++Refused; });
	for (EDanmakuMode Mode : {EDanmakuMode::SCROLL, EDanmakuMode::TOP, EDanmakuMode::BOTTOM})
	{
		Data.Mode = Mode;
		// Keep offering until a comment of this mode is refused: then every lane of it is taken.
		for (int32 Before = Refused, Offered = 0; Refused == Before && Offered < 1000; ++Offered)
		{
			Manager->SpawnDanmakuNode(Data);
		}
	}
	Screen.Player->Play();
	for (auto _ : State)
	{
		const double Start = Now();
		Screen.App.Tick(1.0f / 60.0f);
		GFrameBest.Add(Now() - Start);
	}
	State.counters["lanes"] = Manager->GetTrackNum();
}
BENCHMARK(BM_OverlayFrameWithEveryLaneFull)->Unit(benchmark::kMicrosecond)->Iterations(120);

long ReadStatusKilobytes(const char* Field)
{
	std::ifstream Status("/proc/self/status");
	std::string Line;
	while (std::getline(Status, Line))
	{
		if (Line.rfind(Field, 0) == 0)
		{
			return std::stol(Line.substr(std::strlen(Field)));
		}
	}
	return -1;
}

size_t HeapInUse()
{
	const struct mallinfo2 Info = mallinfo2();
	return Info.uordblks + Info.hblkhd;
}

enum class ELoadForm
{
	Text,
	Utf8,
	File,
	Xml
};

// Peak and retained resident memory of one load, measured in a process of its own so that no memory freed by an
// earlier load is there to be reused.
void MeasureLoadMemory(const char* Label, ELoadForm Form)
{
	std::fflush(stdout);
	const pid_t Child = fork();
	if (Child != 0)
	{
		int Status = 0;
		waitpid(Child, &Status, 0);
		return;
	}
	FOverlayScreen Screen;
	const FString& Text = Form == ELoadForm::Xml ? XmlDocumentAsString() : DocumentAsString();
	FDanmakuIndex FileIndex;
	DocumentFile();
	const long Before = ReadStatusKilobytes("VmRSS:");
	const size_t HeapBefore = HeapInUse();
	std::ofstream("/proc/self/clear_refs") << "5";
	switch (Form)
	{
		case ELoadForm::Text:
			Screen.Overlay->LoadDanmaku(Text);
			break;
		case ELoadForm::Utf8:
			Screen.Overlay->LoadDanmakuUtf8(DocumentAsUtf8());
			break;
		case ELoadForm::File:
			check(ReadDocumentFile(FileIndex));
			break;
		case ELoadForm::Xml:
			Screen.Overlay->LoadDanmakuXml(Text);
			break;
	}
	const long Peak = ReadStatusKilobytes("VmHWM:");
	const size_t HeapAfter = HeapInUse();
	std::printf("%s load memory: resident peak %.1f MiB above the process before the load; the index keeps %.1f MiB "
	            "of heap\n",
	            Label, (Peak - Before) / 1024.0, double(HeapAfter - HeapBefore) / 1048576.0);
	std::fflush(stdout);
	std::_Exit(0);
}

// The machine's speed drifts over seconds when other work shares it, so for the ratios each load is timed next to
// its reference, round after round, and each is the best over the same rounds.
void TimeSideBySide(int32 Rounds)
{
	FOverlayScreen Screen;
	FDanmakuIndex FileIndex;
	const auto Time = [](FBest& Best, auto&& Work)
	{
		const double Start = Now();
		Work();
		Best.Add(Now() - Start);
	};
	for (FBest* Best :
	     {&GLoadBest, &GUtf8LoadBest, &GFileLoadBest, &GRapidJsonBest, &GXmlLoadBest, &GExpatBest, &GEmptyCallbackBest})
	{
		*Best = FBest();
	}
	for (int32 Round = 0; Round < Rounds; ++Round)
	{
		Time(GRapidJsonBest, [] { ParseWithRapidJson(Document()); });
		Time(GLoadBest, [&Screen] { Screen.Overlay->LoadDanmaku(DocumentAsString()); });
		Time(GUtf8LoadBest, [&Screen] { Screen.Overlay->LoadDanmakuUtf8(DocumentAsUtf8()); });
		Time(GFileLoadBest, [&FileIndex] { check(ReadDocumentFile(FileIndex)); });
		Time(GExpatBest, [] { ParseWithExpat(XmlDocument()); });
		Time(GXmlLoadBest, [&Screen] { Screen.Overlay->LoadDanmakuXml(XmlDocumentAsString()); });
		Time(GEmptyCallbackBest, [] { ParseWithEmptyCallbacks(XmlDocumentAsString()); });
	}
}

double PythonLoadSeconds(const std::string& Path)
{
	const std::string Command = "python3 -c \"import json,time,sys\nbest=1e9\nfor _ in range(5):\n"
	                            " t=time.perf_counter(); json.load(open(sys.argv[1],encoding='utf-8')); "
	                            "best=min(best,time.perf_counter()-t)\nprint(best)\" '" +
	                            Path + "' 2>/dev/null";
	FILE* Pipe = popen(Command.c_str(), "r");
	double Seconds = -1.0;
	if (Pipe)
	{
		if (std::fscanf(Pipe, "%lf", &Seconds) != 1)
		{
			Seconds = -1.0;
		}
		pclose(Pipe);
	}
	return Seconds;
}
} // namespace

int main(int ArgumentCount, char** Arguments)
{
	benchmark::Initialize(&ArgumentCount, Arguments);
	FModuleManager::Get().LoadModule(TEXT("Skorvane"));
	std::printf("document: %d comments, %.1f MiB of UTF-8 as JSON, %.1f MiB as XML\n", CommentCount,
	            Document().size() / 1048576.0, XmlDocument().size() / 1048576.0);
	MeasureLoadMemory("JSON", ELoadForm::Text);
	MeasureLoadMemory("JSON from UTF-8", ELoadForm::Utf8);
	MeasureLoadMemory("JSON from its file", ELoadForm::File);
	MeasureLoadMemory("XML", ELoadForm::Xml);
	// Freed memory stays with the process, so every repetition after the first, of the load and of RapidJSON
	// alike, reuses pages already faulted in; without this the timings depend on what ran before.
	mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
	mallopt(M_MMAP_THRESHOLD, 256 << 20);
	benchmark::RunSpecifiedBenchmarks();
	constexpr int32 SideBySideRounds = 7;
	TimeSideBySide(SideBySideRounds);

	const std::filesystem::path Path = std::filesystem::temp_directory_path() / "danmaku-load-benchmark.json";
	std::ofstream(Path, std::ios::binary) << Document();
	const double Python = PythonLoadSeconds(Path.string());
	std::filesystem::remove(Path);
	std::filesystem::remove(TCHAR_TO_UTF8(*DocumentFile()));

	std::printf("\nbest of %d rounds side by side: overlay load %.1f ms, RapidJSON DOM parse %.1f ms; Python json.load "
	            "%.1f ms (best of its own five)\n",
	            SideBySideRounds, GLoadBest.Seconds * 1e3, GRapidJsonBest.Seconds * 1e3, Python * 1e3);
	std::printf("overlay load / RapidJSON parse = %.2f (goal at most 1.5)\n",
	            GLoadBest.Seconds / GRapidJsonBest.Seconds);
	if (Python > 0.0)
	{
		std::printf("overlay load / Python json.load = %.2f (goal below 1)\n", GLoadBest.Seconds / Python);
	}
	std::printf("overlay load from UTF-8 %.1f ms: UTF-8 load / RapidJSON parse = %.2f (goal at most 1.5), "
	            "UTF-8 load / text load = %.2f\n",
	            GUtf8LoadBest.Seconds * 1e3, GUtf8LoadBest.Seconds / GRapidJsonBest.Seconds,
	            GUtf8LoadBest.Seconds / GLoadBest.Seconds);
	std::printf("JSON read from its file a piece at a time %.1f ms: file load / RapidJSON parse = %.2f\n",
	            GFileLoadBest.Seconds * 1e3, GFileLoadBest.Seconds / GRapidJsonBest.Seconds);
	std::printf("XML load %.1f ms, expat bare parse %.1f ms: XML load / JSON load = %.2f, XML load / expat = %.2f "
	            "(goal at most 2)\n",
	            GXmlLoadBest.Seconds * 1e3, GExpatBest.Seconds * 1e3, GXmlLoadBest.Seconds / GLoadBest.Seconds,
	            GXmlLoadBest.Seconds / GExpatBest.Seconds);
	std::printf(
	    "the engine's XML parser with callbacks that keep nothing, on a copy of the text: %.1f ms, %.2f x expat\n",
	    GEmptyCallbackBest.Seconds * 1e3, GEmptyCallbackBest.Seconds / GExpatBest.Seconds);
	std::printf("overlay frame with every lane full: %.3f ms (goal under 0.5 ms)\n", GFrameBest.Seconds * 1e3);
	benchmark::Shutdown();
	return 0;
}
