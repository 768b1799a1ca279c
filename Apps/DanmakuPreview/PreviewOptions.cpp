#include "PreviewOptions.h"
#include "OptionValues.h"

FString FPreviewOptions::Usage()
{
	return FString(TEXT(
	           "Usage: DanmakuPreview [options]\n"
	           "\n"
	           "Plays a lesson with its danmaku comments headlessly, sends a few comments as a viewer would,\n"
	           "switches the overlay off and on, and writes PNG snapshots of the screen and a summary.\n"
	           "\n"
	           "Options:\n"
	           "  --comments FILE     comment document: JSON with a \"datas\" array, or the XML comment format of\n"
	           "                      video sites (.xml); default: the bundled sample\n"
	           "  --media FILE|URL    lesson media file or URL; default: the bundled described lesson\n"
	           "  --media-description FILE  describes a network lesson (see Content/Samples/SampleLesson.media)\n"
	           "  --canvas WxH        screen size in canvas units, e.g. 1280x720 (default 1920x1080)\n"
	           "  --snapshots T,...   media times in seconds at which to write snapshots (default "
	           "6.5,12.5,22,47.5,95.5,150.5)\n"
	           "  --output DIR        folder for snapshots, summary and trace (default ./out)\n"
	           "  --trace FILE        also write a JSON-lines trace of every placement and every comment not shown\n"
	           "  --seconds S         play only the first S seconds of media (default: to the end)\n"
	           "  --frame-rate N      frames per second of the simulated clock (default 60)\n"
	           "  --seed N            seed of the random lane and life-time draws (default 1)\n"
	           "  --no-send           do not send comments as a viewer\n"
	           "  --help              show this text\n"
	           "\n")) +
	       FCommentControls::Usage();
}

bool FPreviewOptions::Parse(const TArray<FString>& Arguments, FString& OutError)
{
	for (int32 Index = 0; Index < Arguments.Num(); ++Index)
	{
		const FString& Argument = Arguments[Index];
		const auto TakeValue = [&](FString& OutValue)
		{
			if (Index + 1 >= Arguments.Num())
			{
				OutError = FString::Printf(TEXT("option %s needs a value"), *Argument);
				return false;
			}
			OutValue = Arguments[++Index];
			return true;
		};
		FString Value;
		if (Controls.ParseOption(Arguments, Index, OutError))
		{
			if (!OutError.IsEmpty())
			{
				return false;
			}
		}
		else if (Argument == TEXT("--help") || Argument == TEXT("-h"))
		{
			bHelp = true;
		}
		else if (Argument == TEXT("--no-send"))
		{
			bSendComments = false;
		}
		else if (Argument == TEXT("--comments"))
		{
			if (!TakeValue(CommentsFile))
			{
				return false;
			}
		}
		else if (Argument == TEXT("--media"))
		{
			if (!TakeValue(Media))
			{
				return false;
			}
		}
		else if (Argument == TEXT("--media-description"))
		{
			if (!TakeValue(MediaDescription))
			{
				return false;
			}
		}
		else if (Argument == TEXT("--output"))
		{
			if (!TakeValue(OutputDir))
			{
				return false;
			}
		}
		else if (Argument == TEXT("--trace"))
		{
			if (!TakeValue(TraceFile))
			{
				return false;
			}
		}
		else if (Argument == TEXT("--canvas"))
		{
			if (!TakeValue(Value))
			{
				return false;
			}
			if (!FOptionValues::ParseSize(Value, CanvasSize))
			{
				OutError = FString::Printf(TEXT("--canvas takes WIDTHxHEIGHT between 1 and 8192, not '%s'"), *Value);
				return false;
			}
		}
		else if (Argument == TEXT("--snapshots"))
		{
			if (!TakeValue(Value))
			{
				return false;
			}
			FString Item;
			if (!FOptionValues::ParseTimes(Value, SnapshotTimes, Item))
			{
				OutError = FString::Printf(TEXT("--snapshots takes media times in seconds, not '%s'"), *Item);
				return false;
			}
		}
		else if (Argument == TEXT("--seconds"))
		{
			if (!TakeValue(Value))
			{
				return false;
			}
			if (!FOptionValues::ParseNumber(Value, PlaySeconds) || PlaySeconds <= 0.0)
			{
				OutError = FString::Printf(TEXT("--seconds takes a positive number, not '%s'"), *Value);
				return false;
			}
		}
		else if (Argument == TEXT("--frame-rate"))
		{
			double Rate = 0.0;
			if (!TakeValue(Value))
			{
				return false;
			}
			if (!FOptionValues::ParseNumber(Value, Rate) || Rate < 1.0 || Rate > 1000.0)
			{
				OutError = FString::Printf(TEXT("--frame-rate takes a number from 1 to 1000, not '%s'"), *Value);
				return false;
			}
			FrameSeconds = 1.0 / Rate;
		}
		else if (Argument == TEXT("--seed"))
		{
			int64 SeedValue = 0;
			if (!TakeValue(Value))
			{
				return false;
			}
			if (!FOptionValues::ParseWhole(Value, 0, MAX_int32, SeedValue))
			{
				OutError = FString::Printf(TEXT("--seed takes a whole number from 0 to 2147483647, not '%s'"), *Value);
				return false;
			}
			Seed = int32(SeedValue);
		}
		else
		{
			OutError = FString::Printf(TEXT("unknown option '%s' (see --help)"), *Argument);
			return false;
		}
	}
	return true;
}
