#pragma once

#include "CoreMinimal.h"
#include "Headless/Utf8String.h"
#include "Misc/FileHelper.h"
#include "Misc/OutputDevice.h"
#include "Misc/Paths.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include <unistd.h>

// The fuzz input as text, decoded the way text files are.
inline FString FuzzText(const uint8_t* Data, size_t Size)
{
	FString Text;
	FFileHelper::BufferToString(Text, Data, int32(Size));
	return Text;
}

// Log lines are expected by the thousand; printing them would slow every run.
inline void SilenceLog()
{
	GLog->SetStandardErrorEnabled(false);
}

// A project folder of its own under the temporary folder, with the repository's widget and media assets, so that
// fuzzed assets can name them as parents, children or classes. Removed when the process ends.
class FFuzzProject
{
public:
	FFuzzProject() : Root(std::filesystem::temp_directory_path() / ("PravellaFuzz-" + std::to_string(getpid())))
	{
		namespace fs = std::filesystem;
		fs::remove_all(Root);
		const fs::path Content = fs::path(PRAVELLA_PROJECT_DIR) / "Content";
		for (const char* Folder : {"UI", "Media", "Test"})
		{
			fs::create_directories(Root / "Content" / Folder);
			fs::copy(Content / Folder, Root / "Content" / Folder, fs::copy_options::recursive);
		}
		fs::create_directories(Root / "Content/Fuzz");
		FPaths::SetProjectDir(FromUtf8(Root.generic_string() + "/"));
		FPaths::SetProjectSavedDir(FromUtf8((Root / "Saved").generic_string()));
	}
	~FFuzzProject() { std::filesystem::remove_all(Root); }

	// Writes the bytes as Content/Fuzz/<Name>.uasset and returns its "/Game/Fuzz/<Name>" path.
	FString WriteAsset(const FString& Name, const uint8_t* Data, size_t Size) const
	{
		TArray<uint8> Bytes(Data, int32(Size));
		FFileHelper::SaveArrayToFile(Bytes, *FromUtf8((Root / "Content/Fuzz" / (ToUtf8(Name) + ".uasset")).string()));
		return TEXT("/Game/Fuzz/") + Name;
	}

	std::filesystem::path Root;
};
