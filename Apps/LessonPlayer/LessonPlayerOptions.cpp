#include "LessonPlayerOptions.h"
#include "OptionValues.h"

FString FLessonPlayerOptions::Usage()
{
	return FString(TEXT(
	           "Usage: LessonPlayer [options]\n"
	           "\n"
	           "Runs the full lesson player headlessly through a viewer script (timed pointer, keyboard and host\n"
	           "actions), and writes PNG snapshots of the screen, a JSON-lines trace, a summary and a\n"
	           "timeline picture per lesson.\n"
	           "\n"
	           "Options:\n"
	           "  --script FILE       viewer script (default: Content/Samples/LessonSession.script; the format is\n"
	           "                      described in Content/Samples/README.md)\n"
	           "  --files-from DIR    folder the script's files are taken from (default: the script's folder); files\n"
	           "                      outside it are refused\n"
	           "  --output DIR        folder for snapshots, summary, timelines and trace (default ./out)\n"
	           "  --trace FILE        where to write the trace (default DIR/trace.jsonl)\n"
	           "  --audio FILE        write what a viewer would hear as a WAV file (16-bit stereo, 48 kHz)\n"
	           "  --snapshots T,...   more snapshots at these seconds of the script's clock\n"
	           "  --seconds S         stop after S seconds of the script's clock\n"
	           "  --frame-rate N      frames per second of the simulated clock (default 60)\n"
	           "  --seed N            seed of the random lane and life-time draws (default 1)\n"
	           "  --help              show this text\n"
	           "\n")) +
	       FCommentControls::Usage();
}

bool FLessonPlayerOptions::Parse(const TArray<FString>& Arguments, FString& OutError)
{
	static const TCHAR* const ValueOptions[] = {TEXT("--script"),  TEXT("--files-from"), TEXT("--output"),
	                                            TEXT("--trace"),   TEXT("--audio"),      TEXT("--snapshots"),
	                                            TEXT("--seconds"), TEXT("--frame-rate"), TEXT("--seed")};
	const auto TakeOwn = [this, &Arguments](int32& Index, FString& Error)
	{
		if (Arguments[Index] == TEXT("--help") || Arguments[Index] == TEXT("-h"))
		{
			bHelp = true;
			return true;
		}
		return Controls.ParseOption(Arguments, Index, Error);
	};
	const auto Read = [this](const FString& Name, const FString& Value, FString& Error)
	{ return ReadValue(Name, Value, Error); };
	return FOptionValues::ParseCommandLine(Arguments, ValueOptions, TakeOwn, Read, OutError);
}

bool FLessonPlayerOptions::ReadValue(const FString& Name, const FString& Value, FString& OutError)
{
	for (const TPair<const TCHAR*, FString*>& Text : {TPair<const TCHAR*, FString*>(TEXT("--script"), &ScriptFile),
	                                                  {TEXT("--files-from"), &FilesFrom},
	                                                  {TEXT("--output"), &OutputDir},
	                                                  {TEXT("--trace"), &TraceFile},
	                                                  {TEXT("--audio"), &AudioFile}})
	{
		if (Name == Text.Key)
		{
			*Text.Value = Value;
			return true;
		}
	}
	if (Name == TEXT("--snapshots"))
	{
		FString BadItem;
		if (!FOptionValues::ParseTimes(Value, SnapshotTimes, BadItem))
		{
			OutError = FString::Printf(TEXT("--snapshots takes seconds of the session clock, not '%s'"), *BadItem);
			return false;
		}
		return true;
	}
	if (Name == TEXT("--seconds"))
	{
		return FOptionValues::ReadSeconds(Value, RunSeconds, OutError);
	}
	if (Name == TEXT("--frame-rate"))
	{
		return FOptionValues::ReadFrameRate(Value, FrameSeconds, OutError);
	}
	return FOptionValues::ReadSeed(Value, Seed, OutError);
}
