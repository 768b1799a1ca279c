#include "AppRun.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>

namespace
{
const TCHAR* const LessonMedia = TEXT("[https://lessons.test/a.mp4]\nDuration=60\nCanSeek=true\nOpenSeconds=0.3\n"
                                      "SeekSeconds=0.1\n[https://lessons.test/b.mp4]\nDuration=30\nOpenSeconds=0.3\n"
                                      "[https://lessons.test/broken.mp4]\nDuration=900000000\nOpenSeconds=0.3\n");

FString Comment(int64 Id, const FString& Ticks, int32 Mode = 0)
{
	return FString::Printf(TEXT("{\"danmaku_id\":%lld,\"danmaku_spawn_time\":%s,\"danmaku_content\":\"c%lld\","
	                            "\"danmaku_mode\":%d,\"danmaku_font_size\":24,\"danmaku_font_color\":\"#FFFFFF\"}"),
	                       Id, *Ticks, Id, Mode);
}

// One scroll comment each half second whose id is its time in tenths, a burst at second 1 that the lanes cannot
// hold, and comments no clock reaches.
FString MakeDocument()
{
	TArray<FString> Items;
	for (int32 Tenths = 2; Tenths < 600; Tenths += 5)
	{
		Items.Add(Comment(Tenths, FString::Printf(TEXT("%d000000"), Tenths)));
	}
	for (int32 Index = 0; Index < 80; ++Index)
	{
		Items.Add(Comment(10001 + Index, TEXT("15000000"), Index % 3));
	}
	Items.Add(Comment(20001, TEXT("-50000000")));
	Items.Add(Comment(20002, TEXT("750000000")));
	Items.Add(Comment(20003, TEXT("1e300")));
	Items.Add(Comment(5000000000, TEXT("33000000")));
	return FString(TEXT("{\"datas\":[\n")) + FString::Join(Items, TEXT(",\n")) + TEXT("\n]}");
}

// The events of the trace named Event, in order.
TArray<TSharedPtr<FJsonObject>> Only(const TArray<TSharedPtr<FJsonObject>>& Events, const TCHAR* Event)
{
	return Events.FilterByPredicate([Event](const TSharedPtr<FJsonObject>& Line)
	                                { return Line->GetStringField(TEXT("event")) == Event; });
}

class FLessonPlayerRun : public FAppRun
{
public:
	FLessonPlayerRun() : FAppRun(TEXT(LESSON_PLAYER_PATH))
	{
		FFileHelper::SaveStringToFile(LessonMedia, *Path(TEXT("lesson.media")));
		FFileHelper::SaveStringToFile(MakeDocument(), *Path(TEXT("comments.json")));
	}
	FRunResult RunScript(const FString& Script) const
	{
		FFileHelper::SaveStringToFile(Script, *Path(TEXT("session.script")));
		return Run(FString::Printf(TEXT("--script \"%s\" --output \"%s\""), *Path(TEXT("session.script")),
		                           *Path(TEXT("out"))));
	}
};

// What the summary's block for one lesson says became of its document's comments: each line's numbers by the
// line's words before the first colon, the two density limits added up, the never-placed ones reached.
TMap<FString, int32> LessonCounts(const FString& Summary, const FString& Lesson)
{
	TMap<FString, int32> Counts;
	TArray<FString> Lines;
	Summary.Mid(Summary.Find(Lesson)).ParseIntoArray(Lines, TEXT("\n"), true);
	for (int32 Index = 1; Index < Lines.Num() && Lines[Index].StartsWith(TEXT("  ")); ++Index)
	{
		FString Key;
		FString Rest;
		if (!Lines[Index].TrimStart().Split(TEXT(": "), &Key, &Rest))
		{
			continue;
		}
		if (Key == TEXT("timeline"))
		{
			continue;
		}
		const auto IsDigit = [](TCHAR C) { return C >= TEXT('0') && C <= TEXT('9'); };
		TArray<int32> Numbers;
		for (int32 Char = 0; Char < Rest.Len(); ++Char)
		{
			if (IsDigit(Rest[Char]) && (Char == 0 || !IsDigit(Rest[Char - 1])))
			{
				Numbers.Add(FCString::Atoi(*Rest.Mid(Char)));
			}
		}
		if (!Numbers.IsEmpty())
		{
			const bool bReached = Key.StartsWith(TEXT("never shown because"));
			Counts.Add(Key,
			           bReached ? Numbers.Last() : Numbers[0] + (Key.StartsWith(TEXT("over the")) ? Numbers[1] : 0));
		}
	}
	return Counts;
}

const TCHAR* const ScriptStart = TEXT("# host\n"
                                      "0 describe lesson.media\n"
                                      "0 lesson https://lessons.test/a.mp4 comments.json\n"
                                      "0 lesson https://lessons.test/b.mp4 -\n"
                                      "0 open https://lessons.test/a.mp4\n");
} // namespace

TEST(LessonPlayer, ReplaysAViewerSessionThatTheScreenAndTheTraceBearOut)
{
	FLessonPlayerRun Run;
	const FRunResult Result = Run.RunScript(FString(ScriptStart) + TEXT("2 move 960,500\n"
	                                                                    "2.5 click ScreenButton\n"
	                                                                    "4 move 900,500\n"
	                                                                    "4.5 click ScreenButton\n"
	                                                                    "5 move SuspendButton\n"
	                                                                    "5.5 click SuspendButton\n"
	                                                                    "6.5 snapshot paused\n"
	                                                                    "7 click SuspendButton\n"
	                                                                    "8 drag MovieProgress 0.1 0.5\n"
	                                                                    "10.2 snapshot\n"
	                                                                    "11 click DanmakuBar/InputDanmakuText\n"
	                                                                    "11.2 type hello there\n"
	                                                                    "11.4 enter\n"
	                                                                    "12 move 900,500\n"
	                                                                    "12.5 click NestButton\n"
	                                                                    "14 end\n"));
	ASSERT_EQ(Result.ExitCode, 0) << TCHAR_TO_UTF8(*Result.Errors);
	for (const TCHAR* Picture : {TEXT("out/paused.png"), TEXT("out/snapshot_0010.20s.png"), TEXT("out/timeline_1.png")})
	{
		TArray<uint8> Bytes;
		ASSERT_TRUE(FFileHelper::LoadFileToArray(Bytes, *Run.Path(Picture))) << TCHAR_TO_UTF8(Picture);
		EXPECT_EQ(Bytes[1], 'P');
	}
	EXPECT_TRUE(Result.Output.Contains(TEXT("lesson 2: https://lessons.test/b.mp4 (00:00:30.0 long)\n  no comment")));
	EXPECT_TRUE(Result.Output.Contains(TEXT("never shown, time before the start: 1")));
	EXPECT_TRUE(Result.Output.Contains(TEXT("never shown, time out of range: 1")));
	EXPECT_TRUE(Result.Output.Contains(TEXT("never shown, time past the end of the media: 1")));
	EXPECT_TRUE(Result.Output.Contains(TEXT("ids beyond 32 bits, clamped: 1")));
	EXPECT_EQ(Result.Errors.Find(TEXT("clamped")),
	          Result.Errors.Find(TEXT("clamped"), ESearchCase::IgnoreCase, ESearchDir::FromEnd))
	    << "warned once";

	const TArray<TSharedPtr<FJsonObject>> Events = ReadTrace(Run.Path(TEXT("out/trace.jsonl")));
	ASSERT_GT(Events.Num(), 10);
	// The first line: the frame order and the size the lanes were computed from.
	const FJsonObject& Overlay = *Events[0];
	ASSERT_EQ(Overlay.GetStringField(TEXT("event")), TEXT("overlay"));
	EXPECT_TRUE(Overlay.GetStringField(TEXT("frame_order")).Contains(TEXT("frame before")));
	EXPECT_EQ(int32(Overlay.GetNumberField(TEXT("scroll_lanes"))),
	          int32(0.75 * Overlay.GetNumberField(TEXT("height")) / Overlay.GetNumberField(TEXT("lane_height"))));
	for (const TSharedPtr<FJsonObject>& Event : Events)
	{
		EXPECT_TRUE(Event->HasTypedField<EJson::Number>(TEXT("frame")));
	}

	// After fullscreen and back, one click on the play button does one thing each time.
	ASSERT_EQ(Only(Events, TEXT("fullscreen_on")).Num(), 1);
	ASSERT_EQ(Only(Events, TEXT("fullscreen_off")).Num(), 1);
	const TArray<TSharedPtr<FJsonObject>> Pauses = Only(Events, TEXT("pause"));
	ASSERT_EQ(Pauses.Num(), 1);
	EXPECT_NEAR(Pauses[0]->GetNumberField(TEXT("clock")), 5.5, 0.05);
	const TArray<TSharedPtr<FJsonObject>> Plays = Only(Events, TEXT("play"));
	ASSERT_EQ(Plays.Num(), 3) << "the opening of each lesson and the one resume";
	EXPECT_NEAR(Plays[1]->GetNumberField(TEXT("clock")), 7.0, 0.05);

	// The drag seeks to half the lesson; the comments go on from that second, none from before it.
	const TArray<TSharedPtr<FJsonObject>> Seeks = Only(Events, TEXT("seek"));
	ASSERT_EQ(Seeks.Num(), 1);
	const double SeekTo = Seeks[0]->GetNumberField(TEXT("media"));
	EXPECT_NEAR(SeekTo, 30.0, 0.5);
	const int32 SeekFrame = int32(Seeks[0]->GetNumberField(TEXT("frame")));
	TArray<double> PlacedAfterSeek;
	TArray<double> PlacedBeforeSeek;
	int32 Own = 0;
	for (const TSharedPtr<FJsonObject>& Placed : Only(Events, TEXT("placed")))
	{
		if (Placed->GetBoolField(TEXT("own")))
		{
			++Own;
			EXPECT_EQ(Placed->GetStringField(TEXT("text")), TEXT("hello there"));
			continue;
		}
		const bool bAfter = int32(Placed->GetNumberField(TEXT("frame"))) >= SeekFrame &&
		                    Placed->GetStringField(TEXT("text")) != TEXT("");
		(bAfter ? PlacedAfterSeek : PlacedBeforeSeek).Add(Placed->GetNumberField(TEXT("spawn")));
	}
	ASSERT_FALSE(PlacedAfterSeek.IsEmpty());
	EXPECT_EQ(int32(PlacedAfterSeek[0]), int32(SeekTo));
	for (double Spawn : PlacedAfterSeek)
	{
		EXPECT_GE(Spawn, FMath::FloorToDouble(SeekTo)) << "a comment from before the seek came back";
	}
	EXPECT_EQ(Own, 1);
	ASSERT_EQ(Only(Events, TEXT("send")).Num(), 1);
	EXPECT_EQ(Only(Events, TEXT("next")).Num(), 1);

	// The time label reads the media clock at every snapshot.
	for (const TSharedPtr<FJsonObject>& Snapshot : Only(Events, TEXT("snapshot")))
	{
		const int32 Seconds = int32(Snapshot->GetNumberField(TEXT("media")));
		EXPECT_TRUE(Snapshot->GetStringField(TEXT("time_label"))
		                .StartsWith(FString::Printf(TEXT("00:00:%02d/00:01:00"), Seconds)))
		    << TCHAR_TO_UTF8(*Snapshot->GetStringField(TEXT("time_label")));
	}

	// A comment dropped for want of a lane carries the measures it was judged by; the unreachable ones their reason.
	int32 NoLane = 0;
	for (const TSharedPtr<FJsonObject>& NotShown : Only(Events, TEXT("not_shown")))
	{
		if (NotShown->GetStringField(TEXT("reason")) == TEXT("no free lane"))
		{
			++NoLane;
			EXPECT_GT(NotShown->GetNumberField(TEXT("width")), 0.0);
			EXPECT_GT(NotShown->GetNumberField(TEXT("height")), 0.0);
			EXPECT_GT(NotShown->GetNumberField(TEXT("life")), 0.0);
		}
	}
	EXPECT_GT(NoLane, 0);
	TArray<FString> Reasons;
	for (const TSharedPtr<FJsonObject>& Never : Only(Events, TEXT("never_shown")))
	{
		Reasons.Add(Never->GetStringField(TEXT("reason")));
	}
	Reasons.Sort();
	EXPECT_EQ(Reasons, TArray<FString>({TEXT("time before the start"), TEXT("time out of range"),
	                                    TEXT("time past the end of the media")}));

	// In a playlist of two both neighbours are the same lesson; the button pressed says which way the viewer went.
	// A live comment with no lesson open is reported, not dropped without a word.
	const FRunResult Moves = Run.RunScript(TEXT("0 describe lesson.media\n"
	                                            "0 live {\"danmaku_id\":1,\"danmaku_content\":\"early\"}\n"
	                                            "0 lesson https://lessons.test/a.mp4 comments.json\n"
	                                            "0 lesson https://lessons.test/b.mp4 -\n"
	                                            "0 open https://lessons.test/a.mp4\n"
	                                            "1 move 900,500\n"
	                                            "1.5 click NestButton\n"
	                                            "3 move 900,500\n"
	                                            "3.5 click PreviousButton\n"
	                                            "5 end\n"));
	ASSERT_EQ(Moves.ExitCode, 0) << TCHAR_TO_UTF8(*Moves.Errors);
	EXPECT_TRUE(Moves.Errors.Contains(TEXT("session.script:2: no lesson is open, so the live comment was dropped")))
	    << TCHAR_TO_UTF8(*Moves.Errors);
	EXPECT_TRUE(Moves.Output.Contains(TEXT("problem: ")));
	const TArray<TSharedPtr<FJsonObject>> MoveEvents = ReadTrace(Run.Path(TEXT("out/trace.jsonl")));
	TArray<FString> Directions;
	for (const TSharedPtr<FJsonObject>& Event : MoveEvents)
	{
		const FString Kind = Event->GetStringField(TEXT("event"));
		if (Kind == TEXT("next") || Kind == TEXT("previous"))
		{
			Directions.Add(Kind + TEXT(" ") + Event->GetStringField(TEXT("to")));
		}
	}
	EXPECT_EQ(Directions,
	          TArray<FString>({TEXT("next https://lessons.test/b.mp4"), TEXT("previous https://lessons.test/a.mp4")}));

	// A lesson whose header states an absurd length costs what its comments cost, and says so.
	const auto Busiest = [](const FString& Output)
	{
		const int32 At = Output.Find(TEXT("most in one second: "));
		return At == INDEX_NONE ? FString() : Output.Mid(At).Left(Output.Mid(At).Find(TEXT("\n")));
	};
	const auto Started = std::chrono::steady_clock::now();
	const FRunResult Long = Run.RunScript(TEXT("0 describe lesson.media\n"
	                                           "0 lesson https://lessons.test/broken.mp4 comments.json\n"
	                                           "0 open https://lessons.test/broken.mp4\n"
	                                           "2 end\n"));
	EXPECT_LT(std::chrono::steady_clock::now() - Started, std::chrono::seconds(30));
	ASSERT_EQ(Long.ExitCode, 0) << TCHAR_TO_UTF8(*Long.Errors);
	EXPECT_TRUE(Long.Errors.Contains(TEXT("states a length of 9e+08 s, more than a week")))
	    << TCHAR_TO_UTF8(*Long.Errors);
	EXPECT_FALSE(Busiest(Result.Output).IsEmpty());
	EXPECT_EQ(Busiest(Long.Output), Busiest(Result.Output)) << "the same document on a longer lesson";
}

TEST(LessonPlayer, RefusesABadScriptOrFileNamingTheLineAtFault)
{
	FLessonPlayerRun Run;
	const auto Refused = [&Run](const FString& Script, const TCHAR* Expected)
	{
		const FRunResult Result = Run.RunScript(Script);
		EXPECT_EQ(Result.ExitCode, 1) << TCHAR_TO_UTF8(*Script);
		EXPECT_TRUE(Result.Errors.Contains(Expected)) << TCHAR_TO_UTF8(*Result.Errors);
	};
	Refused(FString(ScriptStart) + TEXT("2 clik ScreenButton\n"), TEXT("session.script:6: unknown action 'clik'"));
	Refused(FString(ScriptStart) + TEXT("2 move 1,1\n1 enter\n"), TEXT("session.script:7: time 1 is before"));
	Refused(FString(ScriptStart) + TEXT("x enter\n"), TEXT("session.script:6: a line starts with its time"));
	Refused(FString(ScriptStart) + TEXT("2 drag MovieProgress 0.1\n"), TEXT("session.script:6: FROM and TO"));
	Refused(TEXT("0 lesson https://lessons.test/a.mp4 missing.json\n"), TEXT("session.script:1: file not found"));
	Refused(FString(ScriptStart) + TEXT("2 click NoSuchButton\n"),
	        TEXT("session.script:6: the player has no widget NoSuchButton"));
	Refused(FString(ScriptStart) + TEXT("2 select ComboPlaySpeed 9x\n"), TEXT("has no option '9x' (it has: 0.5x"));

	FFileHelper::SaveStringToFile(TEXT("{\"datas\": [\n  {\"danmaku_id\": 1,\n   \"danmaku_spawn_time\": 5e7,,\n]}"),
	                              *Run.Path(TEXT("comments.json")));
	Refused(ScriptStart, TEXT("session.script:3: "));
	Refused(ScriptStart, TEXT("comments.json is not valid JSON: Expected a field name. Line: 3 Ch: 30"));

	// Outputs that would block, vanish, or overwrite an input or each other.
	FFileHelper::SaveStringToFile(MakeDocument(), *Run.Path(TEXT("comments.json")));
	const FString End = FString(ScriptStart) + TEXT("1 end\n");
	FFileHelper::SaveStringToFile(End, *Run.Path(TEXT("session.script")));
	const auto Writes = [&Run](const FString& Options, const TCHAR* Expected)
	{
		const FRunResult Result =
		    Run.Run(FString::Printf(TEXT("--script \"%s\" --output \"%s\" %s"), *Run.Path(TEXT("session.script")),
		                            *Run.Path(TEXT("out")), *Options));
		EXPECT_EQ(Result.ExitCode, 1) << TCHAR_TO_UTF8(*Options);
		EXPECT_TRUE(Result.Errors.Contains(Expected)) << TCHAR_TO_UTF8(*Result.Errors);
	};
	Writes(TEXT("--trace /dev/full"), TEXT("/dev/full is not a regular file"));
	Writes(FString::Printf(TEXT("--trace \"%s\""), *Run.Path(TEXT("session.script"))),
	       TEXT("would overwrite the viewer script"));
	Writes(FString::Printf(TEXT("--trace \"%s\""), *Run.Path(TEXT("out/timeline_1.png"))),
	       TEXT("would overwrite the trace"));
	Refused(FString(ScriptStart) + TEXT("1 snapshot timeline_1\n"), TEXT("would overwrite the timeline"));
	Refused(FString(ScriptStart) + TEXT("1 live {\"danmaku_id\": 1,,}\n"),
	        TEXT("session.script:6: the live comment is no JSON object: '{\"danmaku_id\": 1,,}'"));
	Refused(TEXT("0 describe lesson.media\n1 end\n2 enter\n"),
	        TEXT("session.script:3: the viewer script ended at line 2"));
	// Files come from the script's folder, or from the one --files-from names.
	IFileManager::Get().MakeDirectory(*Run.Path(TEXT("scripts")), true);
	FFileHelper::SaveStringToFile(End, *Run.Path(TEXT("scripts/elsewhere.script")));
	const FString Elsewhere = FString::Printf(TEXT("--script \"%s\" --output \"%s\""),
	                                          *Run.Path(TEXT("scripts/elsewhere.script")), *Run.Path(TEXT("out")));
	EXPECT_TRUE(Run.Run(Elsewhere).Errors.Contains(TEXT("elsewhere.script:2: file not found")));
	const FRunResult FilesFrom = Run.Run(Elsewhere + FString::Printf(TEXT(" --files-from \"%s\""), *Run.Folder));
	EXPECT_EQ(FilesFrom.ExitCode, 0) << TCHAR_TO_UTF8(*FilesFrom.Errors);

	const FRunResult BadOption = Run.Run(TEXT("--seconds soon"));
	EXPECT_EQ(BadOption.ExitCode, 2);
	EXPECT_TRUE(BadOption.Errors.Contains(TEXT("--seconds"))) << TCHAR_TO_UTF8(*BadOption.Errors);
	const FRunResult Latin1 = Run.Run(TEXT("--output \"$(printf 'caf\\351')\""));
	EXPECT_EQ(Latin1.ExitCode, 2);
	EXPECT_TRUE(Latin1.Errors.Contains(TEXT("argument 2 is not valid UTF-8"))) << TCHAR_TO_UTF8(*Latin1.Errors);
}

TEST(LessonPlayer, TheBundledSessionRunsTheWholePlayerAsTheReadmeSays)
{
	FAppRun Run(TEXT(LESSON_PLAYER_PATH));
	const FRunResult Result = Run.Run(FString::Printf(TEXT("--output \"%s\""), *Run.Path(TEXT("out"))));
	ASSERT_EQ(Result.ExitCode, 0) << TCHAR_TO_UTF8(*Result.Errors);
	EXPECT_TRUE(Result.Errors.Contains(TEXT("[100%]"))) << "progress is shown";
	EXPECT_FALSE(Result.Errors.Contains(TEXT("LogTemp"))) << "the player's log lines go to the trace";
	TArray<FString> Pictures;
	IFileManager::Get().FindFiles(Pictures, *Run.Path(TEXT("out")), TEXT("png"));
	EXPECT_EQ(Pictures.Num(), 11 + 4) << "the session's snapshots and a timeline per lesson";
	FString Summary;
	ASSERT_TRUE(FFileHelper::LoadFileToString(Summary, *Run.Path(TEXT("out/summary.txt"))));
	for (const TCHAR* Lesson : {TEXT("lesson 1: "), TEXT("lesson 2: "), TEXT("lesson 3: "), TEXT("lesson 4: ")})
	{
		EXPECT_TRUE(Summary.Contains(Lesson)) << TCHAR_TO_UTF8(*Summary);
	}
	EXPECT_FALSE(Summary.Contains(TEXT("never opened"))) << TCHAR_TO_UTF8(*Summary);

	// Every kind of viewer action in the session reached the player.
	const TArray<TSharedPtr<FJsonObject>> Events = ReadTrace(Run.Path(TEXT("out/trace.jsonl")));
	const TPair<const TCHAR*, int32> Expected[] = {
	    {TEXT("open"), 6},          {TEXT("pause"), 2},          {TEXT("seek"), 1},        {TEXT("send"), 2},
	    {TEXT("fullscreen_on"), 1}, {TEXT("fullscreen_off"), 1}, {TEXT("overlay_off"), 1}, {TEXT("overlay_on"), 1},
	    {TEXT("next"), 4},          {TEXT("previous"), 1},       {TEXT("snapshot"), 11},   {TEXT("speed"), 2}};
	for (const TPair<const TCHAR*, int32>& Kind : Expected)
	{
		EXPECT_EQ(Only(Events, Kind.Key).Num(), Kind.Value) << TCHAR_TO_UTF8(Kind.Key);
	}
	const TArray<TSharedPtr<FJsonObject>> Logs = Only(Events, TEXT("log"));
	ASSERT_FALSE(Logs.IsEmpty());
	EXPECT_EQ(Logs[0]->GetStringField(TEXT("category")), TEXT("LogTemp"));
	EXPECT_EQ(Logs[0]->GetStringField(TEXT("message")), TEXT("Media player Pause"));
	const TArray<TSharedPtr<FJsonObject>> Volumes = Only(Events, TEXT("volume"));
	ASSERT_GE(Volumes.Num(), 3);
	EXPECT_EQ(Volumes[Volumes.Num() - 2]->GetNumberField(TEXT("level")), 0.0) << "muted";
	EXPECT_GT(Volumes.Last()->GetNumberField(TEXT("level")), 0.0) << "unmuted at the dragged level";
	const TArray<TSharedPtr<FJsonObject>> Sends = Only(Events, TEXT("send"));
	EXPECT_EQ(int32(Sends[1]->GetNumberField(TEXT("mode"))), 1) << "the second comment is pinned at the top";
	EXPECT_TRUE(Sends[1]->GetStringField(TEXT("color")).StartsWith(TEXT("#FE0302")));

	// Only the decoded video lesson has sound: a level for each of its seconds, silent while muted and paused.
	const TArray<TSharedPtr<FJsonObject>> Sounds = Only(Events, TEXT("sound"));
	TArray<int32> Seconds;
	TArray<int32> Silent;
	for (const TSharedPtr<FJsonObject>& Sound : Sounds)
	{
		Seconds.Add(int32(Sound->GetNumberField(TEXT("second"))));
		if (Sound->GetNumberField(TEXT("rms")) == 0.0)
		{
			Silent.Add(Seconds.Last());
		}
		else
		{
			EXPECT_NEAR(Sound->GetNumberField(TEXT("level_db")), -35.0, 5.0) << "the tone at the dragged volume";
		}
	}
	EXPECT_EQ(Seconds, TArray<int32>({64, 65, 66, 67, 68, 69, 70, 71}));
	EXPECT_EQ(Silent, TArray<int32>({67, 69})) << "muted from 66.9 to 68.1 s, paused from 68.9 to 70.1 s";

	// The first lesson has reverse and positioned comments, and shows them.
	const TArray<TSharedPtr<FJsonObject>> Placed = Only(Events, TEXT("placed"));
	EXPECT_TRUE(Placed.ContainsByPredicate([](const TSharedPtr<FJsonObject>& Line)
	                                       { return Line->GetStringField(TEXT("direction")) == TEXT("ltr"); }));
	EXPECT_TRUE(
	    Placed.ContainsByPredicate([](const TSharedPtr<FJsonObject>& Line)
	                               { return Line->HasField(TEXT("end_x")) && Line->HasField(TEXT("rotate_z")); }));
	// It was played once: each of its comments is accounted for exactly once, placed, not shown with a reason,
	// jumped over by the seek or never reached.
	const TMap<FString, int32> Counts = LessonCounts(Summary, TEXT("lesson 1: "));
	int32 Accounted = 0;
	for (const TPair<FString, int32>& Count : Counts)
	{
		Accounted += Count.Key != TEXT("comments") ? Count.Value : 0;
	}
	EXPECT_GT(Counts.FindRef(TEXT("jumped over (a seek, or a frame longer than a second)")), 0);
	EXPECT_GT(Counts.FindRef(TEXT("never shown, not reached before the run ended")), 0);
	EXPECT_EQ(Accounted, Counts.FindRef(TEXT("comments"))) << TCHAR_TO_UTF8(*Summary);

	// The whole trace is the run's record, the same with g++ and clang, optimised or not (the decoded lesson's sound
	// lines follow the system's FFmpeg). A change to it must be meant; when it is, the run's trace, with its output
	// folder written as OUT and the project's as PROJECT/, replaces Tests/Apps/Golden/LessonSession.trace.jsonl.
	FString Trace;
	FString Golden;
	ASSERT_TRUE(FFileHelper::LoadFileToString(Trace, *Run.Path(TEXT("out/trace.jsonl"))));
	ASSERT_TRUE(FFileHelper::LoadFileToString(
	    Golden, *FPaths::Combine(FPaths::ProjectDir(), TEXT("Tests/Apps/Golden/LessonSession.trace.jsonl"))));
	TArray<FString> Lines;
	TArray<FString> GoldenLines;
	Trace.Replace(*Run.Path(TEXT("out")), TEXT("OUT"), ESearchCase::CaseSensitive)
	    .Replace(*FPaths::ProjectDir(), TEXT("PROJECT/"), ESearchCase::CaseSensitive)
	    .ParseIntoArray(Lines, TEXT("\n"));
	Golden.ParseIntoArray(GoldenLines, TEXT("\n"));
	for (int32 Index = 0; Index < FMath::Min(Lines.Num(), GoldenLines.Num()); ++Index)
	{
		ASSERT_EQ(Lines[Index], GoldenLines[Index]) << "first difference at line " << Index + 1;
	}
	EXPECT_EQ(Lines.Num(), GoldenLines.Num());
}

TEST(LessonPlayer, TakesXmlCommentsAndTheOverlayControlsAndItsTraceExportsAsSubtitles)
{
	FLessonPlayerRun Run;
	FString Xml = TEXT("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<i>\n");
	for (int32 Index = 0; Index < 12; ++Index)
	{
		Xml += FString::Printf(TEXT("<d p=\"%d.5,%d,25,16711680,0,0,abc,%d\">%s %d</d>\n"), 1 + Index / 3,
		                       Index % 2 == 0 ? 1 : 5, 100 + Index, Index == 4 ? TEXT("spoiler") : TEXT("note"), Index);
	}
	Xml += TEXT("<d p=\"2,1,25\">too few fields</d>\n</i>\n");
	ASSERT_TRUE(FFileHelper::SaveStringToFile(Xml, *Run.Path(TEXT("lesson.xml"))));
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("0 describe lesson.media\n"
	                                               "0 lesson https://lessons.test/a.mp4 -\n"
	                                               "0 open https://lessons.test/a.mp4\n"
	                                               "0.5 comments lesson.xml\n"
	                                               "15.5 snapshot end\n"),
	                                          *Run.Path(TEXT("session.script"))));
	const FRunResult Result =
	    Run.Run(FString::Printf(TEXT("--script \"%s\" --output \"%s\" --seconds 16 --block SPOILER --opacity 0.5"),
	                            *Run.Path(TEXT("session.script")), *Run.Path(TEXT("out"))));
	ASSERT_EQ(Result.ExitCode, 0) << TCHAR_TO_UTF8(*Result.Errors);
	for (const TCHAR* Line :
	     {TEXT("comments: 12 in "),
	      TEXT("left out of the document for a missing or bad "
	           "attribute: 1"),
	      TEXT("blocked: 1 (1 words, 0 patterns on the block list)"), TEXT("display: opacity 0.50")})
	{
		EXPECT_TRUE(Result.Output.Contains(Line)) << TCHAR_TO_UTF8(Line) << "\n" << TCHAR_TO_UTF8(*Result.Output);
	}

	const TArray<TSharedPtr<FJsonObject>> Events = ReadTrace(Run.Path(TEXT("out/trace.jsonl")));
	const TArray<TSharedPtr<FJsonObject>> Placed = Only(Events, TEXT("placed"));
	ASSERT_EQ(Placed.Num(), 11);
	std::set<int32> Nodes;
	for (const TSharedPtr<FJsonObject>& Line : Placed)
	{
		EXPECT_EQ(Line->GetStringField(TEXT("color")), TEXT("FF0000FF"));
		EXPECT_EQ(Line->GetNumberField(TEXT("font_size")), 25.0);
		EXPECT_GT(Line->GetNumberField(TEXT("line_height")), 0.0);
		Nodes.insert(int32(Line->GetNumberField(TEXT("node"))));
	}
	EXPECT_EQ(Nodes.size(), size_t(11));
	// Every comment of seconds 1 to 4 has left the screen by second 16.
	std::set<int32> Ended;
	for (const TSharedPtr<FJsonObject>& Line : Only(Events, TEXT("ended")))
	{
		Ended.insert(int32(Line->GetNumberField(TEXT("node"))));
	}
	EXPECT_EQ(Ended, Nodes);
	const TArray<TSharedPtr<FJsonObject>> NotShown = Only(Events, TEXT("not_shown"));
	ASSERT_EQ(NotShown.Num(), 1);
	EXPECT_EQ(NotShown[0]->GetStringField(TEXT("reason")), TEXT("blocked"));
	EXPECT_EQ(NotShown[0]->GetNumberField(TEXT("id")), 104.0);

	const FRunResult Export = Run.Run(
	    TEXT(DANMAKU_ASS_EXPORT_PATH),
	    FString::Printf(TEXT("\"%s\" \"%s\""), *Run.Path(TEXT("out/trace.jsonl")), *Run.Path(TEXT("lesson.ass"))));
	ASSERT_EQ(Export.ExitCode, 0) << TCHAR_TO_UTF8(*Export.Errors);
	FString Ass;
	ASSERT_TRUE(FFileHelper::LoadFileToString(Ass, *Run.Path(TEXT("lesson.ass"))));
	TArray<FString> Lines;
	Ass.ParseIntoArray(Lines, TEXT("\n"), true);
	EXPECT_EQ(Lines.FilterByPredicate([](const FString& Line) { return Line.StartsWith(TEXT("Dialogue:")); }).Num(),
	          11);
}

TEST(LessonPlayer, WritesWhatAViewerHearsOfADecodedLessonAndMuteSilencesIt)
{
	FLessonPlayerRun Run;
	TArray<uint8> Video;
	ASSERT_TRUE(FFileHelper::LoadFileToArray(
	    Video, *FPaths::Combine(FPaths::ProjectContentDir(), TEXT("Samples/LessonVideo.mp4"))));
	ASSERT_TRUE(FFileHelper::SaveArrayToFile(Video, *Run.Path(TEXT("video.mp4"))));
	// The lesson opens within the first second and plays; the viewer mutes it for all of second 2.
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("0 lesson video.mp4 -\n"
	                                               "0 open video.mp4\n"
	                                               "1.5 move VolumeButton\n"
	                                               "1.9 click VolumeButton/VolumeButton\n"
	                                               "3.1 click VolumeButton/VolumeButton\n"
	                                               "4 end\n"),
	                                          *Run.Path(TEXT("session.script"))));
	const FRunResult Result = Run.Run(FString::Printf(TEXT("--script \"%s\" --output \"%s\" --audio \"%s\""),
	                                                  *Run.Path(TEXT("session.script")), *Run.Path(TEXT("out")),
	                                                  *Run.Path(TEXT("heard.wav"))));
	ASSERT_EQ(Result.ExitCode, 0) << TCHAR_TO_UTF8(*Result.Errors);

	TArray<uint8> Wav;
	ASSERT_TRUE(FFileHelper::LoadFileToArray(Wav, *Run.Path(TEXT("heard.wav"))));
	ASSERT_GT(Wav.Num(), 44);
	const auto Little = [&Wav](int32 At, int32 Bytes)
	{
		uint32 Value = 0;
		for (int32 Index = Bytes - 1; Index >= 0; --Index)
		{
			Value = (Value << 8) | Wav[At + Index];
		}
		return Value;
	};
	EXPECT_EQ(Little(0, 4), 0x46464952u) << "RIFF";
	EXPECT_EQ(Little(22, 2), 2u) << "stereo";
	EXPECT_EQ(Little(24, 4), 48000u);
	EXPECT_EQ(Little(34, 2), 16u) << "bits a sample";
	EXPECT_EQ(Little(40, 4), uint32(Wav.Num() - 44));
	EXPECT_EQ(Wav.Num() - 44, 4 * 48000 * 4) << "four seconds of session";
	// The loudest sample of each second, left channel.
	TArray<int32> Loudest;
	for (int32 Second = 0; Second < 4; ++Second)
	{
		int32 Peak = 0;
		for (int32 Frame = Second * 48000; Frame < (Second + 1) * 48000; ++Frame)
		{
			Peak = FMath::Max(Peak, FMath::Abs(int32(int16(Little(44 + Frame * 4, 2)))));
		}
		Loudest.Add(Peak);
	}
	// The tone's peak is 1/8 of full scale, 3 dB down on each channel: about 2,900.
	EXPECT_NEAR(Loudest[1], 2900, 300);
	EXPECT_EQ(Loudest[2], 0) << "muted";
	EXPECT_NEAR(Loudest[3], 2900, 300);

	const TArray<TSharedPtr<FJsonObject>> Sounds = Only(ReadTrace(Run.Path(TEXT("out/trace.jsonl"))), TEXT("sound"));
	ASSERT_EQ(Sounds.Num(), 4);
	EXPECT_EQ(Sounds[2]->GetNumberField(TEXT("rms")), 0.0);
	EXPECT_NEAR(Sounds[3]->GetNumberField(TEXT("peak")), 2900.0 / 32767.0, 0.01);
}

TEST(LessonPlayer, SaysInEachSnapshotWhetherThePlayerIsFullscreen)
{
	FLessonPlayerRun Run;
	const FRunResult Result = Run.RunScript(FString(ScriptStart) + TEXT("1 move 960,500\n"
	                                                                    "1.5 click ScreenButton\n"
	                                                                    "2 snapshot fullscreen\n"
	                                                                    "2.5 move 900,500\n"
	                                                                    "3 click ScreenButton\n"
	                                                                    "3.5 snapshot back\n"));
	ASSERT_EQ(Result.ExitCode, 0) << TCHAR_TO_UTF8(*Result.Errors);
	const TArray<TSharedPtr<FJsonObject>> Snapshots =
	    Only(ReadTrace(Run.Path(TEXT("out/trace.jsonl"))), TEXT("snapshot"));
	ASSERT_EQ(Snapshots.Num(), 2);
	EXPECT_TRUE(Snapshots[0]->GetBoolField(TEXT("fullscreen")));
	EXPECT_FALSE(Snapshots[1]->GetBoolField(TEXT("fullscreen")));
}
