#include "SoakOptions.h"

FString FSoakOptions::Usage()
{
	return TEXT("Usage: PlayerSoak [--lesson-seconds S] [--comments N] [--seed N] [--actions N] [--fps N] [--legacy] "
	            "[--verbose]\n"
	            "Plays a described lesson with N generated comments through the full lesson player (or the legacy\n"
	            "overlay) as fast as the machine goes, while a seeded viewer seeks, pauses, goes fullscreen, switches\n"
	            "the overlay, sends, moves through the playlist, resizes the screen and the host pushes and reloads\n"
	            "comments. Exits 1 on the first broken promise, 0 with the figures otherwise.\n");
}

bool FSoakOptions::Parse(const TArray<FString>& Arguments, FString& OutError)
{
	// A bad option is followed by the usage, as a soak is mostly run by hand.
	if (!ParseArguments(Arguments, OutError))
	{
		OutError += TEXT("\n") + Usage().TrimEnd();
		return false;
	}
	return true;
}

bool FSoakOptions::ParseArguments(const TArray<FString>& Arguments, FString& OutError)
{
	for (int32 Index = 0; Index < Arguments.Num(); ++Index)
	{
		const FString& Name = Arguments[Index];
		if (Name == TEXT("--legacy") || Name == TEXT("--help") || Name == TEXT("--verbose"))
		{
			(Name == TEXT("--legacy") ? bLegacy : Name == TEXT("--help") ? bHelp : bVerbose) = true;
			continue;
		}
		if (Index + 1 >= Arguments.Num())
		{
			OutError = FString::Printf(TEXT("%s needs a value"), *Name);
			return false;
		}
		const FString& Value = Arguments[++Index];
		const double Number = FCString::Atod(*Value);
		if (!Value.IsNumeric() || Number < 1.0)
		{
			OutError = FString::Printf(TEXT("%s takes a number of at least 1, not %s"), *Name, *Value);
			return false;
		}
		if (Name == TEXT("--lesson-seconds"))
		{
			LessonSeconds = Number;
		}
		else if (Name == TEXT("--comments"))
		{
			Comments = int32(Number);
		}
		else if (Name == TEXT("--seed"))
		{
			Seed = uint32(Number);
		}
		else if (Name == TEXT("--actions"))
		{
			Actions = int32(Number);
		}
		else if (Name == TEXT("--fps"))
		{
			FramesPerSecond = int32(Number);
		}
		else
		{
			OutError = FString::Printf(TEXT("unknown option %s"), *Name);
			return false;
		}
	}
	return true;
}
