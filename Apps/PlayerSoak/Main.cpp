#include "CoreMinimal.h"
#include "Modules/ModuleManager.h"
#include "PlayerSoak.h"
#include "SoakOptions.h"

#include <cstdio>

int main(int ArgumentCount, char** Arguments)
{
	TArray<FString> Parsed;
	for (int32 Index = 1; Index < ArgumentCount; ++Index)
	{
		Parsed.Add(FString(Arguments[Index]));
	}
	FSoakOptions Options;
	FString Error;
	if (!Options.Parse(Parsed, Error))
	{
		std::fprintf(stderr, "PlayerSoak: %s\n%s", TCHAR_TO_UTF8(*Error), TCHAR_TO_UTF8(*FSoakOptions::Usage()));
		return 2;
	}
	if (Options.bHelp)
	{
		std::printf("%s", TCHAR_TO_UTF8(*FSoakOptions::Usage()));
		return 0;
	}
	GLog->SetStandardErrorEnabled(false);
	FModuleManager::Get().LoadModule(TEXT("Skorvane"));
	FModuleManager::Get().LoadModule(TEXT("Pravella"));
	FPlayerSoak Soak(Options);
	return Soak.Run();
}
