#include "ViewerScriptLine.h"

#include "FileChecks.h"
#include "Misc/Paths.h"
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

FViewerScriptLine::FViewerScriptLine(const FViewerScript& InScript, FViewerStep& InStep, FString& InRest,
                                     const FString& InBaseDirectory, FString& InOutError)
    : Script(InScript), Step(InStep), Rest(InRest), BaseDirectory(InBaseDirectory), OutError(InOutError)
{
}

bool FViewerScriptLine::ReadTime(const FViewerStep* Previous)
{
	const FString Time = TakeWord(Rest);
	if (!ParseClock(Time, Step.Seconds))
	{
		return Fail(FString::Printf(TEXT("a line starts with its time in seconds (12.5 or 1:02.5), not '%s'"),
		                            *FFileChecks::Excerpt(Time)));
	}
	// A script runs frame by frame; a later time would keep the player busy for days.
	if (Step.Seconds > FViewerScript::MaxSeconds)
	{
		return Fail(FString::Printf(TEXT("time %s is beyond a day (%g s); a viewer script lasts at most that"),
		                            *FFileChecks::Excerpt(Time), FViewerScript::MaxSeconds));
	}
	if (Previous && Previous->Action == EViewerAction::End)
	{
		return Fail(FString::Printf(TEXT("the viewer script ended at line %d; a line after 'end' would never run"),
		                            Previous->Line));
	}
	if (Previous && Step.Seconds < Previous->Seconds)
	{
		return Fail(FString::Printf(TEXT("time %s is before the line above (%g s); lines run in order"),
		                            *FFileChecks::Excerpt(Time), Previous->Seconds));
	}
	return true;
}

bool FViewerScriptLine::ReadAction()
{
	const FString Name = TakeWord(Rest);
	const FActionName* Found = nullptr;
	TArray<FString> Known;
	for (const FActionName& Candidate : ActionNames)
	{
		Found = Name == Candidate.Name ? &Candidate : Found;
		Known.Add(Candidate.Name);
	}
	if (!Found)
	{
		return Fail(FString::Printf(TEXT("unknown action '%s' (known: %s)"), *FFileChecks::Excerpt(Name),
		                            *FString::Join(Known, TEXT(", "))));
	}
	Step.Action = Found->Action;
	Usage = Found->Usage;
	return true;
}

bool FViewerScriptLine::ReadArguments()
{
	if (!ReadArgumentsOfAction())
	{
		return false;
	}
	if (!Rest.IsEmpty())
	{
		return FailUsage(FString::Printf(TEXT("unexpected '%s' at the end"), *FFileChecks::Excerpt(Rest)));
	}
	return true;
}

bool FViewerScriptLine::ReadArgumentsOfAction()
{
	switch (Step.Action)
	{
		case EViewerAction::Describe:
		case EViewerAction::Comments:
			return TakeFile(Step.File);
		case EViewerAction::Lesson:
			return TakeUrl() && TakeLessonComments();
		case EViewerAction::Open:
			return TakeUrl();
		case EViewerAction::Live:
			return TakeText(TEXT("the comment is missing"));
		case EViewerAction::Move:
		case EViewerAction::Click:
		case EViewerAction::Press:
			return TakeTarget();
		case EViewerAction::Drag:
			return TakeTarget() && TakeFractions();
		case EViewerAction::Select:
			return TakeTarget() && TakeText(TEXT("the option is missing"));
		case EViewerAction::Type:
			return TakeText(TEXT("the text is missing"));
		case EViewerAction::Backspace:
			return TakeCount();
		case EViewerAction::Snapshot:
			return TakeSnapshotName();
		case EViewerAction::Release:
		case EViewerAction::Enter:
		case EViewerAction::End:
			return true;
	}
	return true;
}

bool FViewerScriptLine::Fail(const FString& Message) const
{
	OutError = FString::Printf(TEXT("%s: %s"), *Script.Where(Step), *Message);
	return false;
}

bool FViewerScriptLine::FailUsage(const FString& Problem) const
{
	return Fail(FString::Printf(TEXT("%s; write: %s"), *Problem, Usage));
}

bool FViewerScriptLine::ResolveFile(const FString& Word, const TCHAR* What, FString& OutFile) const
{
	TArray<FString> Names;
	Word.ParseIntoArray(Names, TEXT("/"), true);
	if (!FPaths::IsRelative(Word) || Word.StartsWith(TEXT("/")) || Word.StartsWith(TEXT("~")) ||
	    Names.Contains(TEXT("..")))
	{
		return Fail(FString::Printf(TEXT("'%s' is outside the viewer script's folder %s; files are named relative "
		                                 "to it, without '..' (--files-from DIR names another folder)"),
		                            *FFileChecks::Excerpt(Word), *BaseDirectory));
	}
	OutFile = FPaths::Combine(BaseDirectory, Word);
	if (!FFileChecks::CheckInput(OutFile, What, OutError))
	{
		return Fail(OutError);
	}
	if (!FFileChecks::LiesUnder(OutFile, BaseDirectory))
	{
		return Fail(FString::Printf(TEXT("%s leads outside the viewer script's folder %s (through a link)"), *OutFile,
		                            *BaseDirectory));
	}
	return true;
}

bool FViewerScriptLine::TakeName(FString& OutWord, const TCHAR* Missing)
{
	if (!TakeArgument(Rest, OutWord))
	{
		return FailUsage(TEXT("a quoted name is not closed with '\"'"));
	}
	return !OutWord.IsEmpty() || FailUsage(Missing);
}

bool FViewerScriptLine::TakeFile(FString& OutFile)
{
	FString Word;
	return TakeName(Word, TEXT("a file is missing")) && ResolveFile(Word, TEXT("file"), OutFile);
}

bool FViewerScriptLine::TakeUrl()
{
	if (!TakeName(Step.Text, TEXT("the lesson's URL or media file is missing")))
	{
		return false;
	}
	return Step.Text.Contains(TEXT("://")) || ResolveFile(FString(Step.Text), TEXT("media file"), Step.Text);
}

bool FViewerScriptLine::TakeLessonComments()
{
	Rest = Rest.TrimStart();
	if (Rest == TEXT("-") || Rest.StartsWith(TEXT("- ")) || Rest.StartsWith(TEXT("-\t")))
	{
		TakeWord(Rest);
		return true;
	}
	return TakeFile(Step.File);
}

bool FViewerScriptLine::TakeTarget()
{
	const FString Word = TakeWord(Rest);
	if (Word.IsEmpty() || !ParseTarget(Word, Step.Target))
	{
		return FailUsage(FString::Printf(TEXT("'%s' is no target (a widget name such as ScreenButton, "
		                                      "Owner/Child such as DanmakuBar/InputDanmakuText, or X,Y)"),
		                                 *FFileChecks::Excerpt(Word)));
	}
	return true;
}

bool FViewerScriptLine::TakeFractions()
{
	const FString From = TakeWord(Rest);
	const FString To = TakeWord(Rest);
	if (!FOptionValues::ParseNumber(From, Step.From) || !FOptionValues::ParseNumber(To, Step.To) || Step.From < 0.0 ||
	    Step.From > 1.0 || Step.To < 0.0 || Step.To > 1.0)
	{
		return FailUsage(TEXT("FROM and TO are fractions from 0 to 1"));
	}
	return true;
}

bool FViewerScriptLine::TakeText(const TCHAR* Missing)
{
	Step.Text = Rest;
	Rest.Empty();
	return !Step.Text.IsEmpty() || FailUsage(Missing);
}

bool FViewerScriptLine::TakeCount()
{
	const FString Word = TakeWord(Rest);
	int64 Count = 1;
	if (!Word.IsEmpty() && !FOptionValues::ParseWhole(Word, 1, 1000, Count))
	{
		return FailUsage(FString::Printf(TEXT("'%s' is no count from 1 to 1000"), *FFileChecks::Excerpt(Word)));
	}
	Step.Count = int32(Count);
	return true;
}

bool FViewerScriptLine::TakeSnapshotName()
{
	Step.Text = TakeWord(Rest);
	for (TCHAR C : Step.Text)
	{
		if (!IsWordCharacter(C) && C != u'_' && C != u'-' && C != u'.')
		{
			return FailUsage(TEXT("a snapshot name has letters, digits, '-', '_' and '.' only"));
		}
	}
	return true;
}
