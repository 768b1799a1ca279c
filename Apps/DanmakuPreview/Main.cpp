#include "CoreMinimal.h"
#include "Modules/ModuleManager.h"
#include "PreviewOptions.h"
#include "PreviewSession.h"

#include <cstdio>

int main(int ArgumentCount, char** Arguments)
{
	TArray<FString> Parsed;
	for (int32 Index = 1; Index < ArgumentCount; ++Index)
	{
		Parsed.Add(FString(Arguments[Index]));
	}
	FPreviewOptions Options;
	FString Error;
	if (!Options.Parse(Parsed, Error))
	{
		std::fprintf(stderr, "DanmakuPreview: %s\n", TCHAR_TO_UTF8(*Error));
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
