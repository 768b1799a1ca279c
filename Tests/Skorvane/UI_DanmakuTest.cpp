#include "DanmakuScreen.h"
#include "Headless/Utf8String.h"

#include "Components/CheckBox.h"
#include "Misc/OutputDevice.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

namespace
{
FTimespan Seconds(double Value)
{
	return FTimespan::FromSeconds(Value);
}

TArray<FString> ContentsAt(const FDanmakuScreen& Screen, double Second)
{
	TArray<FString> Contents;
	if (const TArray<FDanmakuData>* Bucket = Screen.Overlay->FindDanmakuAt(Seconds(Second)))
	{
		for (const FDanmakuData& Data : *Bucket)
		{
			Contents.Add(Data.Content);
		}
	}
	return Contents;
}

const FDanmakuData* FindIndexed(const FDanmakuScreen& Screen, double Second, const FString& Content)
{
	const TArray<FDanmakuData>* Bucket = Screen.Overlay->FindDanmakuAt(Seconds(Second));
	return Bucket ? Bucket->FindByPredicate([&Content](const FDanmakuData& Data) { return Data.Content == Content; })
	              : nullptr;
}

using FStrings = TArray<FString>;

// The texts the overlay reports as passed over, as they come; from the first laid-out frame on.
const TArray<FString>& WatchJumpedOver(FDanmakuScreen& Screen)
{
	TSharedRef<TArray<FString>> Texts = MakeShared<TArray<FString>>();
	Screen.Overlay->GetTrackManager()->OnDanmakuNotShown.AddLambda(
	    [Texts](const FDanmakuData& Data, EDanmakuNotShownReason Reason)
	    {
		    if (Reason == EDanmakuNotShownReason::JumpedOver)
		    {
			    Texts->Add(Data.Content);
		    }
	    });
	return *Texts;
}

} // namespace

TEST(UI_Danmaku, FilesEachCommentUnderItsWholeSecond)
{
	FDanmakuScreen Screen;
	Screen.Step();
	Screen.Overlay->LoadDanmaku(TEXT(R"({"datas": [
		{"danmaku_spawn_time": 12000000, "danmaku_content": "a", "danmaku_mode": 1, "danmaku_font_size": 18,
		 "danmaku_font_color": "#FE0302", "user_display_name": "viewer", "danmaku_post_date": "2026.04.12-19.15.44",
		 "danmaku_id": 7, "post_id": 8, "user_id": 9},
		{"danmaku_spawn_time": 19000000, "danmaku_content": "b"},
		{"danmaku_spawn_time": 20000000, "danmaku_content": "c"}, {"danmaku_spawn_time": 21000000, "danmaku_content": "c2"},
		{"danmaku_spawn_time": 22000000, "danmaku_content": "c3"}, {"danmaku_spawn_time": 23000000, "danmaku_content": "c4"},
		{"danmaku_spawn_time": 24000000, "danmaku_content": "c5"},
		{"danmaku_content": "no time"},
		{"danmaku_spawn_time": -5000000, "danmaku_content": "minus half"},
		{"danmaku_spawn_time": -15000000, "danmaku_content": "minus one and a half"},
		{"danmaku_spawn_time": 864000000000, "danmaku_content": "a day in"},
		{"danmaku_spawn_time": 30000000, "danmaku_content": "mode seven", "danmaku_mode": 7},
		{"danmaku_spawn_time": 25000000, "danmaku_content": "c late"},
		5, "text", [1], null,
		{"danmaku_spawn_time": 40000000, "danmaku_content": "huge", "danmaku_id": 1e20, "post_id": -1e20,
		 "user_id": 3.9, "danmaku_font_size": -2.7, "danmaku_mode": 1e300}
	]})"));

	EXPECT_EQ(ContentsAt(Screen, 1.0), FStrings({TEXT("a"), TEXT("b")}));
	EXPECT_EQ(ContentsAt(Screen, 1.99), FStrings({TEXT("a"), TEXT("b")}));
	// A second left behind with room to spare, and come back to out of order, keeps every comment.
	EXPECT_EQ(ContentsAt(Screen, 2.0),
	          FStrings({TEXT("c"), TEXT("c2"), TEXT("c3"), TEXT("c4"), TEXT("c5"), TEXT("c late")}));
	EXPECT_EQ(ContentsAt(Screen, 0.0), FStrings({TEXT("no time"), TEXT("minus half")}));
	EXPECT_EQ(ContentsAt(Screen, -1.0), FStrings({TEXT("minus one and a half")}));
	EXPECT_EQ(ContentsAt(Screen, 86400.0), FStrings({TEXT("a day in")}));
	EXPECT_EQ(Screen.Overlay->GetIndexedSecondCount(), 7);

	const FDanmakuData* First = FindIndexed(Screen, 1.0, TEXT("a"));
	ASSERT_NE(First, nullptr);
	EXPECT_EQ(First->SpawnTime, 12000000);
	EXPECT_EQ(First->Mode, EDanmakuMode::TOP);
	EXPECT_EQ(First->FontSize, 18);
	EXPECT_EQ(First->FontColor, TEXT("#FE0302"));
	EXPECT_EQ(First->UserDisplayName, TEXT("viewer"));
	EXPECT_EQ(First->PostDate, FDateTime(2026, 4, 12, 19, 15, 44));
	EXPECT_EQ(First->DanmakuID, 7);

	const FDanmakuData* Untimed = FindIndexed(Screen, 0.0, TEXT("no time"));
	ASSERT_NE(Untimed, nullptr);
	EXPECT_EQ(Untimed->SpawnTime, 0);
	EXPECT_EQ(Untimed->FontColor, TEXT(""));
	EXPECT_EQ(Untimed->PostDate, FDateTime());

	const FDanmakuData* Seven = FindIndexed(Screen, 3.0, TEXT("mode seven"));
	ASSERT_NE(Seven, nullptr);
	EXPECT_EQ(static_cast<int32>(Seven->Mode), 7);

	const FDanmakuData* Huge = FindIndexed(Screen, 4.0, TEXT("huge"));
	ASSERT_NE(Huge, nullptr);
	EXPECT_EQ(Huge->DanmakuID, MAX_int32);
	EXPECT_EQ(Huge->PostID, MIN_int32);
	EXPECT_EQ(Huge->UserID, 3);
	EXPECT_EQ(Huge->FontSize, -2);
	EXPECT_EQ(static_cast<int32>(Huge->Mode), MAX_int32);
}

TEST(UI_Danmaku, UnreadableDocumentLeavesAnEmptyIndex)
{
	FDanmakuScreen Screen;
	Screen.Step();
	const FString Good = MakeDanmakuDocument({{TEXT("kept?"), 1.5}});

	for (const TCHAR* Bad :
	     {TEXT(""), TEXT("not json"), TEXT("[{\"danmaku_content\": \"x\"}]"), TEXT("{}"), TEXT("{\"datas\": 5}"),
	      TEXT("{\"datas\": [{\"danmaku_content\": \"x\"},]}"), TEXT("{\"datas\": []} // comment")})
	{
		Screen.Overlay->LoadDanmaku(Good);
		ASSERT_EQ(ContentsAt(Screen, 1.0), FStrings({TEXT("kept?")}));
		Screen.Overlay->LoadDanmaku(Bad);
		EXPECT_EQ(Screen.Overlay->GetIndexedSecondCount(), 0) << TCHAR_TO_UTF8(Bad);
	}

	// A second document replaces the first completely.
	Screen.Overlay->LoadDanmaku(Good);
	Screen.Overlay->LoadDanmaku(MakeDanmakuDocument({{TEXT("other"), 2.0}}));
	EXPECT_TRUE(ContentsAt(Screen, 1.0).IsEmpty());
	EXPECT_EQ(ContentsAt(Screen, 2.0), FStrings({TEXT("other")}));
}

TEST(UI_Danmaku, DocumentHandedOverBeforeLayoutShowsFromTheFirstSecond)
{
	FDanmakuScreen Screen;
	Screen.Overlay->LoadDanmaku(MakeDanmakuDocument({{TEXT("stale"), 0.2}}));
	Screen.Overlay->LoadDanmaku(MakeDanmakuDocument({{TEXT("opening"), 0.2}, {TEXT("one"), 1.4}}));
	Screen.OpenLesson();

	Screen.PlayUntil(1.5);
	EXPECT_EQ(Screen.ShownContents(), FStrings({TEXT("opening"), TEXT("one")}));
}

TEST(UI_Danmaku, HandsOverEachSecondOnceAsPlaybackEntersIt)
{
	FDanmakuScreen Screen;
	Screen.Step();
	Screen.Overlay->LoadDanmaku(MakeDanmakuDocument(
	    {{TEXT("a"), 1.5}, {TEXT("b"), 2.1}, {TEXT("c"), 2.9}, {TEXT("e"), 4.0}, {TEXT("d"), 3.2}}));
	Screen.OpenLesson();

	Screen.PlayUntil(4.5);
	EXPECT_EQ(Screen.ShownContents(), FStrings({TEXT("a"), TEXT("b"), TEXT("c"), TEXT("d"), TEXT("e")}));
	// Each on the first frame of its second.
	for (const FShownDanmaku& Shown : Screen.ShownNodes)
	{
		const double Second = FMath::FloorToDouble(Shown.MediaSeconds);
		EXPECT_LT(Shown.MediaSeconds - Second, 1.5 * FDanmakuScreen::FrameSeconds) << TCHAR_TO_UTF8(*Shown.Content);
	}

	// A stopped clock hands over nothing more.
	Screen.Player->Pause();
	Screen.StepFor(2.0);
	EXPECT_EQ(Screen.ShownNodes.Num(), 5);
}

TEST(UI_Danmaku, SeekSkipsThePassedSecondsAndJumpingBackShowsThemAgain)
{
	FDanmakuScreen Screen;
	Screen.Step();
	const TArray<FString>& JumpedOver = WatchJumpedOver(Screen);
	Screen.Overlay->LoadDanmaku(MakeDanmakuDocument({{TEXT("0:10"), 10.5},
	                                                 {TEXT("0:11"), 11.5},
	                                                 {TEXT("0:20"), 20.5},
	                                                 {TEXT("0:21"), 21.5},
	                                                 {TEXT("0:50"), 50.0},
	                                                 {TEXT("1:30"), 90.2}}));
	Screen.OpenLesson();
	Screen.PlayUntil(10.2);
	EXPECT_EQ(Screen.ShownContents(), FStrings({TEXT("0:10")}));

	Screen.SeekTo(90.0);
	Screen.PlayUntil(90.5);
	EXPECT_EQ(Screen.ShownContents(), FStrings({TEXT("0:10"), TEXT("1:30")}));
	EXPECT_EQ(Screen.Canvas->GetChildrenCount(), 1);
	// What the seek passed over is reported, in time order, so that every comment is accounted for.
	EXPECT_EQ(JumpedOver, FStrings({TEXT("0:11"), TEXT("0:20"), TEXT("0:21"), TEXT("0:50")}));

	Screen.SeekTo(20.0);
	Screen.PlayUntil(21.2);
	EXPECT_EQ(Screen.ShownContents(), FStrings({TEXT("0:10"), TEXT("1:30"), TEXT("0:20"), TEXT("0:21")}));
	EXPECT_EQ(JumpedOver.Num(), 4) << "jumping back passes over nothing";
}

TEST(UI_Danmaku, ReplayAfterTheEndShowsTheFirstSecondAgain)
{
	FDanmakuScreen Screen(3.0);
	Screen.Overlay->LoadDanmaku(MakeDanmakuDocument({{TEXT("start"), 0.5}, {TEXT("end"), 2.5}}));
	Screen.OpenLesson();
	Screen.PlayUntil(3.0, 400);
	Screen.StepFor(0.5);
	EXPECT_FALSE(Screen.Player->IsPlaying());

	Screen.Player->Rewind();
	Screen.Player->Play();
	Screen.Step();
	Screen.PlayUntil(0.5);
	EXPECT_EQ(Screen.ShownContents(), FStrings({TEXT("start"), TEXT("end"), TEXT("start")}));
}

TEST(UI_Danmaku, MediaTimePastADayWrapsToTheHourOfTheDay)
{
	FDanmakuScreen Screen(90000.0);
	Screen.Step();
	Screen.Overlay->LoadDanmaku(MakeDanmakuDocument({{TEXT("five"), 5.5}, {TEXT("a day and five"), 86405.5}}));
	Screen.OpenLesson();
	Screen.PlayUntil(0.5);

	Screen.SeekTo(86405.0);
	Screen.PlayUntil(86405.5);
	EXPECT_EQ(Screen.ShownContents(), FStrings({TEXT("five")}));
}

TEST(UI_Danmaku, PausedOverlayHandsOverNothingAndSkipsWhatPassed)
{
	FDanmakuScreen Screen;
	// Before the first laid-out frame a pause is ignored.
	Screen.Overlay->Pause();
	Screen.Overlay->LoadDanmaku(MakeDanmakuDocument(
	    {{TEXT("c1"), 1.0}, {TEXT("c2"), 2.0}, {TEXT("c3"), 3.0}, {TEXT("c4"), 4.0}, {TEXT("c5"), 5.0}}));
	Screen.OpenLesson();
	Screen.Step();
	const TArray<FString>& JumpedOver = WatchJumpedOver(Screen);
	Screen.PlayUntil(2.2);
	EXPECT_EQ(Screen.ShownContents(), FStrings({TEXT("c1"), TEXT("c2")}));

	Screen.Overlay->Pause();
	Screen.PlayUntil(4.5);
	EXPECT_EQ(Screen.ShownNodes.Num(), 2);

	Screen.Overlay->Resume();
	Screen.PlayUntil(5.2);
	EXPECT_EQ(Screen.ShownContents(), FStrings({TEXT("c1"), TEXT("c2"), TEXT("c4"), TEXT("c5")}));
	EXPECT_EQ(JumpedOver, FStrings({TEXT("c3")}));
}

TEST(UI_Danmaku, SwitchingOffHidesAndClearsUntilSwitchedOnAgain)
{
	FDanmakuScreen Screen;
	Screen.Overlay->LoadDanmaku(MakeDanmakuDocument(
	    {{TEXT("c1"), 1.0}, {TEXT("c2"), 2.0}, {TEXT("c3"), 3.0}, {TEXT("c4"), 4.0}, {TEXT("c5"), 5.0}}));
	Screen.OpenLesson();
	Screen.PlayUntil(2.2);
	ASSERT_EQ(Screen.Canvas->GetChildrenCount(), 2);
	UCheckBox* Toggle = FDanmakuScreen::Child<UCheckBox>(Screen.Bar, TEXT("OpenDanmakuButton"));

	Screen.Click(Toggle);
	EXPECT_EQ(Screen.Canvas->GetVisibility(), ESlateVisibility::Hidden);
	EXPECT_EQ(Screen.Canvas->GetChildrenCount(), 0);
	// The video paused and resumed meanwhile, as a player tells its overlay: still off.
	Screen.Overlay->Pause();
	Screen.Overlay->Resume();
	Screen.PlayUntil(3.5);
	EXPECT_EQ(Screen.Canvas->GetChildrenCount(), 0);

	Screen.Click(Toggle);
	EXPECT_EQ(Screen.Canvas->GetVisibility(), ESlateVisibility::SelfHitTestInvisible);
	Screen.PlayUntil(5.2);
	EXPECT_EQ(Screen.ShownContents(), FStrings({TEXT("c1"), TEXT("c2"), TEXT("c4"), TEXT("c5")}));
}

TEST(UI_Danmaku, SentCommentShowsAtOnceAndReplaysAsAnOrdinaryComment)
{
	FDanmakuScreen Screen;
	Screen.Step();
	Screen.OpenLesson();
	Screen.PlayUntil(12.7);

	Screen.SendComment(TEXT("mine"));
	EXPECT_EQ(Screen.CountShown(TEXT("mine"), true), 1);
	EXPECT_EQ(Screen.CountShown(TEXT("mine"), false), 0);
	EXPECT_EQ(ContentsAt(Screen, 12.0), FStrings({TEXT("mine")}));
	EXPECT_EQ(FindIndexed(Screen, 12.0, TEXT("mine"))->FontColor, TEXT("#FFFFFFFF"));

	Screen.PlayUntil(14.0);
	EXPECT_EQ(Screen.CountShown(TEXT("mine"), false), 0);
	Screen.SeekTo(12.0);
	Screen.PlayUntil(12.5);
	EXPECT_EQ(Screen.CountShown(TEXT("mine"), false), 1);
	EXPECT_EQ(Screen.CountShown(TEXT("mine"), true), 1);
}

TEST(UI_Danmaku, CommentSentWhilePausedShowsNowAndAgainOnResume)
{
	FDanmakuScreen Screen;
	Screen.Step();
	Screen.OpenLesson();
	Screen.PlayUntil(12.2);
	Screen.Player->Pause();
	Screen.Overlay->Pause();
	Screen.SeekTo(30.0);

	Screen.SendComment(TEXT("while paused"));
	EXPECT_EQ(Screen.CountShown(TEXT("while paused"), true), 1);

	Screen.Player->Play();
	Screen.Overlay->Resume();
	Screen.PlayUntil(30.5);
	EXPECT_EQ(Screen.CountShown(TEXT("while paused"), false), 1);
}

TEST(UI_Danmaku, SurvivesBeingTakenOffScreenAndPutBack)
{
	FDanmakuScreen Screen;
	Screen.Overlay->LoadDanmaku(MakeDanmakuDocument({{TEXT("early"), 1.5}, {TEXT("later"), 6.5}}));
	Screen.OpenLesson();
	Screen.PlayUntil(2.0);

	Screen.TakeOffScreenAndBack();

	Screen.SendComment(TEXT("once"));
	EXPECT_EQ(Screen.HostDouble->Sent.Num(), 1);
	EXPECT_EQ(Screen.CountShown(TEXT("once"), true), 1);
	EXPECT_NE(FindIndexed(Screen, 2.0, TEXT("once")), nullptr);

	Screen.PlayUntil(7.0);
	EXPECT_EQ(Screen.CountShown(TEXT("later"), false), 1);
	Screen.SeekTo(1.0);
	Screen.PlayUntil(1.2);
	EXPECT_EQ(Screen.CountShown(TEXT("early"), false), 2);
}

TEST(UI_Danmaku, ToggleAndSendBeforeTheTrackManagerExists)
{
	FDanmakuScreen Screen(600.0, false);
	Screen.Wire(nullptr);
	Screen.Step();
	UCheckBox* Toggle = FDanmakuScreen::Child<UCheckBox>(Screen.Bar, TEXT("OpenDanmakuButton"));

	// With no clock there is no track manager yet; the bar still switches off and a host's comment is filed.
	Screen.Click(Toggle);
	EXPECT_FALSE(FDanmakuScreen::Child<UWidget>(Screen.Bar, TEXT("InputDanmakuText"))->GetIsEnabled());
	Screen.Bar->OnSendDanmaku.Broadcast(FDanmakuScreen::LessonUrl, Seconds(5.2).GetTicks(), TEXT("early bird"),
	                                    EDanmakuMode::SCROLL, 24, TEXT("#FFFFFFFF"));
	EXPECT_EQ(ContentsAt(Screen, 5.0), FStrings({TEXT("early bird")}));

	// The track manager made later starts switched off, as the bar shows.
	Screen.Wire(Screen.Player);
	Screen.OpenLesson();
	Screen.PlayUntil(1.0);
	EXPECT_EQ(Screen.Canvas->GetVisibility(), ESlateVisibility::Hidden);
	Screen.SeekTo(5.0);
	Screen.PlayUntil(5.5);
	EXPECT_EQ(Screen.CountShown(TEXT("early bird"), false), 0);

	Screen.Click(Toggle);
	Screen.SeekTo(4.0);
	Screen.PlayUntil(5.5);
	EXPECT_EQ(Screen.CountShown(TEXT("early bird"), false), 1);
}

TEST(UI_Danmaku, XmlDocumentFillsTheIndexAndABrokenOneEmptiesIt)
{
	FDanmakuScreen Screen;
	Screen.Overlay->LoadDanmakuXml(TEXT("<i><d p=\"0.4,1,25,16777215\">early</d></i>"));
	Screen.Overlay->LoadDanmakuXml(
	    TEXT("<i><d p=\"0.2,1,25,16646914\">opening</d><d p=\"1.4,5,25,16777215\">top &amp; centre</d>"
	         "<d p=\"1.5,7,25,16777215\">special</d></i>"));
	Screen.OpenLesson();
	Screen.PlayUntil(2.5);
	// Kept until the first laid-out frame, then shown from the first second; the special comment is indexed but
	// never placed.
	EXPECT_EQ(Screen.ShownContents(), FStrings({TEXT("opening"), TEXT("top & centre")}));
	ASSERT_EQ(ContentsAt(Screen, 1.0), FStrings({TEXT("top & centre"), TEXT("special")}));
	EXPECT_EQ(FindIndexed(Screen, 0.0, TEXT("opening"))->FontColor, TEXT("#FE0302"));

	Screen.Overlay->LoadDanmakuXml(TEXT("<i><d p=\"1,1,25,0\">cut off"));
	EXPECT_EQ(Screen.Overlay->GetIndexedSecondCount(), 0);
	// The later of the two kinds of document wins, whichever it is.
	Screen.Overlay->LoadDanmakuXml(TEXT("<i><d p=\"3,1,25,0\">xml</d></i>"));
	Screen.Overlay->LoadDanmaku(MakeDanmakuDocument({{TEXT("json"), 4.0}}));
	EXPECT_TRUE(ContentsAt(Screen, 3.0).IsEmpty());
	EXPECT_EQ(ContentsAt(Screen, 4.0), FStrings({TEXT("json")}));
}

TEST(UI_Danmaku, WhatIsHandedOverBeforeLayoutCountsInTheOrderItCame)
{
	{
		FDanmakuScreen Screen;
		Screen.Overlay->LoadDanmakuXml(TEXT("<i><d p=\"0.2,1,25,0\">xml</d></i>"));
		Screen.Overlay->LoadDanmaku(MakeDanmakuDocument({{TEXT("json"), 0.3}}));
		// Filed after the document: kept when the document is read at the first laid-out frame.
		EXPECT_TRUE(Screen.Overlay->AddDanmakuThenSpawn(
		    TEXT("{\"danmaku_spawn_time\":50000000,\"danmaku_content\":\"live\",\"danmaku_mode\":0}")));
		Screen.OpenLesson();
		Screen.PlayUntil(1.0);
		EXPECT_EQ(Screen.ShownContents(), FStrings({TEXT("json")}));
		EXPECT_EQ(ContentsAt(Screen, 5.0), FStrings({TEXT("live")}));
	}

	// A document a listener hands over when the track manager is made is later than the one kept, and wins.
	FDanmakuScreen Other;
	Other.Overlay->LoadDanmaku(MakeDanmakuDocument({{TEXT("kept"), 0.3}}));
	Other.Overlay->OnTrackManagerCreated.AddLambda(
	    [&Other](UDanmakuTrackManager*) {
		    Other.Overlay->LoadDanmaku(MakeDanmakuDocument({{TEXT("listener's"), 0.4}}));
	    });
	Other.OpenLesson();
	Other.PlayUntil(1.0);
	EXPECT_EQ(Other.ShownContents(), FStrings({TEXT("listener's")}));
}

TEST(UI_Danmaku, Utf8DocumentIsFiledLikeTextAndKeptUntilLayout)
{
	const auto Bytes = [](const FString& Text) { return ToUtf8(Text); };
	const auto View = [](const std::string& Utf8)
	{ return FUtf8StringView(reinterpret_cast<const UTF8CHAR*>(Utf8.data()), int32(Utf8.size())); };
	{
		FDanmakuScreen Screen;
		{
			// The caller's bytes are gone before the overlay is laid out.
			const std::string Early = Bytes(MakeDanmakuDocument({{TEXT("開幕 ✓"), 0.2}, {TEXT("one"), 1.4}}));
			Screen.Overlay->LoadDanmakuUtf8(View(Early));
		}
		Screen.OpenLesson();
		Screen.PlayUntil(1.5);
		EXPECT_EQ(Screen.ShownContents(), FStrings({TEXT("開幕 ✓"), TEXT("one")}));

		Screen.Overlay->LoadDanmakuUtf8(View(Bytes(MakeDanmakuDocument({{TEXT("two"), 2.5}}))));
		EXPECT_TRUE(ContentsAt(Screen, 1.0).IsEmpty());
		EXPECT_EQ(ContentsAt(Screen, 2.0), FStrings({TEXT("two")}));
		// A byte order mark is no part of the document; a document that does not read says so.
		Screen.Overlay->LoadDanmakuUtf8(View("\xEF\xBB\xBF" + Bytes(MakeDanmakuDocument({{TEXT("marked"), 3.5}}))));
		EXPECT_EQ(ContentsAt(Screen, 3.0), FStrings({TEXT("marked")}));
		FLogCapture Log;
		// Colours that do not read are shown in the default colour, and said so once for the document.
		Screen.Overlay->LoadDanmakuUtf8(
		    View("{\"datas\": [{\"danmaku_font_color\": \"nope\"}, "
		         "{\"danmaku_font_color\": \"#12\"}, {\"danmaku_font_color\": \"#ABC\"}]}"));
		EXPECT_EQ(Log.MessagesOf(TEXT("LogSkorvane")),
		          FStrings({TEXT(
		              "Danmaku document: 2 comments have a colour that does not read; they are shown in #FFFFFF")}));
		Screen.Overlay->LoadDanmakuUtf8(View("{\"datas\": [{\"danmaku_content\": \"x\"},]}"));
		EXPECT_EQ(Screen.Overlay->GetIndexedSecondCount(), 0);
		EXPECT_TRUE(Log.MessagesOf(TEXT("LogSkorvane"))
		                .ContainsByPredicate([](const FString& Line)
		                                     { return Line.StartsWith(TEXT("Danmaku document not read")); }))
		    << "in the module's own log category";
	}

	// Before layout the latest document wins, whatever its form.
	FDanmakuScreen Other;
	Other.Overlay->LoadDanmakuUtf8(View(Bytes(MakeDanmakuDocument({{TEXT("utf-8"), 0.2}}))));
	Other.Overlay->LoadDanmakuXml(TEXT("<i><d p=\"0.3,1,25,0\">xml</d></i>"));
	Other.OpenLesson();
	Other.PlayUntil(1.0);
	EXPECT_EQ(Other.ShownContents(), FStrings({TEXT("xml")}));
}

TEST(UI_Danmaku, BlueprintsWithoutTheirBoundChildrenCreateNothing)
{
	// Blueprints of the overlay, the bar and the style panel that have no widget tree at all.
	const TCHAR* Assets[][3] = {
	    {TEXT("/Game/Test/WBP_DanmakuNoTree"), TEXT("WBP_DanmakuNoTree_C"), TEXT("DanmakuCanvasPanel")},
	    {TEXT("/Game/Test/WBP_DanmakuBarNoTree"), TEXT("WBP_DanmakuBarNoTree_C"), TEXT("OpenDanmakuButton")},
	    {TEXT("/Game/Test/WBP_DanmakuNodeSettingNoTree"), TEXT("WBP_DanmakuNodeSettingNoTree_C"), TEXT("ModelBox")},
	};
	FHeadlessApplication App;
	for (const auto& [Path, ClassName, Child] : Assets)
	{
		UClass* Class = StaticLoadClass(UUserWidget::StaticClass(), nullptr, Path);
		ASSERT_NE(Class, nullptr) << ToUtf8(Path);
		FLogCapture Log;
		UUserWidget* Widget = CreateWidget<UUserWidget>(App.GetWorld(), Class);
		if (Widget)
		{
			// What the viewer's screen would do with it.
			Widget->AddToViewport();
			App.Tick(1.0f / 60.0f);
		}
		EXPECT_EQ(Widget, nullptr) << ToUtf8(Path);
		const TArray<FString> Errors = Log.Messages(ELogVerbosity::Error);
		ASSERT_EQ(Errors.Num(), 1) << ToUtf8(Path);
		EXPECT_TRUE(Errors[0].Contains(ClassName)) << ToUtf8(Errors[0]);
		EXPECT_TRUE(Errors[0].Contains(Child)) << ToUtf8(Errors[0]);
	}
}

TEST(UI_Danmaku, CommentsOnScreenKeepTheirLanesAcrossARebuild)
{
	FDanmakuScreen Screen;
	TArray<TPair<FString, double>> Comments;
	for (int32 Index = 0; Index < 120; ++Index)
	{
		Comments.Add({FString::Printf(TEXT("comment %d"), Index), 1.0 + Index * 0.025});
	}
	Screen.Overlay->LoadDanmaku(MakeDanmakuDocument(Comments));
	Screen.OpenLesson();
	Screen.PlayUntil(2.5);
	const int32 Before = Screen.Canvas->GetChildrenCount();
	ASSERT_GT(Before, 20);

	Screen.TakeOffScreenAndBack();
	EXPECT_EQ(Screen.Canvas->GetChildrenCount(), Before) << "the second playing now is not handed over again";
	Screen.PlayUntil(4.5);

	// Lanes still hold the nodes that were on screen, so nothing placed later runs into them.
	TArray<UUI_DanmakuNode*> Nodes;
	for (UWidget* Widget : Screen.Canvas->GetAllChildren())
	{
		Nodes.Add(Cast<UUI_DanmakuNode>(Widget));
	}
	for (int32 A = 0; A < Nodes.Num(); ++A)
	{
		for (int32 B = A + 1; B < Nodes.Num(); ++B)
		{
			const FVector2D PA = Nodes[A]->GetPosition(), SA = Nodes[A]->GetNodeSize();
			const FVector2D PB = Nodes[B]->GetPosition(), SB = Nodes[B]->GetNodeSize();
			const bool bOverlap = PA.X < PB.X + SB.X - 0.5 && PB.X < PA.X + SA.X - 0.5 && PA.Y < PB.Y + SB.Y - 0.5 &&
			                      PB.Y < PA.Y + SA.Y - 0.5;
			EXPECT_FALSE(bOverlap) << ToUtf8(Nodes[A]->GetData().Content) << " and "
			                       << ToUtf8(Nodes[B]->GetData().Content);
		}
	}
}
