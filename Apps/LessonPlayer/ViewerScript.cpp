#include "ViewerScript.h"

#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"
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
} // namespace

FString FViewerTarget::Describe() const
{
	return bIsPosition ? FString::Printf(TEXT("%g,%g"), Position.X, Position.Y) : WidgetPath;
}

FString FViewerScript::Where(const FViewerStep& Step) const
{
	return FString::Printf(TEXT("%s:%d"), *Path, Step.Line);
}

bool FViewerScript::Load(const FString& InPath, FString& OutError)
{
	Path = InPath;
	FString Text;
	if (!IFileManager::Get().FileExists(*Path) || !FFileHelper::LoadFileToString(Text, *Path))
	{
		OutError = FString::Printf(TEXT("viewer session not found: %s"), *Path);
		return false;
	}
	return Parse(Text, FPaths::GetPath(FPaths::ConvertRelativePathToFull(Path)), OutError);
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
			return Fail(
			    FString::Printf(TEXT("a line starts with its time in seconds (12.5 or 1:02.5), not '%s'"), *Time));
		}
		if (Step.Seconds < LastSeconds)
		{
			return Fail(FString::Printf(TEXT("time %s is before the line above (%g s); lines run in order"), *Time,
			                            LastSeconds));
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
			return Fail(
			    FString::Printf(TEXT("unknown action '%s' (known: %s)"), *Name, *FString::Join(Known, TEXT(", "))));
		}
		Step.Action = Found->Action;
		const auto Usage = [&Fail, Found](const FString& Problem)
		{ return Fail(FString::Printf(TEXT("%s; write: %s"), *Problem, Found->Usage)); };
		// A file named in the script is taken from the script's folder.
		const auto ResolveFile = [&BaseDirectory](const FString& File)
		{ return FPaths::IsRelative(File) ? FPaths::Combine(BaseDirectory, File) : File; };
		const auto TakeFile = [&](FString& OutFile)
		{
			const FString Word = TakeWord(Rest);
			if (Word.IsEmpty())
			{
				return Usage(TEXT("a file is missing"));
			}
			OutFile = ResolveFile(Word);
			if (!IFileManager::Get().FileExists(*OutFile))
			{
				return Fail(FString::Printf(TEXT("file not found: %s"), *OutFile));
			}
			return true;
		};
		const auto TakeUrl = [&]
		{
			Step.Text = TakeWord(Rest);
			if (Step.Text.IsEmpty())
			{
				return Usage(TEXT("the lesson's URL or media file is missing"));
			}
			if (!Step.Text.Contains(TEXT("://")))
			{
				Step.Text = ResolveFile(Step.Text);
				if (!IFileManager::Get().FileExists(*Step.Text))
				{
					return Fail(FString::Printf(TEXT("media file not found: %s"), *Step.Text));
				}
			}
			return true;
		};
		const auto TakeTarget = [&]
		{
			const FString Word = TakeWord(Rest);
			if (Word.IsEmpty() || !ParseTarget(Word, Step.Target))
			{
				return Usage(FString::Printf(TEXT("'%s' is no target (a widget name such as ScreenButton, "
				                                  "Owner/Child such as DanmakuBar/InputDanmakuText, or X,Y)"),
				                             *Word));
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
					const FString Word = TakeWord(Rest);
					if (Word != TEXT("-"))
					{
						Rest = Word + TEXT(" ") + Rest;
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
					bRead = Usage(FString::Printf(TEXT("'%s' is no count from 1 to 1000"), *Word));
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
			return Usage(FString::Printf(TEXT("unexpected '%s' at the end"), *Rest));
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
