#include "AssExport.h"
#include "CoreMinimal.h"
#include "FileChecks.h"
#include "Headless/Utf8String.h"

#include <cstdio>
#include <fstream>

namespace
{
const char* const Usage = "Usage: DanmakuAssExport TRACE OUTPUT.ass [--font NAME]\n"
                          "\n"
                          "Writes the comments of a DanmakuPreview trace (--trace) as an ASS subtitle script: each\n"
                          "placed comment at the media time, lanes, position, motion, size and colour the engine gave\n"
                          "it, for watching over the real video in any player that reads ASS subtitles.\n"
                          "\n"
                          "  --font NAME   font of the script (default: DejaVu Sans, the font the engine draws with)\n";

int Fail(const FString& Message, int Code)
{
	std::fprintf(stderr, "DanmakuAssExport: %s\n", TCHAR_TO_UTF8(*Message));
	return Code;
}
// Reads the command line into the trace and script paths and the font; an exit code when the run ends here (help,
// a bad argument), otherwise -1.
int ReadArguments(int ArgumentCount, char** Arguments, TArray<FString>& OutPaths, FString& OutFontName)
{
	for (int Index = 1; Index < ArgumentCount; ++Index)
	{
		if (!FFileChecks::IsUtf8(Arguments[Index]))
		{
			return Fail(FString::Printf(TEXT("argument %d is not valid UTF-8; names and values must be UTF-8"), Index),
			            2);
		}
		const FString Argument = FromUtf8(Arguments[Index]);
		if (Argument == TEXT("--help") || Argument == TEXT("-h"))
		{
			std::printf("%s", Usage);
			return 0;
		}
		if (Argument == TEXT("--font"))
		{
			// A comma would end the style's font field, a line break start a line of the script's own.
			bool bPlain = Index + 1 < ArgumentCount && !FromUtf8(Arguments[Index + 1]).Contains(TEXT(","));
			for (const TCHAR C : bPlain ? FromUtf8(Arguments[Index + 1]) : FString())
			{
				bPlain &= C >= 0x20 && C != 0x7F;
			}
			if (!bPlain)
			{
				return Fail(TEXT("--font takes a font name without commas, line breaks or control characters"), 2);
			}
			OutFontName = FromUtf8(Arguments[++Index]);
			continue;
		}
		if (Argument.StartsWith(TEXT("--")))
		{
			return Fail(FString::Printf(TEXT("unknown option '%s' (see --help)"), *Argument), 2);
		}
		OutPaths.Add(Argument);
	}
	if (OutPaths.Num() != 2)
	{
		std::fprintf(stderr, "%s", Usage);
		return 2;
	}
	return -1;
}

// Reads the trace a line at a time: a long run's trace is hundreds of megabytes, and the whole of it and of the
// script as text would take several times that. An exit code when it cannot be read, otherwise -1.
int ReadTrace(const FString& TracePath, FAssExport& Export)
{
	std::ifstream In(ToUtf8(TracePath), std::ios::binary);
	if (!In)
	{
		return Fail(FString::Printf(TEXT("cannot read the trace %s"), *TracePath), 1);
	}
	Export.BeginTrace();
	FString Error;
	std::string Line;
	for (int32 LineNumber = 1; std::getline(In, Line); ++LineNumber)
	{
		if (LineNumber == 1 && Line.rfind("\xEF\xBB\xBF", 0) == 0)
		{
			Line.erase(0, 3);
		}
		if (!Export.ReadTraceLine(FromUtf8(Line), LineNumber, Error))
		{
			return Fail(FString::Printf(TEXT("%s: %s"), *TracePath, *Error), 1);
		}
	}
	if (In.bad())
	{
		return Fail(FString::Printf(TEXT("cannot read the trace %s"), *TracePath), 1);
	}
	if (!Export.EndTrace(Error))
	{
		return Fail(FString::Printf(TEXT("%s: %s"), *TracePath, *Error), 1);
	}
	return -1;
}

int WriteScript(const FAssExport& Export, const FString& ScriptPath, const FString& FontName)
{
	std::ofstream Out(ToUtf8(ScriptPath), std::ios::binary | std::ios::trunc);
	// UTF-8 with a byte order mark, which every ASS renderer takes as UTF-8.
	Out << "\xEF\xBB\xBF";
	Export.WriteAss(FontName, [&Out](const FString& ScriptLine) { Out << ToUtf8(ScriptLine) << '\n'; });
	const bool bWritten = Out && Out.flush();
	Out.close();
	if (!bWritten || Out.fail())
	{
		// Half a script would play as if the comments had stopped.
		std::remove(ToUtf8(ScriptPath).c_str());
		return Fail(FString::Printf(TEXT("cannot write %s"), *ScriptPath), 1);
	}
	std::printf("%d dialogue lines written to %s\n", Export.NumDialogues(), TCHAR_TO_UTF8(*ScriptPath));
	return 0;
}
} // namespace

int main(int ArgumentCount, char** Arguments)
{
	TArray<FString> Paths;
	FString FontName = TEXT("DejaVu Sans");
	if (const int Code = ReadArguments(ArgumentCount, Arguments, Paths, FontName); Code >= 0)
	{
		return Code;
	}
	FString Problem;
	if (!FFileChecks::CheckInput(Paths[0], TEXT("trace"), Problem))
	{
		return Fail(Problem, 1);
	}
	if (!FFileChecks::CheckOutput(Paths[1], TEXT("script"), Problem))
	{
		return Fail(Problem, 1);
	}
	if (FFileChecks::SameFile(Paths[0], Paths[1]))
	{
		return Fail(FString::Printf(TEXT("the script %s would overwrite its trace; name another"), *Paths[1]), 1);
	}
	FAssExport Export;
	if (const int Code = ReadTrace(Paths[0], Export); Code >= 0)
	{
		return Code;
	}
	return WriteScript(Export, Paths[1], FontName);
}
