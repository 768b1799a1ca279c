#include "CoreMinimal.h"
#include "AppConsole.h"
#include "Modules/ModuleManager.h"
#include "PreviewOptions.h"
#include "PreviewSession.h"

#include <cstdio>

int main(int ArgumentCount, char** Arguments)
{
	FAppConsole::SetProgramName(TEXT("DanmakuPreview"));
	TArray<FString> Parsed;
	for (int32 Index = 1; Index < ArgumentCount; ++Index)
	{
		Parsed.Add(FString(Arguments[Index]));
	}
	FPreviewOptions Options;
	FString Error;
	if (!Options.Parse(Parsed, Error))
	{
		FAppConsole::Error(Error);
		return 2;
	}
	if (Options.bHelp)
	{
		std::printf("%s", TCHAR_TO_UTF8(*FPreviewOptions::Usage()));
		return 0;
	}
	FModuleManager::Get().LoadModule(TEXT("Skorvane"));
	FPreviewSession Session(Options);
	return Session.Run();
}
