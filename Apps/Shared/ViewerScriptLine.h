#pragma once

#include "CoreMinimal.h"
#include "ViewerScript.h"

// Reads one line of a viewer script into its step, word by word; each part says what is wrong through Fail.
class FViewerScriptLine
{
public:
	FViewerScriptLine(const FViewerScript& InScript, FViewerStep& InStep, FString& InRest,
	                  const FString& InBaseDirectory, FString& InOutError);

	// Each reads its part of the line in turn; false with "FILE:LINE: what is wrong".
	// The time, at most a day and not before that of the line above (Previous, null for the first line).
	bool ReadTime(const FViewerStep* Previous);
	bool ReadAction();
	// The action's words, and nothing after them.
	bool ReadArguments();

private:
	bool ReadArgumentsOfAction();

	bool Fail(const FString& Message) const;
	bool FailUsage(const FString& Problem) const;

	// A file named in the script is taken from the script's folder (or the one given instead) and must stay inside
	// it, so that a script someone hands over cannot read any other file of the machine.
	bool ResolveFile(const FString& Word, const TCHAR* What, FString& OutFile) const;

	bool TakeName(FString& OutWord, const TCHAR* Missing);
	bool TakeFile(FString& OutFile);
	bool TakeUrl();
	// A lesson's comments file, or '-' for none.
	bool TakeLessonComments();

	bool TakeTarget();
	bool TakeFractions();
	// The rest of the line as it is written.
	bool TakeText(const TCHAR* Missing);

	bool TakeCount();
	bool TakeSnapshotName();

	const FViewerScript& Script;
	FViewerStep& Step;
	FString& Rest;
	const FString& BaseDirectory;
	FString& OutError;
	// How the action is written, for messages about its words.
	const TCHAR* Usage = nullptr;
};
