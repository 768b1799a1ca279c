#pragma once

#include "Containers/UnrealString.h"
#include "Misc/Paths.h"

#include <filesystem>
#include <string>

#include <unistd.h>

// Points the saved-games folder at a fresh temporary folder for one test, and back when it ends.
class FTemporarySavedDir
{
public:
	explicit FTemporarySavedDir(const char* Name)
	    : Root(std::filesystem::temp_directory_path() /
	           ("SaveTest-" + std::string(Name) + "-" + std::to_string(getpid())))
	{
		std::filesystem::remove_all(Root);
		std::filesystem::create_directories(Root);
		Previous = FPaths::ProjectSavedDir();
		FPaths::SetProjectSavedDir(FString(Root.generic_string().c_str()));
	}
	~FTemporarySavedDir()
	{
		FPaths::SetProjectSavedDir(Previous);
		std::filesystem::remove_all(Root);
	}

	std::filesystem::path Root;

private:
	FString Previous;
};
