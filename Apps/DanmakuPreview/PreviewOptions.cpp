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
	static const TCHAR* const ValueOptions[] = {
	    TEXT("--comments"), TEXT("--media"),     TEXT("--media-description"), TEXT("--output"),     TEXT("--trace"),
	    TEXT("--canvas"),   TEXT("--snapshots"), TEXT("--seconds"),           TEXT("--frame-rate"), TEXT("--seed")};
	const auto TakeOwn = [this, &Arguments](int32& Index, FString& Error)
	{
		if (Controls.ParseOption(Arguments, Index, Error))
		{
			return true;
		}
		if (Arguments[Index] == TEXT("--help") || Arguments[Index] == TEXT("-h"))
		{
			bHelp = true;
			return true;
		}
		if (Arguments[Index] == TEXT("--no-send"))
		{
			bSendComments = false;
			return true;
		}
		return false;
	};
	const auto Read = [this](const FString& Name, const FString& Value, FString& Error)
	{ return ReadValue(Name, Value, Error); };
	return FOptionValues::ParseCommandLine(Arguments, ValueOptions, TakeOwn, Read, OutError);
}

bool FPreviewOptions::ReadValue(const FString& Name, const FString& Value, FString& OutError)
{
	for (const TPair<const TCHAR*, FString*>& Text : {TPair<const TCHAR*, FString*>(TEXT("--comments"), &CommentsFile),
	                                                  {TEXT("--media"), &Media},
	                                                  {TEXT("--media-description"), &MediaDescription},
	                                                  {TEXT("--output"), &OutputDir},
	                                                  {TEXT("--trace"), &TraceFile}})
	{
		if (Name == Text.Key)
		{
			*Text.Value = Value;
			return true;
		}
	}
	if (Name == TEXT("--canvas"))
	{
		if (!FOptionValues::ParseSize(Value, CanvasSize))
		{
			OutError = FString::Printf(TEXT("--canvas takes WIDTHxHEIGHT between 1 and 8192, not '%s'"), *Value);
			return false;
		}
		return true;
	}
	if (Name == TEXT("--snapshots"))
	{
		FString Item;
		if (!FOptionValues::ParseTimes(Value, SnapshotTimes, Item))
		{
			OutError = FString::Printf(TEXT("--snapshots takes media times in seconds, not '%s'"), *Item);
			return false;
		}
		return true;
	}
	if (Name == TEXT("--seconds"))
	{
		return FOptionValues::ReadSeconds(Value, PlaySeconds, OutError);
	}
	if (Name == TEXT("--frame-rate"))
	{
		return FOptionValues::ReadFrameRate(Value, FrameSeconds, OutError);
	}
	return FOptionValues::ReadSeed(Value, Seed, OutError);
}
