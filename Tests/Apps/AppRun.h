#pragma once

#include "CoreMinimal.h"
#include "Headless/Utf8String.h"
#include "Dom/JsonObject.h"
#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

struct FRunResult
{
	int32 ExitCode = -1;
	FString Output;
	FString Errors;
};

// Runs a headless program as a user would, in a fresh folder, and keeps what it printed.
class FAppRun
{
public:
	explicit FAppRun(const TCHAR* InProgram) : Program(InProgram)
	{
		Folder = FromUtf8(
		    (std::filesystem::temp_directory_path() / ("pravella-app-" + std::to_string(std::random_device()())))
		        .string());
		IFileManager::Get().MakeDirectory(*Folder, true);
	}
	~FAppRun() { std::filesystem::remove_all(ToUtf8(Folder)); }

	FString Path(const TCHAR* Name) const { return FPaths::Combine(Folder, Name); }

	FRunResult Run(const FString& Arguments) const { return Run(*Program, Arguments); }
	// Runs another program in the same folder, as a user running one program on another's output would.
	FRunResult Run(const TCHAR* OtherProgram, const FString& Arguments) const
	{
		const FString Command = FString::Printf(TEXT("\"%s\" %s > \"%s\" 2> \"%s\""), OtherProgram, *Arguments,
		                                        *Path(TEXT("stdout.txt")), *Path(TEXT("stderr.txt")));
		FRunResult Result;
		const int Status = std::system(TCHAR_TO_UTF8(*Command));
		Result.ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
		FFileHelper::LoadFileToString(Result.Output, *Path(TEXT("stdout.txt")));
		FFileHelper::LoadFileToString(Result.Errors, *Path(TEXT("stderr.txt")));
		return Result;
	}

	FString Program;
	FString Folder;
};

// The trace's lines as JSON objects; an unreadable line fails the test.
inline TArray<TSharedPtr<FJsonObject>> ReadTrace(const FString& Path)
{
	FString Text;
	TArray<TSharedPtr<FJsonObject>> Events;
	if (!FFileHelper::LoadFileToString(Text, *Path))
	{
		return Events;
	}
	TArray<FString> Lines;
	Text.ParseIntoArray(Lines, TEXT("\n"), true);
	for (const FString& Line : Lines)
	{
		TSharedPtr<FJsonObject> Event;
		if (FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Line), Event) && Event.IsValid())
		{
			Events.Add(Event);
		}
		else
		{
			ADD_FAILURE() << "unreadable trace line: " << TCHAR_TO_UTF8(*Line);
		}
	}
	return Events;
}
