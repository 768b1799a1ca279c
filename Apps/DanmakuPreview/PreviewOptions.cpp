#include "PreviewOptions.h"
#include "DanmakuBlockList.h"
#include "Headless/Utf8String.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace
{
bool ParseNumber(const FString& Text, double& Out)
{
	const std::string Narrow = ToUtf8(Text);
	if (Narrow.empty())
	{
		return false;
	}
	char* End = nullptr;
	const double Value = std::strtod(Narrow.c_str(), &End);
	if (*End != '\0' || !std::isfinite(Value))
	{
		return false;
	}
	Out = Value;
	return true;
}

bool ParseSize(const FString& Text, FVector2D& Out)
{
	FString Width;
	FString Height;
	double W = 0.0;
	double H = 0.0;
	if (!Text.Split(TEXT("x"), &Width, &Height) || !ParseNumber(Width, W) || !ParseNumber(Height, H) || W < 1.0 ||
	    H < 1.0 || W > 8192.0 || H > 8192.0)
	{
		return false;
	}
	Out = FVector2D(FMath::FloorToDouble(W), FMath::FloorToDouble(H));
	return true;
}

bool ParseWhole(const FString& Text, int32 Min, int32 Max, int32& Out)
{
	double Value = 0.0;
	if (!ParseNumber(Text, Value) || Value < double(Min) || Value > double(Max) || Value != FMath::FloorToDouble(Value))
	{
		return false;
	}
	Out = int32(Value);
	return true;
}

bool ParseFraction(const FString& Text, double Min, double Max, float& Out)
{
	double Value = 0.0;
	if (!ParseNumber(Text, Value) || Value < Min || Value > Max)
	{
		return false;
	}
	Out = float(Value);
	return true;
}
} // namespace

FString FPreviewOptions::Usage()
{
	return TEXT(
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
	    "\n"
	    "Overlay controls (a host sets the same on the overlay):\n"
	    "  --block WORD        do not show comments containing WORD, letter case ignored (repeatable)\n"
	    "  --block-pattern RE  do not show comments matching the regular expression RE (ICU syntax, letter case\n"
	    "                      ignored; repeatable)\n"
	    "  --max-on-screen N   at most N comments on screen at once (default 0: no limit)\n"
	    "  --max-per-second N  at most N comments appearing within any second (default 0: no limit)\n"
	    "  --merge-repeats S   count a text repeated within S seconds on the comment shown, as \"text ×2\"\n"
	    "  --opacity X         opacity of every comment, 0 to 1 (default 1)\n"
	    "  --area A,B          percent of the height for scroll and top comments, and for bottom comments\n"
	    "                      (default 75,25)\n"
	    "  --speed X           speed scale of comments, 0.1 to 10 (default 1)\n"
	    "  --font-scale X      font-size scale of comments, 0.1 to 10 (default 1)\n"
	    "  --saved-settings    apply the settings store (font size, speed scale, on/off) first\n"
	    "  --help              show this text\n");
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
		if (Argument == TEXT("--help") || Argument == TEXT("-h"))
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
			if (!ParseSize(Value, CanvasSize))
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
			TArray<FString> Items;
			Value.ParseIntoArray(Items, TEXT(","), true);
			SnapshotTimes.Reset();
			for (const FString& Item : Items)
			{
				double Seconds = 0.0;
				if (!ParseNumber(Item.TrimStartAndEnd(), Seconds) || Seconds < 0.0)
				{
					OutError = FString::Printf(TEXT("--snapshots takes media times in seconds, not '%s'"), *Item);
					return false;
				}
				SnapshotTimes.Add(Seconds);
			}
			SnapshotTimes.Sort();
		}
		else if (Argument == TEXT("--seconds"))
		{
			if (!TakeValue(Value))
			{
				return false;
			}
			if (!ParseNumber(Value, PlaySeconds) || PlaySeconds <= 0.0)
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
			if (!ParseNumber(Value, Rate) || Rate < 1.0 || Rate > 1000.0)
			{
				OutError = FString::Printf(TEXT("--frame-rate takes a number from 1 to 1000, not '%s'"), *Value);
				return false;
			}
			FrameSeconds = 1.0 / Rate;
		}
		else if (Argument == TEXT("--seed"))
		{
			double SeedValue = 0.0;
			if (!TakeValue(Value))
			{
				return false;
			}
			if (!ParseNumber(Value, SeedValue) || SeedValue < 0.0 || SeedValue > 2147483647.0 ||
			    SeedValue != FMath::FloorToDouble(SeedValue))
			{
				OutError = FString::Printf(TEXT("--seed takes a whole number from 0 to 2147483647, not '%s'"), *Value);
				return false;
			}
			Seed = int32(SeedValue);
		}
		else if (Argument == TEXT("--saved-settings"))
		{
			bApplySavedSettings = true;
		}
		else if (Argument == TEXT("--block"))
		{
			if (!TakeValue(Value))
			{
				return false;
			}
			if (Value.IsEmpty())
			{
				OutError = TEXT("--block takes a word, not an empty text");
				return false;
			}
			BlockedWords.Add(Value);
		}
		else if (Argument == TEXT("--block-pattern"))
		{
			if (!TakeValue(Value))
			{
				return false;
			}
			if (Value.IsEmpty() || !FDanmakuBlockList::IsValidPattern(Value))
			{
				OutError = FString::Printf(TEXT("--block-pattern: '%s' is not a valid regular expression"), *Value);
				return false;
			}
			BlockedPatterns.Add(Value);
		}
		else if (Argument == TEXT("--max-on-screen") || Argument == TEXT("--max-per-second"))
		{
			if (!TakeValue(Value))
			{
				return false;
			}
			int32& Limit = Argument == TEXT("--max-on-screen") ? MaxOnScreen : MaxPerSecond;
			if (!ParseWhole(Value, 0, 100000, Limit))
			{
				OutError = FString::Printf(TEXT("%s takes a whole number from 0 (no limit) to 100000, not '%s'"),
				                           *Argument, *Value);
				return false;
			}
		}
		else if (Argument == TEXT("--merge-repeats"))
		{
			if (!TakeValue(Value))
			{
				return false;
			}
			if (!ParseFraction(Value, 0.0, 60.0, RepeatMergeSeconds))
			{
				OutError = FString::Printf(TEXT("--merge-repeats takes seconds from 0 to 60, not '%s'"), *Value);
				return false;
			}
		}
		else if (Argument == TEXT("--opacity"))
		{
			if (!TakeValue(Value))
			{
				return false;
			}
			if (!ParseFraction(Value, 0.0, 1.0, Opacity))
			{
				OutError = FString::Printf(TEXT("--opacity takes a number from 0 to 1, not '%s'"), *Value);
				return false;
			}
		}
		else if (Argument == TEXT("--area"))
		{
			if (!TakeValue(Value))
			{
				return false;
			}
			FString Upper;
			FString Lower;
			if (!Value.Split(TEXT(","), &Upper, &Lower) ||
			    !ParseWhole(Upper.TrimStartAndEnd(), 0, 100, ScrollAndTopArea) ||
			    !ParseWhole(Lower.TrimStartAndEnd(), 0, 100, BottomArea))
			{
				OutError = FString::Printf(TEXT("--area takes two whole percentages, e.g. 50,20, not '%s'"), *Value);
				return false;
			}
		}
		else if (Argument == TEXT("--speed") || Argument == TEXT("--font-scale"))
		{
			if (!TakeValue(Value))
			{
				return false;
			}
			const bool bSpeed = Argument == TEXT("--speed");
			(bSpeed ? bSpeedScaleGiven : bFontScaleGiven) = true;
			float& Scale = bSpeed ? SpeedScale : FontScale;
			if (!ParseFraction(Value, 0.1, 10.0, Scale))
			{
				OutError = FString::Printf(TEXT("%s takes a number from 0.1 to 10, not '%s'"), *Argument, *Value);
				return false;
			}
		}
		else
		{
			OutError = FString::Printf(TEXT("unknown option '%s' (see --help)"), *Argument);
			return false;
		}
	}
	return true;
}
