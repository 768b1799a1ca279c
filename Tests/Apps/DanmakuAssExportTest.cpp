#include "AppRun.h"
#include "Headless/Utf8String.h"
#include "Dom/JsonObject.h"
#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

#include <ass/ass.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

namespace
{
const TCHAR* const Exporter = TEXT(DANMAKU_ASS_EXPORT_PATH);
const TCHAR* const Preview = TEXT(DANMAKU_PREVIEW_PATH);

// Every mode of the XML format over the first 23 seconds, with entities, characters beyond the BMP, braces and
// backslashes, a line break, row ids beyond 32 bits and one comment with a bad colour.
FString MakeXmlDocument()
{
	const int32 Modes[] = {1, 2, 3, 4, 5, 6, 7, 1, 4, 5};
	FString Xml = TEXT("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<i><chatid>1</chatid>\n");
	for (int32 Index = 0; Index < 90; ++Index)
	{
		const int64 RowId = Index % 4 == 0 ? 45786327839981568LL + Index : 1000 + Index;
		const FString Text = FString::Printf(TEXT("第%d条 &amp; &#x1F600; {b}%sn&lt;i&gt;%s"), Index,
		                                     Modes[Index % 10] == 7 ? TEXT("\\\\") : TEXT("\\"),
		                                     Index % 7 == 0 ? TEXT("&#10;second") : TEXT(""));
		// A positioned comment's text is its payload: from a fifth across to three fifths, fading to 0.6.
		const FString Content =
		    Modes[Index % 10] != 7
		        ? Text
		        : FString::Printf(TEXT("[0.2,\"0.3\",\"1-0.6\",4,\"%s\",0,0,0.6,0.3,2000,500]"), *Text);
		// The first colour has 32 bits, as some files have; players keep the low 24.
		const int64 Colour = Index == 0 ? 4294967295LL : (Index * 2654435) % 16777216;
		Xml += FString::Printf(TEXT("<d p=\"%.3f,%d,%d,%lld,1712949344,0,a1b2c3d4,%lld\">%s</d>\n"), 0.25 * Index + 0.1,
		                       Modes[Index % 10], Index % 3 == 0 ? 18 : 25, Colour, RowId, *Content);
	}
	Xml += TEXT("<d p=\"3,1,25,red\">bad colour</d>\n</i>\n");
	return Xml;
}

double ParseAssTime(const FString& Text)
{
	TArray<FString> Parts;
	Text.ParseIntoArray(Parts, TEXT(":"), false);
	return Parts.Num() == 3
	           ? FCString::Atod(*Parts[0]) * 3600.0 + FCString::Atod(*Parts[1]) * 60.0 + FCString::Atod(*Parts[2])
	           : -1.0;
}

// The numbers between "Tag(" and the next ")" of an override block.
TArray<double> TagArguments(const FString& Override, const FString& Tag)
{
	TArray<double> Numbers;
	const int32 Start = Override.Find(Tag + TEXT("("));
	if (Start == INDEX_NONE)
	{
		return Numbers;
	}
	const int32 Open = Start + Tag.Len() + 1;
	const int32 Close = Override.Find(TEXT(")"), ESearchCase::CaseSensitive, ESearchDir::FromStart, Open);
	TArray<FString> Parts;
	Override.Mid(Open, Close - Open).ParseIntoArray(Parts, TEXT(","), false);
	for (const FString& Part : Parts)
	{
		Numbers.Add(FCString::Atod(*Part));
	}
	return Numbers;
}

// The comment text a renderer shows for a dialogue's text field.
FString UnescapeAss(const FString& Text)
{
	return Text.Replace(TEXT("\\N"), TEXT("\n"))
	    .Replace(TEXT("\\{"), TEXT("{"))
	    .Replace(TEXT("\\}"), TEXT("}"))
	    .Replace(TEXT("\x200B"), TEXT(""));
}

struct FDialogue
{
	FString Line;
	int32 Layer = 0;
	double Start = 0.0;
	double End = 0.0;
	FString Name;
	FString Override;
	FString Text;
};

struct FInkBox
{
	int32 Left = MAX_int32;
	int32 Top = MAX_int32;
	int32 Right = -1;
	int32 Bottom = -1;
	bool IsEmpty() const { return Right < 0; }
};

// What a subtitle renderer (libass, as most players use) draws for one dialogue line at a media time: the box
// around its visible pixels, on a frame of the script's play resolution.
FInkBox RenderInk(const FString& Header, const FString& DialogueLine, int32 Width, int32 Height, double Seconds)
{
	FInkBox Box;
	ASS_Library* Library = ass_library_init();
	ASS_Renderer* Renderer = ass_renderer_init(Library);
	ass_set_frame_size(Renderer, Width, Height);
	ass_set_fonts(Renderer, nullptr, "DejaVu Sans", ASS_FONTPROVIDER_AUTODETECT, nullptr, 1);
	std::string Script = ToUtf8(Header + DialogueLine + TEXT("\n"));
	ASS_Track* Track = ass_read_memory(Library, Script.data(), Script.size(), nullptr);
	int Changed = 0;
	for (ASS_Image* Image = Track ? ass_render_frame(Renderer, Track, (long long)(Seconds * 1000.0), &Changed)
	                              : nullptr;
	     Image; Image = Image->next)
	{
		for (int Y = 0; Y < Image->h; ++Y)
		{
			for (int X = 0; X < Image->w; ++X)
			{
				if (Image->bitmap[Y * Image->stride + X] > 64)
				{
					Box.Left = FMath::Min(Box.Left, Image->dst_x + X);
					Box.Right = FMath::Max(Box.Right, Image->dst_x + X);
					Box.Top = FMath::Min(Box.Top, Image->dst_y + Y);
					Box.Bottom = FMath::Max(Box.Bottom, Image->dst_y + Y);
				}
			}
		}
	}
	if (Track)
	{
		ass_free_track(Track);
	}
	ass_renderer_done(Renderer);
	ass_library_done(Library);
	return Box;
}

TArray<FDialogue> ReadDialogues(const FString& Script, FString& OutPlayRes)
{
	TArray<FDialogue> Dialogues;
	TArray<FString> Lines;
	Script.ParseIntoArray(Lines, TEXT("\n"), true);
	for (const FString& Line : Lines)
	{
		if (Line.StartsWith(TEXT("PlayResX: ")) || Line.StartsWith(TEXT("PlayResY: ")))
		{
			OutPlayRes += Line.Mid(10) + TEXT(";");
		}
		if (!Line.StartsWith(TEXT("Dialogue: ")))
		{
			continue;
		}
		// Nine fields before the text, which may hold commas of its own.
		FString Rest = Line.Mid(10);
		TArray<FString> Fields;
		for (int32 Field = 0; Field < 9; ++Field)
		{
			FString Left;
			FString Right;
			EXPECT_TRUE(Rest.Split(TEXT(","), &Left, &Right)) << TCHAR_TO_UTF8(*Line);
			Fields.Add(Left);
			Rest = Right;
		}
		FDialogue Dialogue;
		Dialogue.Line = Line;
		Dialogue.Layer = FCString::Atoi(*Fields[0]);
		Dialogue.Start = ParseAssTime(Fields[1]);
		Dialogue.End = ParseAssTime(Fields[2]);
		Dialogue.Name = Fields[4];
		const int32 Close = Rest.Find(TEXT("}"));
		EXPECT_TRUE(Rest.StartsWith(TEXT("{")) && Close > 0) << TCHAR_TO_UTF8(*Line);
		Dialogue.Override = Rest.Left(Close + 1);
		Dialogue.Text = Rest.Mid(Close + 1);
		Dialogues.Add(Dialogue);
	}
	return Dialogues;
}
} // namespace

TEST(DanmakuAssExport, XmlCommentsThroughThePreviewExportAsDialoguesThatMatchTheTrace)
{
	FAppRun Work(Exporter);
	ASSERT_TRUE(FFileHelper::SaveStringToFile(MakeXmlDocument(), *Work.Path(TEXT("lesson.xml"))));
	const FRunResult Run = Work.Run(
	    Preview,
	    FString::Printf(TEXT("--comments \"%s\" --canvas 1280x720 --seconds 24 --snapshots 1 --output \"%s\" "
	                         "--trace \"%s\""),
	                    *Work.Path(TEXT("lesson.xml")), *Work.Path(TEXT("out")), *Work.Path(TEXT("trace.jsonl"))));
	ASSERT_EQ(Run.ExitCode, 0) << TCHAR_TO_UTF8(*Run.Errors);
	EXPECT_TRUE(Run.Output.Contains(TEXT("comments loaded: 90"))) << TCHAR_TO_UTF8(*Run.Output);
	EXPECT_TRUE(Run.Output.Contains(TEXT("left out of the document for a missing or bad attribute: 1")));
	EXPECT_TRUE(Run.Output.Contains(TEXT("colours beyond 24 bits, shown in their low 24 bits: 1")));
	EXPECT_TRUE(Run.Output.Contains(TEXT("never shown because their mode is never placed: 0 in the document")));

	const FRunResult Export = Work.Run(Exporter, FString::Printf(TEXT("\"%s\" \"%s\""), *Work.Path(TEXT("trace.jsonl")),
	                                                             *Work.Path(TEXT("lesson.ass"))));
	ASSERT_EQ(Export.ExitCode, 0) << TCHAR_TO_UTF8(*Export.Errors);
	FString Script;
	ASSERT_TRUE(FFileHelper::LoadFileToString(Script, *Work.Path(TEXT("lesson.ass"))));
	FString PlayRes;
	const TArray<FDialogue> Dialogues = ReadDialogues(Script, PlayRes);

	const TArray<TSharedPtr<FJsonObject>> Events = ReadTrace(Work.Path(TEXT("trace.jsonl")));
	ASSERT_FALSE(Events.IsEmpty());
	ASSERT_EQ(Events[0]->GetStringField(TEXT("event")), TEXT("overlay"));
	EXPECT_EQ(PlayRes, FString::Printf(TEXT("%d;%d;"), int32(Events[0]->GetNumberField(TEXT("width"))),
	                                   int32(Events[0]->GetNumberField(TEXT("height")))));
	TArray<const FJsonObject*> Placed;
	TMap<int32, double> EndOfNode;
	for (const TSharedPtr<FJsonObject>& Event : Events)
	{
		const FString Kind = Event->GetStringField(TEXT("event"));
		if (Kind == TEXT("placed"))
		{
			Placed.Add(Event.Get());
		}
		else if (Kind == TEXT("ended"))
		{
			EndOfNode.Add(int32(Event->GetNumberField(TEXT("node"))), Event->GetNumberField(TEXT("media")));
		}
	}
	ASSERT_EQ(Dialogues.Num(), Placed.Num());
	ASSERT_GT(Placed.Num(), 40);

	int32 CutShort = 0;
	int32 Moving = 0;
	int32 Reverse = 0;
	int32 Positioned = 0;
	int32 BeyondIdRange = 0;
	int32 TwoLines = 0;
	for (int32 Index = 0; Index < Placed.Num(); ++Index)
	{
		const FJsonObject& Event = *Placed[Index];
		const FDialogue& Dialogue = Dialogues[Index];
		const double Media = Event.GetNumberField(TEXT("media"));
		const double Life = Event.GetNumberField(TEXT("life"));
		const int32 Node = int32(Event.GetNumberField(TEXT("node")));
		const double* Ended = EndOfNode.Find(Node);
		const double End = Ended ? *Ended : Media + Life;
		const FString Where = FString::Printf(TEXT("node %d: %s"), Node, *Dialogue.Override);
		EXPECT_NEAR(Dialogue.Start, Media, 0.0051) << TCHAR_TO_UTF8(*Where);
		EXPECT_NEAR(Dialogue.End, End, 0.0051) << TCHAR_TO_UTF8(*Where);
		CutShort += End < Media + Life - 0.5 ? 1 : 0;

		const double X = Event.GetNumberField(TEXT("x"));
		const double Y = Event.GetNumberField(TEXT("y"));
		const int32 Mode = int32(Event.GetNumberField(TEXT("mode")));
		if (Mode == 0 || Mode == 3)
		{
			++(Mode == 0 ? Moving : Reverse);
			const TArray<double> Move = TagArguments(Dialogue.Override, TEXT("\\move"));
			ASSERT_EQ(Move.Num(), 6) << TCHAR_TO_UTF8(*Where);
			EXPECT_NEAR(Move[0], X, 0.001);
			EXPECT_NEAR(Move[1], Y, 0.001);
			EXPECT_NEAR(Move[2], X + (Mode == 3 ? 1.0 : -1.0) * Event.GetNumberField(TEXT("speed")) * Life, 0.01);
			EXPECT_NEAR(Move[3], Y, 0.001);
			EXPECT_EQ(Move[4], 0.0);
			EXPECT_NEAR(Move[5], Life * 1000.0, 0.5);
		}
		else if (Mode == 7)
		{
			++Positioned;
			const TArray<double> Move = TagArguments(Dialogue.Override, TEXT("\\move"));
			ASSERT_EQ(Move.Num(), 6) << TCHAR_TO_UTF8(*Where);
			EXPECT_NEAR(Move[0], X, 0.001);
			EXPECT_NEAR(Move[1], Y, 0.001);
			EXPECT_NEAR(Move[2], Event.GetNumberField(TEXT("end_x")), 0.001);
			EXPECT_NEAR(Move[3], Event.GetNumberField(TEXT("end_y")), 0.001);
			EXPECT_EQ(Move[4], 500.0);
			EXPECT_EQ(Move[5], 2500.0);
			EXPECT_DOUBLE_EQ(Life, 4.0);
			const FColor Faded = FColor::FromHex(Event.GetStringField(TEXT("color")));
			EXPECT_TRUE(Dialogue.Override.Contains(
			    FString::Printf(TEXT("\\t(0,4000,\\alpha&H%02X&)"), 255 - int32(FMath::RoundToDouble(Faded.A * 0.6)))))
			    << TCHAR_TO_UTF8(*Where);
		}
		else
		{
			const TArray<double> Pos = TagArguments(Dialogue.Override, TEXT("\\pos"));
			ASSERT_EQ(Pos.Num(), 2) << TCHAR_TO_UTF8(*Where);
			EXPECT_NEAR(Pos[0], X, 0.001);
			EXPECT_NEAR(Pos[1], Y, 0.001);
		}
		EXPECT_TRUE(
		    Dialogue.Override.Contains(FString::Printf(TEXT("\\fs%g\\"), Event.GetNumberField(TEXT("line_height")))))
		    << TCHAR_TO_UTF8(*Where);
		const FColor Colour = FColor::FromHex(Event.GetStringField(TEXT("color")));
		EXPECT_TRUE(Dialogue.Override.Contains(
		    FString::Printf(TEXT("\\c&H%02X%02X%02X&\\alpha&H00&"), Colour.B, Colour.G, Colour.R)))
		    << TCHAR_TO_UTF8(*Where);
		EXPECT_EQ(Dialogue.Layer, Event.GetBoolField(TEXT("own")) ? 1 : 0);

		const FString Text = Event.GetStringField(TEXT("text"));
		EXPECT_EQ(UnescapeAss(Dialogue.Text), Text);
		EXPECT_FALSE(Dialogue.Text.Contains(TEXT("\n")));
		TwoLines += Text.Contains(TEXT("\n")) ? 1 : 0;
		const int32 Id = int32(Event.GetNumberField(TEXT("id")));
		EXPECT_EQ(Dialogue.Name, FString::Printf(TEXT("%d"), Id));
		BeyondIdRange += Id < 0 ? 1 : 0;
		if (!Event.GetBoolField(TEXT("own")))
		{
			// The decoded comment: entities, the emoji as one surrogate pair, the literal braces and backslash.
			EXPECT_TRUE(Text.Contains(TEXT("条 & \xD83D\xDE00 {b}\\n<i>"))) << TCHAR_TO_UTF8(*Text);
		}
	}
	EXPECT_GT(Moving, 0);
	EXPECT_GT(Reverse, 0);
	EXPECT_GT(Positioned, 0);
	EXPECT_GT(CutShort, 0) << "switching the overlay off at 20 s ends the comments on screen";

	// A subtitle renderer draws each comment on screen at 5.5 s inside the box the engine gave its node then.
	const FString Header = Script.Left(Script.Find(TEXT("Dialogue: ")));
	const int32 Width = int32(Events[0]->GetNumberField(TEXT("width")));
	const int32 Height = int32(Events[0]->GetNumberField(TEXT("height")));
	constexpr double At = 5.5;
	int32 Rendered = 0;
	for (int32 Index = 0; Index < Placed.Num(); ++Index)
	{
		const FJsonObject& Event = *Placed[Index];
		const double Media = Event.GetNumberField(TEXT("media"));
		if (!(Dialogues[Index].Start + 0.05 < At && At < Dialogues[Index].End - 0.05))
		{
			continue;
		}
		const int32 Mode = int32(Event.GetNumberField(TEXT("mode")));
		double Left = Event.GetNumberField(TEXT("x"));
		double Top = Event.GetNumberField(TEXT("y"));
		if (Mode == 0 || Mode == 3)
		{
			Left += (Mode == 3 ? 1.0 : -1.0) * Event.GetNumberField(TEXT("speed")) * (At - Media);
		}
		else if (Mode == 7)
		{
			const double Delay = Event.GetNumberField(TEXT("move_delay"));
			const double Progress =
			    FMath::Clamp((At - Media - Delay) / Event.GetNumberField(TEXT("move_duration")), 0.0, 1.0);
			Left += (Event.GetNumberField(TEXT("end_x")) - Left) * Progress;
			Top += (Event.GetNumberField(TEXT("end_y")) - Top) * Progress;
		}
		const double Right = FMath::Min(Left + Event.GetNumberField(TEXT("width")), double(Width));
		const double Bottom = Top + Event.GetNumberField(TEXT("height"));
		const FInkBox Ink = RenderInk(Header, Dialogues[Index].Line, Width, Height, At);
		const FString Where =
		    FString::Printf(TEXT("%s: node box %.1f,%.1f to %.1f,%.1f, ink %d,%d to %d,%d"), *Dialogues[Index].Line,
		                    Left, Top, Right, Bottom, Ink.Left, Ink.Top, Ink.Right, Ink.Bottom);
		ASSERT_FALSE(Ink.IsEmpty()) << TCHAR_TO_UTF8(*Where);
		++Rendered;
		// Glyph edges and the renderers' different fallback fonts allow a few units either way.
		EXPECT_GE(Ink.Left, Left - 3.0) << TCHAR_TO_UTF8(*Where);
		EXPECT_LE(Ink.Left, FMath::Max(Left, 0.0) + 8.0) << TCHAR_TO_UTF8(*Where);
		EXPECT_LE(Ink.Right, Right + 4.0) << TCHAR_TO_UTF8(*Where);
		EXPECT_GE(Ink.Top, Top - 1.0) << TCHAR_TO_UTF8(*Where);
		EXPECT_LE(Ink.Top, Top + 0.3 * (Bottom - Top)) << TCHAR_TO_UTF8(*Where);
		EXPECT_LE(Ink.Bottom, Bottom + 1.0) << TCHAR_TO_UTF8(*Where);
		EXPECT_GE(Ink.Bottom, Bottom - 0.4 * (Bottom - Top)) << TCHAR_TO_UTF8(*Where);
	}
	EXPECT_GT(Rendered, 5);
	EXPECT_GT(BeyondIdRange, 0);
	EXPECT_GT(TwoLines, 0);
}

TEST(DanmakuAssExport, WritesOlderTracesAndEscapesWhatAssWouldReadAsTags)
{
	FAppRun Work(Exporter);
	// A trace without node numbers, sizes or colours, as the preview wrote before it traced them.
	ASSERT_TRUE(FFileHelper::SaveStringToFile(
	    TEXT("{\"event\":\"overlay\",\"clock\":0.4,\"width\":1280.000,\"height\":656.000,\"lane_height\":15.12}\n"
	         "{\"event\":\"placed\",\"clock\":1.0,\"media\":61.004,\"id\":7,\"text\":\"a{\\\\b1}\\\\n,c\\nd\","
	         "\"mode\":1,\"first_lane\":0,\"lanes\":4,\"x\":600.5,\"y\":0.000,\"width\":79.0,\"height\":58.000,"
	         "\"speed\":5.0,\"life\":6.000,\"own\":false,\"end_x\":null,\"end_y\":null,\"rotate_z\":null}\n"
	         "{\"event\":\"not_shown\",\"clock\":1.0,\"media\":61.0,\"id\":8,\"mode\":3,\"reason\":\"mode never "
	         "placed\"}\n"
	         "{\"event\":\"future\",\"clock\":1.0}\n"),
	    *Work.Path(TEXT("old.jsonl"))));
	const FRunResult Export =
	    Work.Run(Exporter, FString::Printf(TEXT("\"%s\" \"%s\" --font \"Noto Sans CJK SC\""),
	                                       *Work.Path(TEXT("old.jsonl")), *Work.Path(TEXT("old.ass"))));
	ASSERT_EQ(Export.ExitCode, 0) << TCHAR_TO_UTF8(*Export.Errors);
	FString Script;
	ASSERT_TRUE(FFileHelper::LoadFileToString(Script, *Work.Path(TEXT("old.ass"))));
	EXPECT_TRUE(Script.Contains(TEXT("Style: Danmaku,Noto Sans CJK SC,")));
	EXPECT_TRUE(Script.Contains(TEXT("Dialogue: 0,0:01:01.00,0:01:07.00,Danmaku,7,0,0,0,,{\\an7\\pos(600.5,0)\\fs29"
	                                 "\\c&HFFFFFF&\\alpha&H00&}a\\{\\b1\\}\\\x200Bn,c\\Nd\n")))
	    << TCHAR_TO_UTF8(*Script);
}

TEST(DanmakuAssExport, RefusesWhatIsNotAPreviewTraceWithAClearMessage)
{
	FAppRun Work(Exporter);
	const FRunResult Missing = Work.Run(Exporter, TEXT("/nonexistent/trace.jsonl out.ass"));
	EXPECT_EQ(Missing.ExitCode, 1);
	EXPECT_TRUE(Missing.Errors.Contains(TEXT("trace not found: /nonexistent/trace.jsonl")))
	    << TCHAR_TO_UTF8(*Missing.Errors);
	// A Latin-1 byte in a name would otherwise be read as U+FFFD and name another file.
	const FRunResult Latin1 = Work.Run(Exporter, TEXT("\"$(printf 'caf\\351.jsonl')\" out.ass"));
	EXPECT_EQ(Latin1.ExitCode, 2);
	EXPECT_TRUE(Latin1.Errors.Contains(TEXT("argument 1 is not valid UTF-8"))) << TCHAR_TO_UTF8(*Latin1.Errors);

	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("{\"event\":\"overlay\",\"width\":640,\"height\":360}\nnot json\n"),
	                                          *Work.Path(TEXT("broken.jsonl"))));
	const FRunResult Broken =
	    Work.Run(Exporter, FString::Printf(TEXT("\"%s\" \"%s\""), *Work.Path(TEXT("broken.jsonl")),
	                                       *Work.Path(TEXT("broken.ass"))));
	EXPECT_EQ(Broken.ExitCode, 1);
	EXPECT_TRUE(Broken.Errors.Contains(TEXT("line 2 is not a JSON object"))) << TCHAR_TO_UTF8(*Broken.Errors);
	EXPECT_FALSE(IFileManager::Get().FileExists(*Work.Path(TEXT("broken.ass"))));

	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("{\"datas\": []}\n"), *Work.Path(TEXT("comments.json"))));
	const FRunResult NotATrace = Work.Run(
	    Exporter, FString::Printf(TEXT("\"%s\" \"%s\""), *Work.Path(TEXT("comments.json")), *Work.Path(TEXT("x.ass"))));
	EXPECT_EQ(NotATrace.ExitCode, 1);
	EXPECT_TRUE(NotATrace.Errors.Contains(TEXT("not a preview trace"))) << TCHAR_TO_UTF8(*NotATrace.Errors);

	// Numbers no run writes, which would overflow the script's whole numbers, are refused with the field.
	const auto Refused = [&Work](const FString& Lines, const TCHAR* Expected)
	{
		ASSERT_TRUE(FFileHelper::SaveStringToFile(Lines, *Work.Path(TEXT("forged.jsonl"))));
		const FRunResult Result =
		    Work.Run(Exporter, FString::Printf(TEXT("\"%s\" \"%s\""), *Work.Path(TEXT("forged.jsonl")),
		                                       *Work.Path(TEXT("forged.ass"))));
		EXPECT_EQ(Result.ExitCode, 1) << TCHAR_TO_UTF8(*Lines);
		EXPECT_TRUE(Result.Errors.Contains(Expected)) << TCHAR_TO_UTF8(*Result.Errors);
	};
	const FString Overlay = TEXT("{\"event\":\"overlay\",\"width\":640,\"height\":360}\n");
	const auto Placed = [](const TCHAR* Fields)
	{
		return FString::Printf(TEXT("{\"event\":\"placed\",\"media\":1,\"id\":1,\"text\":\"a\",\"mode\":0,\"x\":1,"
		                            "\"y\":1,\"speed\":5,\"life\":4%s}\n"),
		                       Fields);
	};
	Refused(TEXT("{\"event\":\"overlay\",\"width\":1e300,\"height\":360}\n"), TEXT("line 1: \"width\" is 1e+300"));
	Refused(Overlay + Placed(TEXT(",\"life\":-4")), TEXT("line 2: \"life\" is -4, outside 0"));
	Refused(Overlay + Placed(TEXT(",\"x\":1e300")), TEXT("line 2: \"x\" is 1e+300"));
	Refused(Overlay + Placed(TEXT(",\"id\":1e10")), TEXT("line 2: \"id\" is 1e+10"));
	Refused(Overlay + Placed(TEXT(",\"node\":-1")), TEXT("line 2: \"node\" is -1"));
	Refused(Overlay + Placed(TEXT(",\"node\":1")) + TEXT("{\"event\":\"ended\",\"node\":1,\"media\":1e300}\n"),
	        TEXT("line 3: \"media\" is 1e+300"));
	// A font name cannot end its field or start a line of the script's own; the script never overwrites its trace.
	const FString Forged = Work.Path(TEXT("forged.jsonl"));
	ASSERT_TRUE(FFileHelper::SaveStringToFile(Overlay + Placed(TEXT("")), *Forged));
	const FRunResult Font = Work.Run(Exporter, FString::Printf(TEXT("\"%s\" \"%s\" --font \"$(printf 'A\\nB')\""),
	                                                           *Forged, *Work.Path(TEXT("font.ass"))));
	EXPECT_EQ(Font.ExitCode, 2);
	EXPECT_TRUE(Font.Errors.Contains(TEXT("line breaks"))) << TCHAR_TO_UTF8(*Font.Errors);
	const FRunResult Over = Work.Run(Exporter, FString::Printf(TEXT("\"%s\" \"%s\""), *Forged, *Forged));
	EXPECT_EQ(Over.ExitCode, 1);
	EXPECT_TRUE(Over.Errors.Contains(TEXT("would overwrite its trace"))) << TCHAR_TO_UTF8(*Over.Errors);
	FString Kept;
	ASSERT_TRUE(FFileHelper::LoadFileToString(Kept, *Forged));
	EXPECT_TRUE(Kept.StartsWith(Overlay));
	const FRunResult Device = Work.Run(Exporter, FString::Printf(TEXT("\"%s\" /dev/full"), *Forged));
	EXPECT_EQ(Device.ExitCode, 1);
	EXPECT_TRUE(Device.Errors.Contains(TEXT("/dev/full is not a regular file"))) << TCHAR_TO_UTF8(*Device.Errors);

	EXPECT_EQ(Work.Run(Exporter, TEXT("only-one-argument")).ExitCode, 2);
	EXPECT_EQ(Work.Run(Exporter, TEXT("a b --bogus")).ExitCode, 2);
}
