#pragma once

#include "Containers/UnrealString.h"
#include "Headless/Utf8String.h"

#include <filesystem>
#include <string>

#include <unistd.h>

// A fresh folder under the system's temporary folder, removed again when the test ends.
class FFileTestDirectory
{
public:
	explicit FFileTestDirectory(const char* Name)
	    : Root(std::filesystem::temp_directory_path() /
	           ("EngineSurfaceTests-" + std::string(Name) + "-" + std::to_string(getpid())))
	{
		std::filesystem::remove_all(Root);
		std::filesystem::create_directories(Root);
	}
	~FFileTestDirectory() { std::filesystem::remove_all(Root); }

	// The folder joined with a relative path, as an FString.
	FString operator/(const char* Relative) const { return FromUtf8((Root / Relative).generic_string()); }
	FString Path() const { return FromUtf8(Root.generic_string()); }

private:
	std::filesystem::path Root;
};
