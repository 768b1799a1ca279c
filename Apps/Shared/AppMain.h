#pragma once

#include "CoreMinimal.h"
#include "AppConsole.h"
#include "FileChecks.h"
#include "Modules/ModuleManager.h"

#include <cstdio>
#include <initializer_list>

// The start the headless programs share: the arguments parsed into options (a bad one is an error and exit code
// 2), the usage on --help, the modules loaded, then the run made and run for its exit code.
template <typename OptionsType, typename RunType>
int32 RunApp(const TCHAR* Program, int ArgumentCount, char** Arguments, std::initializer_list<const TCHAR*> Modules)
{
	FAppConsole::SetProgramName(Program);
	TArray<FString> Parsed;
	for (int32 Index = 1; Index < ArgumentCount; ++Index)
	{
		if (!FFileChecks::IsUtf8(Arguments[Index]))
		{
			FAppConsole::Error(
			    FString::Printf(TEXT("argument %d is not valid UTF-8; names and values must be UTF-8"), Index));
			return 2;
		}
		Parsed.Add(FString(Arguments[Index]));
	}
	OptionsType Options;
	FString Error;
	if (!Options.Parse(Parsed, Error))
	{
		FAppConsole::Error(Error);
		return 2;
	}
	if (Options.bHelp)
	{
		std::printf("%s", TCHAR_TO_UTF8(*OptionsType::Usage()));
		return 0;
	}
	for (const TCHAR* Module : Modules)
	{
		FModuleManager::Get().LoadModule(Module);
	}
	RunType ProgramRun(Options);
	return ProgramRun.Run();
}
