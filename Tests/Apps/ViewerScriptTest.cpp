#include "ViewerScript.h"

#include "Misc/Paths.h"

#include <gtest/gtest.h>

TEST(ViewerScript, ReadsEveryActionWithItsTimeTargetAndText)
{
	FViewerScript Script;
	Script.Path = TEXT("session.script");
	FString Error;
	const FString Folder = FPaths::Combine(FPaths::ProjectContentDir(), TEXT("Samples"));
	ASSERT_TRUE(Script.Parse(TEXT("# a comment line\n"
	                              "\n"
	                              "0 describe Lessons.media\r\n"
	                              "0 lesson https://a.test/x.mp4 -\n"
	                              "0:01.5 move 10.5,20\n"
	                              "1:02 click DanmakuBar/InputDanmakuText\n"
	                              "1:02 type  two  spaces stay  \n"
	                              "1:00:00 drag MovieProgress 0 1\n"
	                              "3601 select ComboPlaySpeed 1.5x\n"
	                              "3602 backspace 3\n"
	                              "3602 snapshot after-all\n"
	                              "3603 end\n"),
	                         Folder, Error))
	    << TCHAR_TO_UTF8(*Error);
	ASSERT_EQ(Script.Steps.Num(), 10);
	EXPECT_EQ(Script.Steps[0].File, FPaths::Combine(Folder, TEXT("Lessons.media")));
	EXPECT_EQ(Script.Steps[0].Line, 3);
	EXPECT_TRUE(Script.Steps[1].File.IsEmpty()) << "a lesson without comments";
	EXPECT_DOUBLE_EQ(Script.Steps[2].Seconds, 1.5);
	EXPECT_TRUE(Script.Steps[2].Target.bIsPosition);
	EXPECT_EQ(Script.Steps[2].Target.Position, FVector2D(10.5, 20.0));
	EXPECT_DOUBLE_EQ(Script.Steps[3].Seconds, 62.0);
	EXPECT_EQ(Script.Steps[3].Target.WidgetPath, TEXT("DanmakuBar/InputDanmakuText"));
	EXPECT_EQ(Script.Steps[4].Text, TEXT("two  spaces stay"));
	EXPECT_DOUBLE_EQ(Script.Steps[5].Seconds, 3600.0);
	EXPECT_DOUBLE_EQ(Script.Steps[5].To, 1.0);
	EXPECT_EQ(Script.Steps[6].Text, TEXT("1.5x"));
	EXPECT_EQ(Script.Steps[7].Count, 3);
	EXPECT_EQ(Script.Steps[8].Text, TEXT("after-all"));
	EXPECT_EQ(Script.Steps[9].Action, EViewerAction::End);
}

TEST(ViewerScript, NamesTheLineAndWhatIsWrongWithIt)
{
	const auto ErrorOf = [](const TCHAR* Text)
	{
		FViewerScript Script;
		Script.Path = TEXT("s");
		FString Error;
		EXPECT_FALSE(Script.Parse(Text, FPaths::ProjectContentDir(), Error)) << TCHAR_TO_UTF8(Text);
		return Error;
	};
	EXPECT_EQ(ErrorOf(TEXT("1 enter\n1:60 enter\n")),
	          TEXT("s:2: a line starts with its time in seconds (12.5 or 1:02.5), not '1:60'"));
	EXPECT_EQ(ErrorOf(TEXT("-1 enter\n")),
	          TEXT("s:1: a line starts with its time in seconds (12.5 or 1:02.5), not '-1'"));
	EXPECT_TRUE(ErrorOf(TEXT("1 move\n")).StartsWith(TEXT("s:1: '' is no target")));
	EXPECT_TRUE(ErrorOf(TEXT("1 move a b\n")).StartsWith(TEXT("s:1: unexpected 'b' at the end")));
	EXPECT_TRUE(ErrorOf(TEXT("1 click 5,x\n")).StartsWith(TEXT("s:1: '5,x' is no target")));
	EXPECT_TRUE(ErrorOf(TEXT("1 click Bar/\n")).StartsWith(TEXT("s:1: 'Bar/' is no target")));
	EXPECT_TRUE(ErrorOf(TEXT("1 drag Slider 0 1.5\n")).StartsWith(TEXT("s:1: FROM and TO are fractions")));
	EXPECT_TRUE(ErrorOf(TEXT("1 backspace 0\n")).StartsWith(TEXT("s:1: '0' is no count")));
	EXPECT_TRUE(ErrorOf(TEXT("1 snapshot ../x\n")).StartsWith(TEXT("s:1: a snapshot name has")));
	EXPECT_TRUE(ErrorOf(TEXT("1 open lesson.mp4\n")).StartsWith(TEXT("s:1: media file not found: ")));
	EXPECT_TRUE(ErrorOf(TEXT("1 type\n")).StartsWith(TEXT("s:1: the text is missing")));
	EXPECT_EQ(ErrorOf(TEXT("# nothing\n")), TEXT("s: the session has no actions"));
}
