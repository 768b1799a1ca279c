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
	for (int32 Index = 0; Index < Arguments.Num(); ++Index)
	{
		const FString& Argument = Arguments[Index];
		FString Value;
		const auto TakeValue = [&]
		{
			if (Index + 1 >= Arguments.Num())
			{
				OutError = FString::Printf(TEXT("option %s needs a value"), *Argument);
				return false;
			}
			Value = Arguments[++Index];
			return true;
		};
		if (Argument == TEXT("--help") || Argument == TEXT("-h"))
		{
			bHelp = true;
			continue;
		}
		if (Controls.ParseOption(Arguments, Index, OutError))
		{
			if (!OutError.IsEmpty())
			{
				return false;
			}
			continue;
		}
		if (!Argument.StartsWith(TEXT("--")) || Argument == TEXT("--"))
		{
			OutError = FString::Printf(TEXT("unknown option '%s' (see --help)"), *Argument);
			return false;
		}
		const bool bKnown =
		    Argument == TEXT("--script") || Argument == TEXT("--files-from") || Argument == TEXT("--output") ||
		    Argument == TEXT("--trace") || Argument == TEXT("--audio") || Argument == TEXT("--snapshots") ||
		    Argument == TEXT("--seconds") || Argument == TEXT("--frame-rate") || Argument == TEXT("--seed");
		if (!bKnown)
		{
			OutError = FString::Printf(TEXT("unknown option '%s' (see --help)"), *Argument);
			return false;
		}
		if (!TakeValue())
		{
			return false;
		}
		double Number = 0.0;
		int64 Whole = 0;
		FString BadItem;
		if (Argument == TEXT("--script"))
		{
			ScriptFile = Value;
		}
		else if (Argument == TEXT("--files-from"))
		{
			FilesFrom = Value;
		}
		else if (Argument == TEXT("--output"))
		{
			OutputDir = Value;
		}
		else if (Argument == TEXT("--trace"))
		{
			TraceFile = Value;
		}
		else if (Argument == TEXT("--audio"))
		{
			AudioFile = Value;
		}
		else if (Argument == TEXT("--snapshots"))
		{
			if (!FOptionValues::ParseTimes(Value, SnapshotTimes, BadItem))
			{
				OutError = FString::Printf(TEXT("--snapshots takes seconds of the session clock, not '%s'"), *BadItem);
				return false;
			}
		}
		else if (Argument == TEXT("--seconds"))
		{
			if (!FOptionValues::ParseNumber(Value, RunSeconds) || RunSeconds <= 0.0)
			{
				OutError = FString::Printf(TEXT("--seconds takes a positive number, not '%s'"), *Value);
				return false;
			}
		}
		else if (Argument == TEXT("--frame-rate"))
		{
			if (!FOptionValues::ParseNumber(Value, Number) || Number < 1.0 || Number > 1000.0)
			{
				OutError = FString::Printf(TEXT("--frame-rate takes a number from 1 to 1000, not '%s'"), *Value);
				return false;
			}
			FrameSeconds = 1.0 / Number;
		}
		else if (Argument == TEXT("--seed"))
		{
			if (!FOptionValues::ParseWhole(Value, 0, MAX_int32, Whole))
			{
				OutError = FString::Printf(TEXT("--seed takes a whole number from 0 to 2147483647, not '%s'"), *Value);
				return false;
			}
			Seed = int32(Whole);
		}
	}
	return true;
}
