#include "AppRun.h"
#include "CommentTrace.h"
#include "PngPicture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>

namespace
{
struct FComment
{
	int32 Id;
	double Seconds;
	int32 Mode;
	int32 FontSize;
};

// A short document: a steady trickle of every mode, a reverse comment (shown by default here) and one of a mode no
// lane takes, plus a burst at second 3 larger than the lanes can hold.
TArray<FComment> MakeComments()
{
	TArray<FComment> Comments;
	int32 Id = 1;
	for (int32 Index = 0; Index < 40; ++Index)
	{
		Comments.Add({Id++, 0.25 * Index + 0.1, Index % 3, Index % 2 ? 18 : 30});
	}
	for (int32 Index = 0; Index < 120; ++Index)
	{
		Comments.Add({Id++, 3.0 + 0.005 * Index, Index % 5 == 0 ? 1 : 0, 24});
	}
	Comments.Add({Id++, 4.5, 3, 24});
	Comments.Add({Id++, 5.5, 9, 24});
	Comments.Add({Id++, 14.5, 0, 24});
	return Comments;
}

FString MakeDocument(const TArray<FComment>& Comments)
{
	TArray<FString> Items;
	for (const FComment& Comment : Comments)
	{
		Items.Add(FString::Printf(
		    TEXT("{\"danmaku_id\":%d,\"danmaku_spawn_time\":%lld,\"danmaku_content\":\"第%d条 comment\","
		         "\"danmaku_mode\":%d,\"danmaku_font_size\":%d,\"danmaku_font_color\":\"#FE0302\"}"),
		    Comment.Id, int64(Comment.Seconds * 1e7), Comment.Id, Comment.Mode, Comment.FontSize));
	}
	return FString(TEXT("{\"datas\":[")) + FString::Join(Items, TEXT(",")) + TEXT("]}");
}

} // namespace

TEST(DanmakuPreview, EveryCommentOfAPlayedSecondIsPlacedOrAccountedForAndPlacementsStayInTheirLanes)
{
	FAppRun Preview(TEXT(DANMAKU_PREVIEW_PATH));
	const TArray<FComment> Comments = MakeComments();
	ASSERT_TRUE(FFileHelper::SaveStringToFile(MakeDocument(Comments), *Preview.Path(TEXT("comments.json"))));

	const FRunResult Result = Preview.Run(FString::Printf(
	    TEXT("--comments \"%s\" --canvas 1280x720 --seconds 12 --snapshots 3.5,7.5 --output \"%s\" --trace \"%s\""),
	    *Preview.Path(TEXT("comments.json")), *Preview.Path(TEXT("out")), *Preview.Path(TEXT("trace.jsonl"))));
	ASSERT_EQ(Result.ExitCode, 0) << TCHAR_TO_UTF8(*Result.Errors);
	EXPECT_TRUE(Result.Output.Contains(TEXT("comments loaded: 163")));
	for (const TCHAR* Snapshot : {TEXT("out/snapshot_0003.50s.png"), TEXT("out/snapshot_0007.50s.png")})
	{
		TArray<uint8> Bytes;
		ASSERT_TRUE(FFileHelper::LoadFileToArray(Bytes, *Preview.Path(Snapshot))) << TCHAR_TO_UTF8(Snapshot);
		ASSERT_GT(Bytes.Num(), 8);
		EXPECT_EQ(Bytes[1], 'P');
		EXPECT_EQ(Bytes[2], 'N');
		EXPECT_EQ(Bytes[3], 'G');
	}

	const TArray<TSharedPtr<FJsonObject>> Events = ReadTrace(Preview.Path(TEXT("trace.jsonl")));
	ASSERT_FALSE(Events.IsEmpty());
	ASSERT_EQ(Events[0]->GetStringField(TEXT("event")), TEXT("overlay"));
	const double Width = Events[0]->GetNumberField(TEXT("width"));
	const double Height = Events[0]->GetNumberField(TEXT("height"));
	const double Lane = Events[0]->GetNumberField(TEXT("lane_height"));
	EXPECT_DOUBLE_EQ(Width, 1280.0);
	const int32 UpperLanes = int32(0.75 * Height / Lane);
	const int32 LowerLanes = int32(0.25 * Height / Lane);

	std::multiset<int32> SeenIds;
	int32 Dropped = 0;
	int32 Own = 0;
	for (int32 Index = 1; Index < Events.Num(); ++Index)
	{
		const FJsonObject& Event = *Events[Index];
		const FString Kind = Event.GetStringField(TEXT("event"));
		if (Kind != TEXT("placed") && Kind != TEXT("not_shown"))
		{
			continue;
		}
		const bool bPlaced = Kind == TEXT("placed");
		if (bPlaced && Event.GetBoolField(TEXT("own")))
		{
			++Own;
		}
		else
		{
			SeenIds.insert(int32(Event.GetNumberField(TEXT("id"))));
		}
		if (!bPlaced)
		{
			const FString Reason = Event.GetStringField(TEXT("reason"));
			const int32 Mode = int32(Event.GetNumberField(TEXT("mode")));
			EXPECT_EQ(Reason == TEXT("mode never placed"), Mode > 3) << TCHAR_TO_UTF8(*Reason);
			Dropped += Reason == TEXT("no free lane") ? 1 : 0;
			continue;
		}
		const int32 Mode = int32(Event.GetNumberField(TEXT("mode")));
		const int32 First = int32(Event.GetNumberField(TEXT("first_lane")));
		const int32 Lanes = int32(Event.GetNumberField(TEXT("lanes")));
		const double X = Event.GetNumberField(TEXT("x"));
		const double Y = Event.GetNumberField(TEXT("y"));
		const double NodeWidth = Event.GetNumberField(TEXT("width"));
		const double NodeHeight = Event.GetNumberField(TEXT("height"));
		ASSERT_GE(First, 0);
		EXPECT_GT(NodeHeight, (Lanes - 1) * Lane) << "a node covers just the lanes its height needs";
		EXPECT_LE(NodeHeight, Lanes * Lane + 1e-3);
		EXPECT_LE(First + Lanes, Mode == 2 ? LowerLanes : UpperLanes) << "placed beyond its kind's area";
		if (Mode == 2)
		{
			EXPECT_NEAR(Y, Height - First * Lane - NodeHeight, 1e-3);
		}
		else
		{
			EXPECT_NEAR(Y, First * Lane, 1e-3);
		}
		const double StartX = Mode == 0 ? Width : (Mode == 3 ? -NodeWidth : Width * 0.5 - NodeWidth * 0.5);
		EXPECT_NEAR(X, StartX, 1e-3) << "mode " << Mode;
		if (Mode == 3)
		{
			EXPECT_EQ(Event.GetStringField(TEXT("direction")), TEXT("ltr"));
			EXPECT_GT(Event.GetNumberField(TEXT("speed")), 0.0);
		}
		EXPECT_GT(Event.GetNumberField(TEXT("life")), 0.0);
	}

	for (const FComment& Comment : Comments)
	{
		const bool bPlayed = Comment.Seconds < 12.0;
		EXPECT_EQ(SeenIds.count(Comment.Id), bPlayed ? 1u : 0u) << "comment " << Comment.Id;
	}
	EXPECT_GT(Dropped, 0) << "the burst at second 3 is more than the lanes hold";
	EXPECT_EQ(Own, 3) << "the viewer's three comments before 12 s are shown";
}

TEST(DanmakuPreview, RefusesBadInputWithAClearMessage)
{
	FAppRun Preview(TEXT(DANMAKU_PREVIEW_PATH));
	const FRunResult Missing = Preview.Run(TEXT("--comments /nonexistent/comments.json"));
	EXPECT_EQ(Missing.ExitCode, 1);
	EXPECT_TRUE(Missing.Errors.Contains(TEXT("not found"))) << TCHAR_TO_UTF8(*Missing.Errors);

	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("[1, 2, 3]"), *Preview.Path(TEXT("array.json"))));
	const FRunResult NotADocument =
	    Preview.Run(FString::Printf(TEXT("--comments \"%s\""), *Preview.Path(TEXT("array.json"))));
	EXPECT_EQ(NotADocument.ExitCode, 1);
	EXPECT_TRUE(NotADocument.Errors.Contains(TEXT("not a comment document"))) << TCHAR_TO_UTF8(*NotADocument.Errors);

	const FRunResult BadOption = Preview.Run(TEXT("--canvas huge"));
	EXPECT_EQ(BadOption.ExitCode, 2);
	EXPECT_TRUE(BadOption.Errors.Contains(TEXT("--canvas"))) << TCHAR_TO_UTF8(*BadOption.Errors);

	const FRunResult MissingMedia = Preview.Run(TEXT("--media /nonexistent/lesson.mp4 --seconds 1"));
	EXPECT_EQ(MissingMedia.ExitCode, 1);
	EXPECT_TRUE(MissingMedia.Errors.Contains(TEXT("media file not found"))) << TCHAR_TO_UTF8(*MissingMedia.Errors);

	// A folder is named as one; outputs that would block or overwrite an input are refused before anything runs.
	const FRunResult Folder = Preview.Run(FString::Printf(TEXT("--comments \"%s\""), *Preview.Folder));
	EXPECT_EQ(Folder.ExitCode, 1);
	EXPECT_TRUE(Folder.Errors.Contains(TEXT("is a folder, not a file"))) << TCHAR_TO_UTF8(*Folder.Errors);
	const FRunResult Full = Preview.Run(TEXT("--seconds 1 --trace /dev/full"));
	EXPECT_EQ(Full.ExitCode, 1);
	EXPECT_TRUE(Full.Errors.Contains(TEXT("/dev/full is not a regular file"))) << TCHAR_TO_UTF8(*Full.Errors);
	const FRunResult Zero = Preview.Run(TEXT("--media https://lessons.test/x.mp4 --media-description /dev/zero"));
	EXPECT_EQ(Zero.ExitCode, 1);
	EXPECT_TRUE(Zero.Errors.Contains(TEXT("media description /dev/zero is not a regular file")))
	    << TCHAR_TO_UTF8(*Zero.Errors);
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("{\"datas\": []}"), *Preview.Path(TEXT("mine.json"))));
	const FRunResult OverInput =
	    Preview.Run(FString::Printf(TEXT("--seconds 1 --comments \"%s\" --trace \"%s\""),
	                                *Preview.Path(TEXT("mine.json")), *Preview.Path(TEXT("mine.json"))));
	EXPECT_EQ(OverInput.ExitCode, 1);
	EXPECT_TRUE(OverInput.Errors.Contains(TEXT("would overwrite the input"))) << TCHAR_TO_UTF8(*OverInput.Errors);

	// A write that fails (a full disk) fails the trace, however late it is found.
	FCommentTrace Trace;
	ASSERT_TRUE(Trace.Open(TEXT("/dev/full")));
	Trace.WriteEvent(TEXT("play"));
	EXPECT_FALSE(Trace.Close());

	// A media whose header states an absurd length is not played "to the end".
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("[https://lessons.test/broken.mp4]\nDuration=900000000\n"),
	                                          *Preview.Path(TEXT("broken.media"))));
	const FRunResult Endless = Preview.Run(
	    FString::Printf(TEXT("--media https://lessons.test/broken.mp4 --media-description \"%s\" --output \"%s\""),
	                    *Preview.Path(TEXT("broken.media")), *Preview.Path(TEXT("out"))));
	EXPECT_EQ(Endless.ExitCode, 1);
	EXPECT_TRUE(Endless.Errors.Contains(TEXT("more than a week; --seconds S plays"))) << TCHAR_TO_UTF8(*Endless.Errors);

	const FRunResult Help = Preview.Run(TEXT("--help"));
	EXPECT_EQ(Help.ExitCode, 0);
	EXPECT_TRUE(Help.Output.Contains(TEXT("--comments FILE")));
}

TEST(DanmakuPreview, CountsCommentsNoClockReachesAndReportsASnapshotPastTheEnd)
{
	FAppRun Preview(TEXT(DANMAKU_PREVIEW_PATH));
	// The bundled lesson lasts 180 s.
	const FString Document = TEXT("{\"datas\":[{\"danmaku_id\":1,\"danmaku_spawn_time\":5000000},"
	                              "{\"danmaku_id\":2,\"danmaku_spawn_time\":-20000000},"
	                              "{\"danmaku_id\":3,\"danmaku_spawn_time\":1900000000},"
	                              "{\"danmaku_id\":4,\"danmaku_spawn_time\":1e400},"
	                              "{\"danmaku_id\":1e12,\"danmaku_spawn_time\":5000000}]}");
	ASSERT_TRUE(FFileHelper::SaveStringToFile(Document, *Preview.Path(TEXT("odd.json"))));
	const FRunResult Result = Preview.Run(FString::Printf(
	    TEXT("--comments \"%s\" --seconds 2 --snapshots 1,500 --no-send --output \"%s\" --trace \"%s\""),
	    *Preview.Path(TEXT("odd.json")), *Preview.Path(TEXT("out")), *Preview.Path(TEXT("trace.jsonl"))));
	ASSERT_EQ(Result.ExitCode, 0) << TCHAR_TO_UTF8(*Result.Errors);
	for (const TCHAR* Line : {TEXT("never shown, time before the start: 1"), TEXT("never shown, time out of range: 1"),
	                          TEXT("never shown, time past the end of the media: 1"),
	                          TEXT("ids beyond 32 bits, clamped: 1"), TEXT("snapshot at 500.00 s not written")})
	{
		EXPECT_TRUE(Result.Output.Contains(Line)) << TCHAR_TO_UTF8(Line) << "\n" << TCHAR_TO_UTF8(*Result.Output);
	}
	EXPECT_TRUE(Result.Errors.Contains(TEXT("warning: 1 comment ids"))) << TCHAR_TO_UTF8(*Result.Errors);
	int32 NeverShown = 0;
	for (const TSharedPtr<FJsonObject>& Event : ReadTrace(Preview.Path(TEXT("trace.jsonl"))))
	{
		NeverShown += Event->GetStringField(TEXT("event")) == TEXT("never_shown") ? 1 : 0;
	}
	EXPECT_EQ(NeverShown, 3);

	// A broken document is refused with the place of the fault.
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("{\"datas\":[\n{\"danmaku_id\":1 \"x\":2}]}"),
	                                          *Preview.Path(TEXT("broken.json"))));
	const FRunResult Broken =
	    Preview.Run(FString::Printf(TEXT("--comments \"%s\""), *Preview.Path(TEXT("broken.json"))));
	EXPECT_EQ(Broken.ExitCode, 1);
	EXPECT_TRUE(Broken.Errors.Contains(TEXT("is not valid JSON: "))) << TCHAR_TO_UTF8(*Broken.Errors);
	EXPECT_TRUE(Broken.Errors.Contains(TEXT("Line: 2 Ch: 17"))) << TCHAR_TO_UTF8(*Broken.Errors);
}

TEST(DanmakuPreview, ReadsCharactersThatStraddleTheReadersChunks)
{
	FAppRun Preview(TEXT(DANMAKU_PREVIEW_PATH));
	const FString Content(u"前方高能😂懂了");
	const std::string Tail = "\",\"datas\":[{\"danmaku_id\":1,\"danmaku_spawn_time\":5000000,\"danmaku_content\":\"";
	// The file is read a MiB at a time; the content's first character (three bytes) or the emoji (four) starts one,
	// two or three bytes before a chunk ends.
	for (const int32 Before : {1, 2, 3, 12 + 1, 12 + 3})
	{
		const size_t Padding = (size_t(1) << 20) - Before - Tail.size() - 8;
		const std::string Document = "{\"pad\":\"" + std::string(Padding, 'x') + Tail + ToUtf8(Content) + "\"}]}";
		std::FILE* File = std::fopen(TCHAR_TO_UTF8(*Preview.Path(TEXT("chunks.json"))), "wb");
		ASSERT_NE(File, nullptr);
		std::fwrite(Document.data(), 1, Document.size(), File);
		std::fclose(File);
		const FRunResult Result = Preview.Run(FString::Printf(
		    TEXT("--comments \"%s\" --seconds 1 --snapshots 0.9 --no-send --output \"%s\" --trace \"%s\""),
		    *Preview.Path(TEXT("chunks.json")), *Preview.Path(TEXT("out")), *Preview.Path(TEXT("trace.jsonl"))));
		ASSERT_EQ(Result.ExitCode, 0) << TCHAR_TO_UTF8(*Result.Errors);
		TArray<FString> Texts;
		for (const TSharedPtr<FJsonObject>& Event : ReadTrace(Preview.Path(TEXT("trace.jsonl"))))
		{
			if (Event->GetStringField(TEXT("event")) == TEXT("placed"))
			{
				Texts.Add(Event->GetStringField(TEXT("text")));
			}
		}
		EXPECT_EQ(Texts, TArray<FString>({Content})) << "character starting " << Before << " bytes before the end";
	}

	// An XML document in the Latin-1 it declares: é is one byte there.
	const std::string Latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><i><d p=\"0.5,1,25,0\">caf\xE9</d></i>";
	std::FILE* File = std::fopen(TCHAR_TO_UTF8(*Preview.Path(TEXT("latin1.xml"))), "wb");
	ASSERT_NE(File, nullptr);
	std::fwrite(Latin1.data(), 1, Latin1.size(), File);
	std::fclose(File);
	const FRunResult Result = Preview.Run(FString::Printf(
	    TEXT("--comments \"%s\" --seconds 1 --no-send --output \"%s\" --trace \"%s\""),
	    *Preview.Path(TEXT("latin1.xml")), *Preview.Path(TEXT("out")), *Preview.Path(TEXT("trace2.jsonl"))));
	ASSERT_EQ(Result.ExitCode, 0) << TCHAR_TO_UTF8(*Result.Errors);
	const TArray<TSharedPtr<FJsonObject>> Events = ReadTrace(Preview.Path(TEXT("trace2.jsonl")));
	EXPECT_TRUE(Events.ContainsByPredicate([](const TSharedPtr<FJsonObject>& Event)
	                                       { return Event->GetStringField(TEXT("text")) == FString(u"caf\u00E9"); }));
}

TEST(DanmakuPreview, OverlayControlsFromTheCommandLineShowInTheSummaryAndTheTrace)
{
	FAppRun Preview(TEXT(DANMAKU_PREVIEW_PATH));
	ASSERT_TRUE(FFileHelper::SaveStringToFile(MakeDocument(MakeComments()), *Preview.Path(TEXT("comments.json"))));
	const FRunResult Result = Preview.Run(FString::Printf(
	    TEXT("--comments \"%s\" --canvas 1280x720 --seconds 6 --snapshots 3.5 --output \"%s\" --trace \"%s\" "
	         "--block 第7条 --block-pattern \"^第1\\d条\" --max-per-second 8 --opacity 0.7 --area 60,20 --speed 1.5"),
	    *Preview.Path(TEXT("comments.json")), *Preview.Path(TEXT("out")), *Preview.Path(TEXT("trace.jsonl"))));
	ASSERT_EQ(Result.ExitCode, 0) << TCHAR_TO_UTF8(*Result.Errors);
	EXPECT_TRUE(Result.Output.Contains(TEXT("blocked: 11 (1 words, 1 patterns on the block list)")))
	    << TCHAR_TO_UTF8(*Result.Output);
	EXPECT_TRUE(Result.Output.Contains(TEXT("display: opacity 0.70, area 60% top and 20% bottom, speed x1.50")));

	std::set<int32> Blocked;
	int32 OverRate = 0;
	TArray<double> PlacedClock;
	const TArray<TSharedPtr<FJsonObject>> Events = ReadTrace(Preview.Path(TEXT("trace.jsonl")));
	for (const TSharedPtr<FJsonObject>& Event : Events)
	{
		const FString Kind = Event->GetStringField(TEXT("event"));
		if (Kind == TEXT("not_shown"))
		{
			const FString Reason = Event->GetStringField(TEXT("reason"));
			if (Reason == TEXT("blocked"))
			{
				Blocked.insert(int32(Event->GetNumberField(TEXT("id"))));
			}
			OverRate += Reason == TEXT("over the per-second limit") ? 1 : 0;
		}
		else if (Kind == TEXT("placed") && !Event->GetBoolField(TEXT("own")))
		{
			PlacedClock.Add(Event->GetNumberField(TEXT("clock")));
		}
	}
	EXPECT_EQ(Blocked, std::set<int32>({7, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
	EXPECT_GT(OverRate, 100) << "the burst at second 3";
	EXPECT_TRUE(Result.Output.Contains(
	    FString::Printf(TEXT("over the density limit: 0 with no limit on screen, %d with at most 8 appearing in a "
	                         "second"),
	                    OverRate)));
	ASSERT_FALSE(PlacedClock.IsEmpty());
	for (int32 First = 0; First < PlacedClock.Num(); ++First)
	{
		int32 InSecond = 0;
		for (const double Clock : PlacedClock)
		{
			InSecond += Clock >= PlacedClock[First] && Clock < PlacedClock[First] + 1.0 ? 1 : 0;
		}
		EXPECT_LE(InSecond, 8) << "comments placed within a second from clock " << PlacedClock[First];
	}

	const FRunResult BadPattern = Preview.Run(TEXT("--block-pattern \"(unclosed\""));
	EXPECT_EQ(BadPattern.ExitCode, 2);
	EXPECT_TRUE(BadPattern.Errors.Contains(TEXT("'(unclosed' is not a valid regular expression")))
	    << TCHAR_TO_UTF8(*BadPattern.Errors);
	for (const TCHAR* Option : {TEXT("--opacity 2"), TEXT("--area 50"), TEXT("--speed 0"), TEXT("--max-on-screen -1")})
	{
		const FRunResult Bad = Preview.Run(Option);
		EXPECT_EQ(Bad.ExitCode, 2) << TCHAR_TO_UTF8(Option);
		EXPECT_TRUE(Bad.Errors.Contains(FString(Option).Left(FString(Option).Find(TEXT(" ")))))
		    << TCHAR_TO_UTF8(*Bad.Errors);
	}
}

TEST(DanmakuPreview, SnapshotsShowTheDecodedVideoFrameAtTheirTime)
{
	FAppRun Preview(TEXT(DANMAKU_PREVIEW_PATH));
	TArray<uint8> Video;
	ASSERT_TRUE(FFileHelper::LoadFileToArray(
	    Video, *FPaths::Combine(FPaths::ProjectContentDir(), TEXT("Samples/LessonVideo.mp4"))));
	ASSERT_TRUE(FFileHelper::SaveArrayToFile(Video, *Preview.Path(TEXT("lesson.mp4"))));
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("{\"datas\":[]}"), *Preview.Path(TEXT("comments.json"))));
	const FRunResult Result = Preview.Run(FString::Printf(
	    TEXT("--comments \"%s\" --media \"%s\" --snapshots 1.5,4.04 --output \"%s\""),
	    *Preview.Path(TEXT("comments.json")), *Preview.Path(TEXT("lesson.mp4")), *Preview.Path(TEXT("out"))));
	ASSERT_EQ(Result.ExitCode, 0) << TCHAR_TO_UTF8(*Result.Errors);
	// The 640 x 360 video fits the 1920 x 1016 picture above the bar: 2.82 times its size, centred.
	const double Scale = 1016.0 / 360.0;
	const double Left = (1920.0 - 640.0 * Scale) / 2.0;
	const TPair<const TCHAR*, int32> Snapshots[] = {{TEXT("out/snapshot_0001.50s.png"), 37},
	                                                {TEXT("out/snapshot_0004.04s.png"), 101}};
	for (const TPair<const TCHAR*, int32>& Snapshot : Snapshots)
	{
		FPngPicture Picture;
		ASSERT_TRUE(Picture.Load(Preview.Path(Snapshot.Key))) << TCHAR_TO_UTF8(Snapshot.Key);
		// The frame code: box k white for bit k of the frame number.
		int32 Code = 0;
		for (int32 Bit = 0; Bit < 8; ++Bit)
		{
			const int32 X = FMath::RoundToInt32(Left + (48 + 76 * Bit) * Scale);
			Code |= (Picture.Brightness(X, FMath::RoundToInt32(320 * Scale)) > 3 * 128 ? 1 : 0) << Bit;
		}
		EXPECT_EQ(Code, Snapshot.Value) << TCHAR_TO_UTF8(Snapshot.Key);
		// The test picture's colour strip runs across its whole width at 3/4 of its height: it starts where the
		// picture does, and beside it is the texture's clear colour, black.
		const int32 Strip = FMath::RoundToInt32(275 * Scale);
		EXPECT_GT(Picture.Brightness(FMath::RoundToInt32(Left) + 3, Strip), 200);
		EXPECT_EQ(Picture.Brightness(FMath::RoundToInt32(Left) - 3, Strip), 0);
		EXPECT_EQ(Picture.Brightness(1920 - FMath::RoundToInt32(Left) + 3, Strip), 0);
	}
}
