#include "CoreMinimal.h"
#include "AppConsole.h"
#include "LessonPlayerOptions.h"
#include "LessonPlayerSession.h"
#include "Modules/ModuleManager.h"

#include <cstdio>

int main(int ArgumentCount, char** Arguments)
{
	FAppConsole::SetProgramName(TEXT("LessonPlayer"));
	TArray<FString> Parsed;
	for (int32 Index = 1; Index < ArgumentCount; ++Index)
	{
		Parsed.Add(FString(Arguments[Index]));
	}
	FLessonPlayerOptions Options;
	FString Error;
	if (!Options.Parse(Parsed, Error))
	{
		FAppConsole::Error(Error);
		return 2;
	}
	if (Options.bHelp)
	{
		std::printf("%s", TCHAR_TO_UTF8(*FLessonPlayerOptions::Usage()));
		return 0;
	}
	FModuleManager::Get().LoadModule(TEXT("Skorvane"));
	FModuleManager::Get().LoadModule(TEXT("Pravella"));
	FLessonPlayerSession Session(Options);
	return Session.Run();
}
