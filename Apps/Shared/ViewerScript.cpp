#include "ViewerScript.h"

#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "FileChecks.h"
#include "OptionValues.h"

namespace
{
bool IsWordCharacter(TCHAR C)
{
	return (C >= u'a' && C <= u'z') || (C >= u'A' && C <= u'Z') || (C >= u'0' && C <= u'9');
}

struct FActionName
{
	const TCHAR* Name;
	EViewerAction Action;
	const TCHAR* Usage;
};

const FActionName ActionNames[] = {
    {TEXT("describe"), EViewerAction::Describe, TEXT("describe FILE")},
    {TEXT("lesson"), EViewerAction::Lesson, TEXT("lesson URL|MEDIA-FILE COMMENTS-FILE|-")},
    {TEXT("open"), EViewerAction::Open, TEXT("open URL|MEDIA-FILE")},
    {TEXT("comments"), EViewerAction::Comments, TEXT("comments FILE")},
    {TEXT("live"), EViewerAction::Live, TEXT("live {JSON comment}")},
    {TEXT("move"), EViewerAction::Move, TEXT("move TARGET")},
    {TEXT("click"), EViewerAction::Click, TEXT("click TARGET")},
    {TEXT("press"), EViewerAction::Press, TEXT("press TARGET")},
    {TEXT("release"), EViewerAction::Release, TEXT("release")},
    {TEXT("drag"), EViewerAction::Drag, TEXT("drag TARGET FROM TO (fractions of the target's width)")},
    {TEXT("select"), EViewerAction::Select, TEXT("select TARGET OPTION")},
    {TEXT("type"), EViewerAction::Type, TEXT("type TEXT")},
    {TEXT("enter"), EViewerAction::Enter, TEXT("enter")},
    {TEXT("backspace"), EViewerAction::Backspace, TEXT("backspace [COUNT]")},
    {TEXT("snapshot"), EViewerAction::Snapshot, TEXT("snapshot [NAME]")},
    {TEXT("end"), EViewerAction::End, TEXT("end")},
};

// Splits off the first word of Text (separated by spaces or tabs); the rest keeps its inner spaces.
FString TakeWord(FString& Text)
{
	Text = Text.TrimStart();
	int32 Index = 0;
	while (Index < Text.Len() && Text[Index] != u' ' && Text[Index] != u'\t')
	{
		++Index;
	}
	const FString Word = Text.Left(Index);
	Text = Text.RightChop(Index).TrimStart();
	return Word;
}
// Seconds as 12.5, 1:02.5 or 1:00:02.5.
bool ParseClock(const FString& Text, double& Out)
{
	TArray<FString> Parts;
	Text.ParseIntoArray(Parts, TEXT(":"), false);
	if (Parts.IsEmpty() || Parts.Num() > 3)
	{
		return false;
	}
	double Seconds = 0.0;
	for (int32 Index = 0; Index < Parts.Num(); ++Index)
	{
		double Part = 0.0;
		const bool bLast = Index == Parts.Num() - 1;
		if (!FOptionValues::ParseNumber(Parts[Index], Part) || Part < 0.0 ||
		    (!bLast && Part != FMath::FloorToDouble(Part)) || (Index > 0 && Part >= 60.0))
		{
			return false;
		}
		Seconds = Seconds * 60.0 + Part;
	}
	Out = Seconds;
	return true;
}

// Splits off the first argument of Text: a word, or a text in double quotes, in which \" is a quote and \\ a
// backslash, so that a file name with spaces can be named. False for a quote that is not closed.
bool TakeArgument(FString& Text, FString& OutWord)
{
	Text = Text.TrimStart();
	if (!Text.StartsWith(TEXT("\"")))
	{
		OutWord = TakeWord(Text);
		return true;
	}
	OutWord.Empty();
	for (int32 Index = 1; Index < Text.Len(); ++Index)
	{
		const TCHAR C = Text[Index];
		if (C == u'\\' && Index + 1 < Text.Len() && (Text[Index + 1] == u'"' || Text[Index + 1] == u'\\'))
		{
			OutWord.AppendChar(Text[++Index]);
		}
		else if (C == u'"')
		{
			Text = Text.RightChop(Index + 1).TrimStart();
			return true;
		}
		else
		{
			OutWord.AppendChar(C);
		}
	}
	return false;
}

bool ParseTarget(const FString& Text, FViewerTarget& Out)
{
	FString X;
	FString Y;
	double XValue = 0.0;
	double YValue = 0.0;
	if (Text.Split(TEXT(","), &X, &Y))
	{
		if (!FOptionValues::ParseNumber(X, XValue) || !FOptionValues::ParseNumber(Y, YValue))
		{
			return false;
		}
		Out.bIsPosition = true;
		Out.Position = FVector2D(XValue, YValue);
		return true;
	}
	for (TCHAR C : Text)
	{
		if (!IsWordCharacter(C) && C != u'_' && C != u'/')
		{
			return false;
		}
	}
	Out.WidgetPath = Text;
	return !Text.IsEmpty() && !Text.StartsWith(TEXT("/")) && !Text.EndsWith(TEXT("/"));
}

} // namespace

FString FViewerScript::Where(const FViewerStep& Step) const
{
	return FString::Printf(TEXT("%s:%d"), *Path, Step.Line);
}

bool FViewerScript::Load(const FString& InPath, FString& OutError)
{
	Path = InPath;
	FString Text;
	if (!FFileChecks::CheckInput(Path, TEXT("viewer session"), OutError))
	{
		return false;
	}
	if (!FFileHelper::LoadFileToString(Text, *Path))
	{
		OutError = FString::Printf(TEXT("cannot read the viewer session %s"), *Path);
		return false;
	}
	return Parse(Text,
	             FilesFrom.IsEmpty() ? FPaths::GetPath(FPaths::ConvertRelativePathToFull(Path))
	                                 : FPaths::ConvertRelativePathToFull(FilesFrom),
	             OutError);
}

bool FViewerScript::Parse(const FString& Text, const FString& BaseDirectory, FString& OutError)
{
	Steps.Reset();
	TArray<FString> Lines;
	Text.ParseIntoArray(Lines, TEXT("\n"), false);
	double LastSeconds = 0.0;
	for (int32 Index = 0; Index < Lines.Num(); ++Index)
	{
		FString Rest = Lines[Index].TrimEnd();
		Rest.RemoveFromEnd(TEXT("\r"));
		const FString Trimmed = Rest.TrimStart();
		if (Trimmed.IsEmpty() || Trimmed.StartsWith(TEXT("#")))
		{
			continue;
		}
		FViewerStep Step;
		Step.Line = Index + 1;
		Step.Source = Trimmed;
		const auto Fail = [this, &Step, &OutError](const FString& Message)
		{
			OutError = FString::Printf(TEXT("%s: %s"), *Where(Step), *Message);
			return false;
		};
		const FString Time = TakeWord(Rest);
		if (!ParseClock(Time, Step.Seconds))
		{
			return Fail(FString::Printf(TEXT("a line starts with its time in seconds (12.5 or 1:02.5), not '%s'"),
			                            *FFileChecks::Excerpt(Time)));
		}
		// A script runs frame by frame; a later time would keep the player busy for days.
		if (Step.Seconds > MaxSeconds)
		{
			return Fail(FString::Printf(TEXT("time %s is beyond a day (%g s); a session lasts at most that"),
			                            *FFileChecks::Excerpt(Time), MaxSeconds));
		}
		if (!Steps.IsEmpty() && Steps.Last().Action == EViewerAction::End)
		{
			return Fail(FString::Printf(TEXT("the session ended at line %d; a line after 'end' would never run"),
			                            Steps.Last().Line));
		}
		if (Step.Seconds < LastSeconds)
		{
			return Fail(FString::Printf(TEXT("time %s is before the line above (%g s); lines run in order"),
			                            *FFileChecks::Excerpt(Time), LastSeconds));
		}
		LastSeconds = Step.Seconds;
		const FString Name = TakeWord(Rest);
		const FActionName* Found = nullptr;
		for (const FActionName& Candidate : ActionNames)
		{
			if (Name == Candidate.Name)
			{
				Found = &Candidate;
			}
		}
		if (!Found)
		{
			TArray<FString> Known;
			for (const FActionName& Candidate : ActionNames)
			{
				Known.Add(Candidate.Name);
			}
			return Fail(FString::Printf(TEXT("unknown action '%s' (known: %s)"), *FFileChecks::Excerpt(Name),
			                            *FString::Join(Known, TEXT(", "))));
		}
		Step.Action = Found->Action;
		const auto Usage = [&Fail, Found](const FString& Problem)
		{ return Fail(FString::Printf(TEXT("%s; write: %s"), *Problem, Found->Usage)); };
		// A file named in the script is taken from the script's folder (or the one given instead) and must stay
		// inside it, so that a script someone hands over cannot read any other file of the machine.
		const auto ResolveFile = [&](const FString& Word, const TCHAR* What, FString& OutFile)
		{
			TArray<FString> Names;
			Word.ParseIntoArray(Names, TEXT("/"), true);
			if (!FPaths::IsRelative(Word) || Word.StartsWith(TEXT("/")) || Word.StartsWith(TEXT("~")) ||
			    Names.Contains(TEXT("..")))
			{
				return Fail(FString::Printf(TEXT("'%s' is outside the session's folder %s; files are named relative to "
				                                 "it, without '..' (--files-from DIR names another folder)"),
				                            *FFileChecks::Excerpt(Word), *BaseDirectory));
			}
			OutFile = FPaths::Combine(BaseDirectory, Word);
			if (!FFileChecks::CheckInput(OutFile, What, OutError))
			{
				return Fail(OutError);
			}
			if (!FFileChecks::LiesUnder(OutFile, BaseDirectory))
			{
				return Fail(FString::Printf(TEXT("%s leads outside the session's folder %s (through a link)"), *OutFile,
				                            *BaseDirectory));
			}
			return true;
		};
		const auto TakeFileArgument = [&](FString& OutWord)
		{
			if (!TakeArgument(Rest, OutWord))
			{
				return Usage(TEXT("a quoted name is not closed with '\"'"));
			}
			return true;
		};
		const auto TakeFile = [&](FString& OutFile)
		{
			FString Word;
			if (!TakeFileArgument(Word))
			{
				return false;
			}
			if (Word.IsEmpty())
			{
				return Usage(TEXT("a file is missing"));
			}
			return ResolveFile(Word, TEXT("file"), OutFile);
		};
		const auto TakeUrl = [&]
		{
			FString Word;
			if (!TakeFileArgument(Word))
			{
				return false;
			}
			if (Word.IsEmpty())
			{
				return Usage(TEXT("the lesson's URL or media file is missing"));
			}
			Step.Text = Word;
			return Word.Contains(TEXT("://")) || ResolveFile(Word, TEXT("media file"), Step.Text);
		};
		const auto TakeTarget = [&]
		{
			const FString Word = TakeWord(Rest);
			if (Word.IsEmpty() || !ParseTarget(Word, Step.Target))
			{
				return Usage(FString::Printf(TEXT("'%s' is no target (a widget name such as ScreenButton, "
				                                  "Owner/Child such as DanmakuBar/InputDanmakuText, or X,Y)"),
				                             *FFileChecks::Excerpt(Word)));
			}
			return true;
		};
		bool bRead = true;
		switch (Step.Action)
		{
			case EViewerAction::Describe:
			case EViewerAction::Comments:
				bRead = TakeFile(Step.File);
				break;
			case EViewerAction::Lesson:
			{
				bRead = TakeUrl();
				if (bRead)
				{
					Rest = Rest.TrimStart();
					if (Rest == TEXT("-") || Rest.StartsWith(TEXT("- ")) || Rest.StartsWith(TEXT("-\t")))
					{
						TakeWord(Rest);
					}
					else
					{
						bRead = TakeFile(Step.File);
					}
				}
				break;
			}
			case EViewerAction::Open:
				bRead = TakeUrl();
				break;
			case EViewerAction::Live:
				Step.Text = Rest;
				Rest.Empty();
				bRead = !Step.Text.IsEmpty() || Usage(TEXT("the comment is missing"));
				break;
			case EViewerAction::Move:
			case EViewerAction::Click:
			case EViewerAction::Press:
				bRead = TakeTarget();
				break;
			case EViewerAction::Drag:
			{
				bRead = TakeTarget();
				const FString From = TakeWord(Rest);
				const FString To = TakeWord(Rest);
				if (bRead &&
				    (!FOptionValues::ParseNumber(From, Step.From) || !FOptionValues::ParseNumber(To, Step.To) ||
				     Step.From < 0.0 || Step.From > 1.0 || Step.To < 0.0 || Step.To > 1.0))
				{
					bRead = Usage(TEXT("FROM and TO are fractions from 0 to 1"));
				}
				break;
			}
			case EViewerAction::Select:
				bRead = TakeTarget();
				Step.Text = Rest;
				Rest.Empty();
				if (bRead && Step.Text.IsEmpty())
				{
					bRead = Usage(TEXT("the option is missing"));
				}
				break;
			case EViewerAction::Type:
				Step.Text = Rest;
				Rest.Empty();
				bRead = !Step.Text.IsEmpty() || Usage(TEXT("the text is missing"));
				break;
			case EViewerAction::Backspace:
			{
				const FString Word = TakeWord(Rest);
				int64 Count = 1;
				if (!Word.IsEmpty() && !FOptionValues::ParseWhole(Word, 1, 1000, Count))
				{
					bRead =
					    Usage(FString::Printf(TEXT("'%s' is no count from 1 to 1000"), *FFileChecks::Excerpt(Word)));
				}
				Step.Count = int32(Count);
				break;
			}
			case EViewerAction::Snapshot:
				Step.Text = TakeWord(Rest);
				for (TCHAR C : Step.Text)
				{
					if (!IsWordCharacter(C) && C != u'_' && C != u'-' && C != u'.')
					{
						bRead = Usage(TEXT("a snapshot name has letters, digits, '-', '_' and '.' only"));
						break;
					}
				}
				break;
			case EViewerAction::Release:
			case EViewerAction::Enter:
			case EViewerAction::End:
				break;
		}
		if (!bRead)
		{
			return false;
		}
		if (!Rest.IsEmpty())
		{
			return Usage(FString::Printf(TEXT("unexpected '%s' at the end"), *FFileChecks::Excerpt(Rest)));
		}
		Steps.Add(MoveTemp(Step));
	}
	if (Steps.IsEmpty())
	{
		OutError = FString::Printf(TEXT("%s: the session has no actions"), *Path);
		return false;
	}
	return true;
}
