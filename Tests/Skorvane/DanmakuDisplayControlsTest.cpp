#include "DanmakuDisplayControls.h"

#include "Components/CheckBox.h"
#include "Components/TextBlock.h"
#include "DanmakuSave.h"
#include "DanmakuScreen.h"
#include "Headless/HeadlessPainter.h"
#include "Headless/HeadlessViewport.h"
#include "Logging/LogMacros.h"
#include "Misc/Paths.h"

#include "LogCapture.h"
#include "TemporarySavedDir.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
struct FTestComment
{
	FString Content;
	double Seconds = 0.0;
	EDanmakuMode Mode = EDanmakuMode::SCROLL;
	FString Color = TEXT("#FFFFFF");
};

FString Document(const TArray<FTestComment>& Comments)
{
	FString Json = TEXT("{\"datas\":[");
	for (int32 Index = 0; Index < Comments.Num(); ++Index)
	{
		const FTestComment& Comment = Comments[Index];
		Json += FString::Printf(TEXT("%s{\"danmaku_id\":%d,\"danmaku_spawn_time\":%lld,\"danmaku_content\":\"%s\","
		                             "\"danmaku_mode\":%d,\"danmaku_font_size\":24,\"danmaku_font_color\":\"%s\"}"),
		                        Index ? TEXT(",") : TEXT(""), Index + 1,
		                        static_cast<long long>(Comment.Seconds * ETimespan::TicksPerSecond), *Comment.Content,
		                        int32(Comment.Mode), *Comment.Color);
	}
	return Json + TEXT("]}");
}

TArray<FTestComment> Burst(const FString& Prefix, int32 Count, double Second)
{
	TArray<FTestComment> Comments;
	for (int32 Index = 0; Index < Count; ++Index)
	{
		Comments.Add({FString::Printf(TEXT("%s %d"), *Prefix, Index), Second + 0.01 * Index});
	}
	return Comments;
}

// Every comment the overlay's track manager reported as not shown, with the reason.
struct FNotShownLog
{
	TArray<TPair<FString, EDanmakuNotShownReason>> Entries;

	explicit FNotShownLog(FDanmakuScreen& Screen)
	{
		Screen.Overlay->OnTrackManagerCreated.AddLambda(
		    [this](UDanmakuTrackManager* Manager)
		    {
			    Manager->OnDanmakuNotShown.AddLambda(
			        [this](const FDanmakuData& Data, EDanmakuNotShownReason Reason)
			        { Entries.Add(TPair<FString, EDanmakuNotShownReason>(Data.Content, Reason)); });
		    });
	}
	TArray<FString> With(EDanmakuNotShownReason Reason) const
	{
		TArray<FString> Contents;
		for (const TPair<FString, EDanmakuNotShownReason>& Entry : Entries)
		{
			if (Entry.Value == Reason)
			{
				Contents.Add(Entry.Key);
			}
		}
		return Contents;
	}
};

TArray<UUI_DanmakuNode*> NodesOn(const FDanmakuScreen& Screen)
{
	TArray<UUI_DanmakuNode*> Nodes;
	for (UWidget* Widget : Screen.Canvas->GetAllChildren())
	{
		if (UUI_DanmakuNode* Node = Cast<UUI_DanmakuNode>(Widget))
		{
			Nodes.Add(Node);
		}
	}
	return Nodes;
}

UUI_DanmakuNode* NodeShowing(const FDanmakuScreen& Screen, const FString& Content)
{
	for (UUI_DanmakuNode* Node : NodesOn(Screen))
	{
		if (Node->GetData().Content == Content)
		{
			return Node;
		}
	}
	return nullptr;
}

FString TextOf(UUI_DanmakuNode* Node)
{
	return FDanmakuScreen::Child<UTextBlock>(Node, TEXT("NodeContentText"))->GetText().ToString();
}

// Pixels in the node's box whose brightest channel passes the test.
template <typename PredicateType>
int32 CountPixels(const FHeadlessPainter& Painter, UUI_DanmakuNode* Node, PredicateType Predicate)
{
	const FGeometry& Geometry = Node->GetCachedGeometry();
	const FVector2D Position = Geometry.GetAbsolutePosition();
	const FVector2D Size = Geometry.GetAbsoluteSize();
	int32 Count = 0;
	for (int32 Y = int32(Position.Y); Y < int32(Position.Y + Size.Y); ++Y)
	{
		for (int32 X = int32(Position.X); X < int32(Position.X + Size.X); ++X)
		{
			const FColor Pixel = Painter.GetPixel(X, Y);
			Count += Predicate(FMath::Max(Pixel.R, FMath::Max(Pixel.G, Pixel.B))) ? 1 : 0;
		}
	}
	return Count;
}

int32 BrightestIn(const FHeadlessPainter& Painter, UUI_DanmakuNode* Node)
{
	int32 Brightest = 0;
	for (int32 Level = 255; Level > 0 && !Brightest; --Level)
	{
		Brightest = CountPixels(Painter, Node, [Level](uint8 Value) { return Value >= Level; }) ? Level : 0;
	}
	return Brightest;
}

using FStrings = TArray<FString>;
} // namespace

TEST(DanmakuDisplayControls, BlockedWordsAndPatternsAreNotShownDueOrSentAndAreReportedAsBlocked)
{
	FDanmakuScreen Screen;
	FNotShownLog NotShown(Screen);
	EXPECT_TRUE(Screen.Overlay->AddBlockedWord(TEXT("Spoiler")));
	EXPECT_TRUE(Screen.Overlay->AddBlockedPattern(TEXT("^6+$")));
	Screen.Step();
	Screen.Overlay->LoadDanmaku(Document(
	    {{TEXT("the SPOILER is"), 1.2}, {TEXT("666666"), 1.4}, {TEXT("nice lesson"), 1.6}, {TEXT("6 6 6"), 1.8}}));
	Screen.OpenLesson();
	Screen.PlayUntil(2.5);
	EXPECT_EQ(Screen.ShownContents(), FStrings({TEXT("nice lesson"), TEXT("6 6 6")}));

	Screen.SendComment(TEXT("no spoilers please"));
	EXPECT_EQ(Screen.CountShown(TEXT("no spoilers please"), true), 0);
	EXPECT_EQ(NotShown.With(EDanmakuNotShownReason::Blocked),
	          FStrings({TEXT("the SPOILER is"), TEXT("666666"), TEXT("no spoilers please")}));

	// Emptied, the list lets the same comments through when playback comes back to them.
	Screen.Overlay->ClearBlockList();
	Screen.SeekTo(1.0);
	Screen.PlayUntil(2.5);
	EXPECT_EQ(Screen.CountShown(TEXT("the SPOILER is"), false), 1);
	EXPECT_EQ(Screen.CountShown(TEXT("666666"), false), 1);
}

TEST(DanmakuDisplayControls, BadPatternIsRefusedWithAClearMessageAndChangesNothing)
{
	FDanmakuScreen Screen;
	ASSERT_TRUE(Screen.Overlay->AddBlockedPattern(TEXT("spam\\d+")));
	FLogCapture Warnings;
	FString Error;
	EXPECT_FALSE(Screen.Overlay->AddBlockedPattern(TEXT("(free|cheap"), &Error));
	EXPECT_TRUE(Error.Contains(TEXT("'(free|cheap' is not a valid regular expression"))) << TCHAR_TO_UTF8(*Error);
	EXPECT_TRUE(Warnings.Messages(ELogVerbosity::Warning)
	                .ContainsByPredicate([](const FString& Line)
	                                     { return Line.Contains(TEXT("pattern refused: '(free|cheap'")); }));
	EXPECT_FALSE(Screen.Overlay->AddBlockedPattern(TEXT("")));
	EXPECT_EQ(Screen.Overlay->GetBlockList().GetPatterns(), FStrings({TEXT("spam\\d+")}));

	Screen.Step();
	Screen.Overlay->LoadDanmaku(Document({{TEXT("spam42"), 1.2}, {TEXT("(free|cheap"), 1.4}}));
	Screen.OpenLesson();
	Screen.PlayUntil(2.5);
	EXPECT_EQ(Screen.ShownContents(), FStrings({TEXT("(free|cheap")}));
}

TEST(DanmakuDisplayControls, PerSecondLimitReportsTheRestAndOpensAgainASecondLater)
{
	FDanmakuScreen Screen;
	FNotShownLog NotShown(Screen);
	ASSERT_TRUE(Screen.Overlay->SetDensityLimit(0, 5));
	Screen.Step();
	TArray<FTestComment> Comments = Burst(TEXT("first"), 12, 1.1);
	Comments.Append(Burst(TEXT("later"), 3, 3.1));
	Screen.Overlay->LoadDanmaku(Document(Comments));
	Screen.OpenLesson();
	Screen.PlayUntil(1.9);
	EXPECT_EQ(Screen.ShownNodes.Num(), 5);
	EXPECT_EQ(NotShown.With(EDanmakuNotShownReason::OverRateLimit).Num(), 7);
	EXPECT_EQ(NotShown.Entries.Num(), 7) << "nothing else went missing";

	Screen.PlayUntil(3.5);
	EXPECT_EQ(Screen.CountShown(TEXT("later 2"), false), 1);
	EXPECT_EQ(Screen.ShownNodes.Num(), 8);
}

TEST(DanmakuDisplayControls, OnScreenLimitReportsTheRestButTheViewersOwnCommentStillShows)
{
	FDanmakuScreen Screen;
	FNotShownLog NotShown(Screen);
	ASSERT_TRUE(Screen.Overlay->SetDensityLimit(8, 0));
	Screen.Step();
	Screen.Overlay->LoadDanmaku(Document(Burst(TEXT("crowd"), 20, 1.1)));
	Screen.OpenLesson();
	Screen.PlayUntil(1.9);
	EXPECT_EQ(NodesOn(Screen).Num(), 8);
	EXPECT_EQ(NotShown.With(EDanmakuNotShownReason::OverScreenLimit).Num(), 12);

	Screen.SendComment(TEXT("mine"));
	EXPECT_EQ(Screen.CountShown(TEXT("mine"), true), 1);
	EXPECT_EQ(NodesOn(Screen).Num(), 9);

	// Lifting the limit lets the next comments through.
	ASSERT_TRUE(Screen.Overlay->SetDensityLimit(0, 0));
	Screen.Overlay->LoadDanmaku(Document(Burst(TEXT("more"), 4, 3.1)));
	Screen.PlayUntil(3.5);
	EXPECT_EQ(NodesOn(Screen).Num(), 13);
}

TEST(DanmakuDisplayControls, RepeatsOfATextOnScreenAreCountedOnIt)
{
	FDanmakuScreen Screen;
	FNotShownLog NotShown(Screen);
	ASSERT_TRUE(Screen.Overlay->SetRepeatMerging(3.0f));
	Screen.Step();
	Screen.Overlay->LoadDanmaku(Document({{TEXT("666"), 1.1},
	                                      {TEXT("pinned"), 1.5, EDanmakuMode::TOP},
	                                      {TEXT("ÄRGER"), 1.6, EDanmakuMode::BOTTOM},
	                                      {TEXT("666"), 2.2},
	                                      {TEXT("ärger"), 2.3, EDanmakuMode::BOTTOM},
	                                      {TEXT("pinned"), 2.6, EDanmakuMode::TOP},
	                                      {TEXT("666"), 3.3},
	                                      {TEXT("666"), 6.2}}));
	Screen.OpenLesson();
	Screen.PlayUntil(1.5);
	UUI_DanmakuNode* Shown = NodeShowing(Screen, TEXT("666"));
	ASSERT_NE(Shown, nullptr);
	EXPECT_EQ(TextOf(Shown), TEXT("666"));
	const double WidthOnce = Shown->GetNodeSize().X;
	// Where its trailing edge is had it never grown: it entered at the right border and moves at its speed.
	const double Entered = Screen.ShownNodes[0].MediaSeconds;
	const auto UngrownRightEdge = [&]
	{ return 1920.0 + WidthOnce - Shown->GetRollSpeed() * (Screen.Player->GetTime().GetTotalSeconds() - Entered); };
	Screen.PlayUntil(3.5);
	EXPECT_EQ(TextOf(Shown), TEXT("666 ×3"));
	EXPECT_GT(Shown->GetNodeSize().X, WidthOnce);
	// Grown at its leading edge: the comment its lane admitted behind it is not run into.
	EXPECT_NEAR(Shown->GetPosition().X + Shown->GetNodeSize().X, UngrownRightEdge(), Shown->GetRollSpeed() * 0.04);
	EXPECT_EQ(Screen.CountShown(TEXT("666"), false), 1);
	// Texts are the same whatever their letter case, in any script, as the block list compares them.
	EXPECT_EQ(NotShown.With(EDanmakuNotShownReason::MergedRepeat),
	          FStrings({TEXT("666"), TEXT("ärger"), TEXT("pinned"), TEXT("666")}));
	UUI_DanmakuNode* Pinned = NodeShowing(Screen, TEXT("pinned"));
	ASSERT_NE(Pinned, nullptr);
	EXPECT_EQ(TextOf(Pinned), TEXT("pinned ×2"));
	EXPECT_NEAR(Pinned->GetPosition().X + Pinned->GetNodeSize().X * 0.5, 960.0, 0.5) << "still centred";

	// Past the window the text is shown anew.
	Screen.PlayUntil(6.5);
	EXPECT_EQ(Screen.CountShown(TEXT("666"), false), 2);

	// Its travel grew with it: it leaves only once its grown width has crossed the left border.
	double LastRightEdge = 0.0;
	while (Shown->GetParent() && Screen.Player->GetTime().GetTotalSeconds() < 30.0)
	{
		LastRightEdge = Shown->GetPosition().X + Shown->GetNodeSize().X;
		Screen.Step();
	}
	EXPECT_NEAR(LastRightEdge, 0.0, Shown->GetRollSpeed() * 0.04);
}

TEST(DanmakuDisplayControls, OpacityFadesEveryCommentAtOnceInThePaintedPicture)
{
	FDanmakuScreen Screen;
	Screen.Step();
	Screen.Overlay->LoadDanmaku(Document({{TEXT("WWWW before"), 1.1, EDanmakuMode::TOP}}));
	Screen.OpenLesson();
	Screen.PlayUntil(1.5);
	UUI_DanmakuNode* Before = NodeShowing(Screen, TEXT("WWWW before"));
	ASSERT_NE(Before, nullptr);

	FHeadlessPainter Full(1920, 1080);
	FHeadlessViewport::Get().Paint(Full);
	EXPECT_EQ(BrightestIn(Full, Before), 255);

	ASSERT_TRUE(Screen.Overlay->SetCommentOpacity(0.5f));
	Screen.Overlay->LoadDanmaku(Document({{TEXT("WWWW after"), 2.1, EDanmakuMode::BOTTOM}}));
	Screen.PlayUntil(2.5);
	UUI_DanmakuNode* After = NodeShowing(Screen, TEXT("WWWW after"));
	ASSERT_NE(After, nullptr);
	FHeadlessPainter Half(1920, 1080);
	FHeadlessViewport::Get().Paint(Half);
	for (UUI_DanmakuNode* Node : {Before, After})
	{
		const int32 Brightest = BrightestIn(Half, Node);
		EXPECT_GE(Brightest, 120);
		EXPECT_LE(Brightest, 135);
	}

	EXPECT_FALSE(Screen.Overlay->SetCommentOpacity(1.5f));
	EXPECT_FALSE(Screen.Overlay->SetCommentOpacity(-0.1f));
	EXPECT_EQ(Screen.Overlay->GetDisplayControls().Opacity, 0.5f);
}

TEST(DanmakuDisplayControls, OutlineKeepsDarkCommentsReadableOnADarkPictureAndLightOnesOnALightPicture)
{
	FDanmakuScreen Screen;
	Screen.Step();
	Screen.Overlay->LoadDanmaku(Document({{TEXT("near black comment"), 1.1, EDanmakuMode::TOP, TEXT("#101010")},
	                                      {TEXT("near white comment"), 1.2, EDanmakuMode::BOTTOM, TEXT("#F0F0F0")}}));
	Screen.OpenLesson();
	Screen.PlayUntil(1.5);
	UUI_DanmakuNode* Dark = NodeShowing(Screen, TEXT("near black comment"));
	UUI_DanmakuNode* Light = NodeShowing(Screen, TEXT("near white comment"));
	ASSERT_TRUE(Dark && Light);

	// On a black picture the dark text has a light rim; on a white one the light text a dark rim.
	FHeadlessPainter DarkPicture(1920, 1080, FLinearColor::Black);
	FHeadlessViewport::Get().Paint(DarkPicture);
	EXPECT_GT(CountPixels(DarkPicture, Dark, [](uint8 Value) { return Value > 150; }), 200);
	FHeadlessPainter LightPicture(1920, 1080, FLinearColor::White);
	FHeadlessViewport::Get().Paint(LightPicture);
	EXPECT_GT(CountPixels(LightPicture, Light, [](uint8 Value) { return Value < 100; }), 200);
}

TEST(DanmakuDisplayControls, DisplayAreaRefitsTheLanesAtOnce)
{
	FDanmakuScreen Screen;
	Screen.Step();
	UDanmakuTrackManager* Manager = Screen.Overlay->GetTrackManager();
	ASSERT_NE(Manager, nullptr);
	// The overlay is 1,000 units tall: 75 % and 25 % hold 49 and 16 lanes.
	EXPECT_EQ(Manager->GetTrackNum(), 49);
	EXPECT_EQ(Manager->GetBottomTrackNum(), 16);
	// Each comment takes three lanes, so 14 fill lanes 0 to 41.
	Screen.Overlay->LoadDanmaku(Document(Burst(TEXT("lane"), 14, 1.1)));
	Screen.OpenLesson();
	Screen.PlayUntil(1.5);
	ASSERT_EQ(NodesOn(Screen).Num(), 14);

	ASSERT_TRUE(Screen.Overlay->SetDisplayArea(30, 10));
	EXPECT_EQ(Manager->GetTrackNum(), 19);
	EXPECT_EQ(Manager->GetTopTrackNum(), 19);
	EXPECT_EQ(Manager->GetBottomTrackNum(), 6);
	// Comments on the lanes that went are gone; the six on lanes 0 to 17 stay, within the top 30 %.
	EXPECT_EQ(NodesOn(Screen).Num(), 6);
	for (UUI_DanmakuNode* Node : NodesOn(Screen))
	{
		EXPECT_LE(Node->GetPosition().Y + Node->GetNodeSize().Y, 300.0);
	}

	EXPECT_FALSE(Screen.Overlay->SetDisplayArea(101, 10));
	EXPECT_FALSE(Screen.Overlay->SetDisplayArea(30, -1));
	EXPECT_EQ(Manager->GetTrackNum(), 19);
}

TEST(DanmakuDisplayControls, SpeedAndFontScalesApplyToCommentsShownFromThenOn)
{
	const auto ShowOne = [](float SpeedScale, float FontScale, double& OutSeconds, FVector2D& OutSize)
	{
		FMath::RandInit(11);
		FDanmakuScreen Screen;
		ASSERT_TRUE(Screen.Overlay->SetSpeedScale(SpeedScale));
		ASSERT_TRUE(Screen.Overlay->SetFontScale(FontScale));
		Screen.Step();
		Screen.Overlay->LoadDanmaku(Document({{TEXT("how long and how large"), 1.1}}));
		Screen.OpenLesson();
		Screen.PlayUntil(1.2);
		UUI_DanmakuNode* Node = NodeShowing(Screen, TEXT("how long and how large"));
		ASSERT_NE(Node, nullptr);
		OutSize = Node->GetNodeSize();
		const double Shown = Screen.ShownNodes[0].MediaSeconds;
		while (Node->GetParent() && Screen.Player->GetTime().GetTotalSeconds() < 60.0)
		{
			Screen.Step();
		}
		OutSeconds = Screen.Player->GetTime().GetTotalSeconds() - Shown;
	};
	double Normal = 0.0;
	double Fast = 0.0;
	double Large = 0.0;
	FVector2D NormalSize;
	FVector2D FastSize;
	FVector2D LargeSize;
	ShowOne(1.0f, 1.0f, Normal, NormalSize);
	ShowOne(2.0f, 1.0f, Fast, FastSize);
	ShowOne(1.0f, 1.5f, Large, LargeSize);

	EXPECT_GE(Normal, 7.0);
	EXPECT_NEAR(Fast, Normal / 2.0, 0.05) << "twice the speed, half the time on screen";
	EXPECT_EQ(FastSize, NormalSize);
	EXPECT_NEAR(LargeSize.Y / NormalSize.Y, 1.5, 0.1);
	EXPECT_GT(LargeSize.X, NormalSize.X * 1.4);

	FDanmakuScreen Screen;
	EXPECT_FALSE(Screen.Overlay->SetSpeedScale(0.0f));
	EXPECT_FALSE(Screen.Overlay->SetFontScale(100.0f));
	EXPECT_EQ(Screen.Overlay->GetDisplayControls().SpeedScale, 1.0f);
}

TEST(DanmakuDisplayControls, SettingsStoreValuesAreAppliedInOneCall)
{
	FTemporarySavedDir Saves("DanmakuDisplayControls");
	UDanmakuSave::SaveSpeedScale(2.0f);
	UDanmakuSave::SaveFontSize(36);
	UDanmakuSave::SaveIsOpend(false);

	// Applied before the host has initialised the overlay: the bar shows the stored state once it is there.
	FDanmakuScreen Screen(600.0, false);
	EXPECT_TRUE(Screen.Overlay->ApplySavedSettings().AppliedAll());
	Screen.Wire(Screen.Player);
	FNotShownLog NotShown(Screen);
	Screen.Step();
	EXPECT_EQ(Screen.Overlay->GetDisplayControls().SpeedScale, 2.0f);
	EXPECT_EQ(Screen.Overlay->GetDisplayControls().FontScale, 1.5f);
	UCheckBox* OnOff = FDanmakuScreen::Child<UCheckBox>(Screen.Bar, TEXT("OpenDanmakuButton"));
	EXPECT_FALSE(OnOff->IsChecked());
	EXPECT_EQ(Screen.Canvas->GetVisibility(), ESlateVisibility::Hidden);

	Screen.Overlay->LoadDanmaku(Document({{TEXT("while off"), 1.1}, {TEXT("while on"), 3.1}}));
	Screen.OpenLesson();
	Screen.PlayUntil(1.5);
	EXPECT_EQ(NotShown.With(EDanmakuNotShownReason::Paused), FStrings({TEXT("while off")}));

	// A stored value out of range is left out, and the caller is told which; the rest applies.
	UDanmakuSave::SaveIsOpend(true);
	UDanmakuSave::SaveSpeedScale(50.0f);
	const FDanmakuAppliedSettings Applied = Screen.Overlay->ApplySavedSettings();
	EXPECT_FALSE(Applied.bSpeedScale);
	EXPECT_TRUE(Applied.bFontScale && Applied.bOnOff);
	EXPECT_EQ(Screen.Overlay->GetDisplayControls().SpeedScale, 2.0f);
	EXPECT_TRUE(OnOff->IsChecked());
	EXPECT_EQ(Screen.Canvas->GetVisibility(), ESlateVisibility::SelfHitTestInvisible);
	Screen.PlayUntil(3.5);
	UUI_DanmakuNode* Node = NodeShowing(Screen, TEXT("while on"));
	ASSERT_NE(Node, nullptr);
	EXPECT_GT(Node->GetNodeSize().Y, 40.0) << "36-point text";
}
