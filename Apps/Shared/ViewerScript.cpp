#include "ViewerScript.h"

#include "ViewerScriptLine.h"

#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "FileChecks.h"
#include "OptionValues.h"

FString FViewerScript::Where(const FViewerStep& Step) const
{
	return FString::Printf(TEXT("%s:%d"), *Path, Step.Line);
}

bool FViewerScript::Load(const FString& InPath, FString& OutError)
{
	Path = InPath;
	FString Text;
	if (!FFileChecks::CheckInput(Path, TEXT("viewer script"), OutError))
	{
		return false;
	}
	if (!FFileHelper::LoadFileToString(Text, *Path))
	{
		OutError = FString::Printf(TEXT("cannot read the viewer script %s"), *Path);
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
		FViewerScriptLine Line(*this, Step, Rest, BaseDirectory, OutError);
		if (!Line.ReadTime(Steps.IsEmpty() ? nullptr : &Steps.Last()) || !Line.ReadAction() || !Line.ReadArguments())
		{
			return false;
		}
		Steps.Add(MoveTemp(Step));
	}
	if (Steps.IsEmpty())
	{
		OutError = FString::Printf(TEXT("%s: the viewer script has no actions"), *Path);
		return false;
	}
	return true;
}
