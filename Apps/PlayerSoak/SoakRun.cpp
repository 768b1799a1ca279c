#include "SoakRun.h"

#include "Headless/HeadlessApplication.h"
#include "UObject/UObjectArray.h"

namespace
{
// Actions between two garbage collections.
constexpr int32 CollectEvery = 25;
} // namespace

FString SoakDanmakuRecord(int32 Id, double Seconds, int32 Mode, const FString& Content)
{
	return FString::Printf(TEXT("{\"danmaku_id\":%d,\"danmaku_spawn_time\":%lld,\"danmaku_content\":\"%s\","
	                            "\"danmaku_mode\":%d,\"danmaku_font_size\":24,\"danmaku_font_color\":\"#FFFFFF\"}"),
	                       Id, static_cast<long long>(Seconds * ETimespan::TicksPerSecond), *Content, Mode);
}

FString SoakLegacyRecord(int32 Id, int32 Second, const FString& Content)
{
	return FString::Printf(TEXT("{\"id\":%d,\"time\":\"%02d:%02d:%02d\",\"bullet_chat_content\":\"%s\"}"), Id,
	                       Second / 3600, Second / 60 % 60, Second % 60, *Content);
}

int32 SoakSecondOf(const FTimespan& Time)
{
	return Time.GetHours() * 3600 + Time.GetMinutes() * 60 + Time.GetSeconds();
}

bool FSoakRun::Fail(const FString& Message)
{
	if (Failure.IsEmpty())
	{
		Failure = FString::Printf(TEXT("frame %lld, after %d actions: %s"), static_cast<long long>(Frame),
		                          Figures.ActionsDone, *Message);
	}
	return false;
}

void FSoakRun::KeepLoadedClasses()
{
	FUObjectArray& Objects = FUObjectArray::Get();
	for (int32 Index = 0; Index < Objects.Capacity(); ++Index)
	{
		if (UClass* Class = Cast<UClass>(Objects.GetItem(Index).Object))
		{
			Class->AddToRoot();
		}
	}
}

int32 FSoakRun::LiveObjects()
{
	CollectGarbage();
	return FUObjectArray::Get().GetObjectCount();
}

FString FSoakRun::MakeDocument(bool bLegacy)
{
	IdsBySecond.Reset();
	TArray<FString> Records;
	Records.Reserve(Options.Comments);
	std::uniform_real_distribution<double> Time(0.0, Options.LessonSeconds);
	for (int32 Id = 1; Id <= Options.Comments; ++Id)
	{
		const double Seconds = Time(Random);
		const FString Content = FString::Printf(TEXT("comment %d"), Id);
		// Mostly scrolling comments, some fixed ones and a few of the kind no lane takes.
		const int32 Mode = Pick(10) < 7 ? 0 : 1 + Pick(3);
		Records.Add(bLegacy ? SoakLegacyRecord(Id, int32(Seconds), Content)
		                    : SoakDanmakuRecord(Id, Seconds, Mode, Content));
		IdsBySecond.FindOrAdd(int32(Seconds)).Add(Id);
	}
	return TEXT("{\"datas\":[") + FString::Join(Records, TEXT(",")) + TEXT("]}");
}

bool FSoakRun::Step(double Seconds)
{
	for (int32 Frames = FMath::Max(1, int32(Seconds * Options.FramesPerSecond)); Frames > 0; --Frames)
	{
		++Frame;
		App.Tick(1.0f / Options.FramesPerSecond);
		if (!Settle())
		{
			return false;
		}
	}
	return true;
}

bool FSoakRun::RunActions()
{
	const int64 Frames = int64(Options.LessonSeconds * Options.FramesPerSecond);
	TArray<int64> ActionFrames;
	for (int32 Index = 0; Index < Options.Actions; ++Index)
	{
		ActionFrames.Add(std::uniform_int_distribution<int64>(0, Frames - 1)(Random));
	}
	ActionFrames.Sort();
	for (const int64 ActionFrame : ActionFrames)
	{
		if (!Step(double(FMath::Max(ActionFrame - Frame, int64(1))) / Options.FramesPerSecond) || !BeforeAction() ||
		    !Act())
		{
			return false;
		}
		++Figures.ActionsDone;
		// A game collects garbage now and then; the peak is what is alive after a collection.
		if (Figures.ActionsDone % CollectEvery == 0)
		{
			Figures.LivePeak = FMath::Max(Figures.LivePeak, LiveObjects());
		}
		if (!AfterAction())
		{
			return false;
		}
	}
	return true;
}
