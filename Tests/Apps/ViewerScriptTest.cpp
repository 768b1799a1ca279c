#include "ViewerScript.h"

#include "Misc/FileHelper.h"
#include "Misc/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

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

	// A name in double quotes may hold spaces, and \" for a quote.
	const std::filesystem::path Temp = std::filesystem::temp_directory_path() / "viewer-script-quoting";
	std::filesystem::create_directories(Temp / "in side");
	const FString TempFolder(Temp.string().c_str());
	FFileHelper::SaveStringToFile(TEXT("[https://a.test/x.mp4]\nDuration=5\n"),
	                              *FPaths::Combine(TempFolder, TEXT("in side/my \"best\" lesson.media")));
	ASSERT_TRUE(Script.Parse(TEXT("0 describe \"in side/my \\\"best\\\" lesson.media\"\n"
	                              "0 lesson \"https://a.test/x.mp4\" \"in side/my \\\"best\\\" lesson.media\"\n"),
	                         TempFolder, Error))
	    << TCHAR_TO_UTF8(*Error);
	EXPECT_EQ(Script.Steps[0].File, FPaths::Combine(TempFolder, TEXT("in side/my \"best\" lesson.media")));
	EXPECT_EQ(Script.Steps[1].Text, TEXT("https://a.test/x.mp4"));
	EXPECT_EQ(Script.Steps[1].File, Script.Steps[0].File);
	// A link that leads out of the folder is refused like a path that does.
	std::filesystem::remove(Temp / "out");
	std::filesystem::create_symlink("/etc", Temp / "out");
	EXPECT_FALSE(Script.Parse(TEXT("0 describe out/hostname\n"), TempFolder, Error));
	EXPECT_TRUE(Error.Contains(TEXT("leads outside the viewer script's folder"))) << TCHAR_TO_UTF8(*Error);
	std::filesystem::remove_all(Temp);
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
	EXPECT_EQ(ErrorOf(TEXT("# nothing\n")), TEXT("s: the viewer script has no actions"));

	// Files outside the script's folder are refused, by path or by climbing out of it.
	EXPECT_TRUE(ErrorOf(TEXT("1 describe /etc/passwd\n"))
	                .StartsWith(TEXT("s:1: '/etc/passwd' is outside the viewer script's folder")));
	EXPECT_TRUE(ErrorOf(TEXT("1 comments ../Content/Samples/Lesson1Comments.json\n")).Contains(TEXT("is outside")));
	EXPECT_TRUE(ErrorOf(TEXT("1 open Samples/../../README.md\n")).Contains(TEXT("is outside")));
	EXPECT_TRUE(ErrorOf(TEXT("1 comments Samples\n")).Contains(TEXT("Samples is a folder, not a file")));
	EXPECT_TRUE(ErrorOf(TEXT("1 comments \"Samples/Lesson1Comments.json\n")).Contains(TEXT("is not closed")));
	// Times beyond a day, and numbers in other notations, are refused.
	EXPECT_TRUE(ErrorOf(TEXT("1e300 end\n")).StartsWith(TEXT("s:1: time 1e300 is beyond a day")));
	EXPECT_TRUE(ErrorOf(TEXT("100000 end\n")).StartsWith(TEXT("s:1: time 100000 is beyond a day")));
	EXPECT_TRUE(ErrorOf(TEXT("0x2 end\n")).StartsWith(TEXT("s:1: a line starts with its time")));
	EXPECT_TRUE(ErrorOf(TEXT("1 backspace 0x2\n")).StartsWith(TEXT("s:1: '0x2' is no count")));
	// Nothing runs after "end".
	EXPECT_EQ(ErrorOf(TEXT("1 end\n2 enter\n")),
	          TEXT("s:2: the viewer script ended at line 1; a line after 'end' would never run"));
	// What could not be read is quoted short, its control characters escaped.
	const FString Quoted = ErrorOf(*(FString(TEXT("1 \x1b]0;x\x07")) + FString::ChrN(5000, TEXT('w')) + TEXT("\n")));
	EXPECT_LT(Quoted.Len(), 300);
	EXPECT_TRUE(Quoted.Contains(TEXT("\\x1b]0;x\\x07www"))) << TCHAR_TO_UTF8(*Quoted);
	for (TCHAR C : Quoted)
	{
		EXPECT_GE(C, 0x20);
	}
}
