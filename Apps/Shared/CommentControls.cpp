#include "CommentControls.h"

#include "DanmakuBlockList.h"
#include "OptionValues.h"
#include "UI_Danmaku.h"

namespace
{
bool ParseWhole32(const FString& Text, int32 Min, int32 Max, int32& Out)
{
	int64 Value = 0;
	if (!FOptionValues::ParseWhole(Text, Min, Max, Value))
	{
		return false;
	}
	Out = int32(Value);
	return true;
}

bool ParseFraction(const FString& Text, double Min, double Max, float& Out)
{
	double Value = 0.0;
	if (!FOptionValues::ParseNumber(Text, Value) || Value < Min || Value > Max)
	{
		return false;
	}
	Out = float(Value);
	return true;
}
} // namespace

FString FCommentControls::Usage()
{
	return TEXT(
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
	    "  --no-reverse        do not place reverse comments (which scroll left to right); they are shown by\n"
	    "                      default here, while the overlay of a game leaves them off until its host turns them "
	    "on\n");
}

bool FCommentControls::ParseOption(const TArray<FString>& Arguments, int32& Index, FString& OutError)
{
	const FString& Argument = Arguments[Index];
	if (Argument == TEXT("--saved-settings"))
	{
		bApplySavedSettings = true;
		return true;
	}
	if (Argument == TEXT("--no-reverse"))
	{
		Display.bShowReverse = false;
		return true;
	}
	static const TCHAR* const ValueOptions[] = {
	    TEXT("--block"),          TEXT("--block-pattern"), TEXT("--max-on-screen"),
	    TEXT("--max-per-second"), TEXT("--merge-repeats"), TEXT("--opacity"),
	    TEXT("--area"),           TEXT("--speed"),         TEXT("--font-scale")};
	if (!FOptionValues::IsOneOf(Argument, ValueOptions))
	{
		return false;
	}
	if (Index + 1 >= Arguments.Num())
	{
		OutError = FString::Printf(TEXT("option %s needs a value"), *Argument);
		return true;
	}
	ReadValue(Argument, Arguments[++Index], OutError);
	return true;
}

void FCommentControls::ReadValue(const FString& Argument, const FString& Value, FString& OutError)
{
	if (Argument == TEXT("--block"))
	{
		if (Value.IsEmpty())
		{
			OutError = TEXT("--block takes a word, not an empty text");
		}
		BlockedWords.Add(Value);
	}
	else if (Argument == TEXT("--block-pattern"))
	{
		if (Value.IsEmpty() || !FDanmakuBlockList::IsValidPattern(Value))
		{
			OutError = FString::Printf(TEXT("--block-pattern: '%s' is not a valid regular expression"), *Value);
		}
		BlockedPatterns.Add(Value);
	}
	else if (Argument == TEXT("--max-on-screen") || Argument == TEXT("--max-per-second"))
	{
		int32& Limit = Argument == TEXT("--max-on-screen") ? Display.MaxOnScreen : Display.MaxPerSecond;
		if (!ParseWhole32(Value, 0, 100000, Limit))
		{
			OutError = FString::Printf(TEXT("%s takes a whole number from 0 (no limit) to 100000, not '%s'"), *Argument,
			                           *Value);
		}
	}
	else if (Argument == TEXT("--merge-repeats"))
	{
		if (!ParseFraction(Value, 0.0, 60.0, Display.RepeatMergeSeconds))
		{
			OutError = FString::Printf(TEXT("--merge-repeats takes seconds from 0 to 60, not '%s'"), *Value);
		}
	}
	else if (Argument == TEXT("--opacity"))
	{
		if (!ParseFraction(Value, 0.0, 1.0, Display.Opacity))
		{
			OutError = FString::Printf(TEXT("--opacity takes a number from 0 to 1, not '%s'"), *Value);
		}
	}
	else if (Argument == TEXT("--area"))
	{
		FString Upper;
		FString Lower;
		if (!Value.Split(TEXT(","), &Upper, &Lower) ||
		    !ParseWhole32(Upper.TrimStartAndEnd(), 0, 100, Display.ScrollAndTopArea) ||
		    !ParseWhole32(Lower.TrimStartAndEnd(), 0, 100, Display.BottomArea))
		{
			OutError = FString::Printf(TEXT("--area takes two whole percentages, e.g. 50,20, not '%s'"), *Value);
		}
	}
	else
	{
		const bool bSpeed = Argument == TEXT("--speed");
		(bSpeed ? bSpeedScaleGiven : bFontScaleGiven) = true;
		if (!ParseFraction(Value, 0.1, 10.0, bSpeed ? Display.SpeedScale : Display.FontScale))
		{
			OutError = FString::Printf(TEXT("%s takes a number from 0.1 to 10, not '%s'"), *Argument, *Value);
		}
	}
}

bool FCommentControls::ApplyTo(UUI_Danmaku& Overlay, FString& OutError) const
{
	if (bApplySavedSettings)
	{
		Overlay.ApplySavedSettings();
	}
	for (const FString& Word : BlockedWords)
	{
		Overlay.AddBlockedWord(Word);
	}
	Overlay.SetReverseComments(Display.bShowReverse);
	for (const FString& Pattern : BlockedPatterns)
	{
		if (!Overlay.AddBlockedPattern(Pattern, &OutError))
		{
			return false;
		}
	}
	// The options were checked against the same ranges; the defaults change nothing.
	const bool bApplied = Overlay.SetDensityLimit(Display.MaxOnScreen, Display.MaxPerSecond) &&
	                      Overlay.SetRepeatMerging(Display.RepeatMergeSeconds) &&
	                      Overlay.SetCommentOpacity(Display.Opacity) &&
	                      Overlay.SetDisplayArea(Display.ScrollAndTopArea, Display.BottomArea) &&
	                      (!bSpeedScaleGiven || Overlay.SetSpeedScale(Display.SpeedScale)) &&
	                      (!bFontScaleGiven || Overlay.SetFontScale(Display.FontScale));
	if (!bApplied)
	{
		OutError = TEXT("the overlay refused one of the display options");
	}
	return bApplied;
}
