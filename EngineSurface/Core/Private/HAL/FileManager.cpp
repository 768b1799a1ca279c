#include "HAL/FileManager.h"
#include "ArchiveFileReader.h"
#include "Headless/Utf8String.h"

#include "Misc/Paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace
{
fs::path ToPath(const TCHAR* Path)
{
	return fs::path(ToUtf8(FString(Path)));
}

FString FromPath(const fs::path& Path)
{
	return FromUtf8(Path.generic_string());
}

bool MatchesWildcard(const FString& Name, int32 NameIndex, const FString& Pattern, int32 PatternIndex)
{
	while (PatternIndex < Pattern.Len())
	{
		const TCHAR P = Pattern[PatternIndex];
		if (P == u'*')
		{
			for (int32 Skip = NameIndex; Skip <= Name.Len(); ++Skip)
			{
				if (MatchesWildcard(Name, Skip, Pattern, PatternIndex + 1))
				{
					return true;
				}
			}
			return false;
		}
		if (NameIndex >= Name.Len() || (P != u'?' && TChar::ToLower(P) != TChar::ToLower(Name[NameIndex])))
		{
			return false;
		}
		++PatternIndex;
		++NameIndex;
	}
	return NameIndex == Name.Len();
}

bool MatchesWildcard(const FString& Name, const FString& Pattern)
{
	return Pattern.IsEmpty() || Pattern == TEXT("*.*") || MatchesWildcard(Name, 0, Pattern, 0);
}

// The entries of one directory, split into files and subdirectories, each sorted by name.
void ListDirectory(const fs::path& Directory, std::vector<fs::path>& OutFiles, std::vector<fs::path>& OutDirectories)
{
	std::error_code Error;
	for (fs::directory_iterator It(Directory, Error), End; !Error && It != End; It.increment(Error))
	{
		std::error_code TypeError;
		if (It->is_directory(TypeError))
		{
			OutDirectories.push_back(It->path());
		}
		else if (It->is_regular_file(TypeError))
		{
			OutFiles.push_back(It->path());
		}
	}
	std::sort(OutFiles.begin(), OutFiles.end());
	std::sort(OutDirectories.begin(), OutDirectories.end());
}

void FindRecursive(TArray<FString>& FileNames, const fs::path& Directory, const FString& Pattern, bool bFiles,
                   bool bDirectories)
{
	std::vector<fs::path> Files;
	std::vector<fs::path> Directories;
	ListDirectory(Directory, Files, Directories);
	if (bFiles)
	{
		for (const fs::path& File : Files)
		{
			if (MatchesWildcard(FromUtf8(File.filename().string()), Pattern))
			{
				FileNames.Add(FromPath(File));
			}
		}
	}
	if (bDirectories)
	{
		for (const fs::path& Child : Directories)
		{
			if (MatchesWildcard(FromUtf8(Child.filename().string()), Pattern))
			{
				FileNames.Add(FromPath(Child));
			}
		}
	}
	for (const fs::path& Child : Directories)
	{
		FindRecursive(FileNames, Child, Pattern, bFiles, bDirectories);
	}
}
} // namespace

IFileManager& IFileManager::Get()
{
	static IFileManager Instance;
	return Instance;
}

bool IFileManager::FileExists(const TCHAR* Filename) const
{
	return FPaths::FileExists(FString(Filename));
}

bool IFileManager::DirectoryExists(const TCHAR* Directory) const
{
	return FPaths::DirectoryExists(FString(Directory));
}

bool IFileManager::MakeDirectory(const TCHAR* Path, bool bTree) const
{
	const fs::path Target = ToPath(Path);
	std::error_code Error;
	if (Target.empty())
	{
		return false;
	}
	if (bTree)
	{
		fs::create_directories(Target, Error);
	}
	else
	{
		fs::create_directory(Target, Error);
	}
	return fs::is_directory(Target, Error);
}

bool IFileManager::Delete(const TCHAR* Filename, bool bRequireExists, bool bEvenReadOnly, bool bQuiet) const
{
	const fs::path Target = ToPath(Filename);
	std::error_code Error;
	if (!fs::is_regular_file(Target, Error))
	{
		return !bRequireExists && !fs::exists(Target, Error);
	}
	return fs::remove(Target, Error);
}

bool IFileManager::DeleteDirectory(const TCHAR* Path, bool bRequireExists, bool bTree) const
{
	const fs::path Target = ToPath(Path);
	std::error_code Error;
	if (!fs::is_directory(Target, Error))
	{
		return !bRequireExists && !fs::exists(Target, Error);
	}
	if (bTree)
	{
		fs::remove_all(Target, Error);
	}
	else
	{
		fs::remove(Target, Error);
	}
	return !fs::exists(Target, Error);
}

bool IFileManager::Move(const TCHAR* Dest, const TCHAR* Source, bool bReplace, bool bEvenIfReadOnly, bool bAttributes,
                        bool bDoNotRetryOrError) const
{
	const fs::path To = ToPath(Dest);
	const fs::path From = ToPath(Source);
	std::error_code Error;
	if (!fs::exists(From, Error) || (!bReplace && fs::exists(To, Error)))
	{
		return false;
	}
	if (To.has_parent_path())
	{
		fs::create_directories(To.parent_path(), Error);
	}
	Error.clear();
	// rename replaces an existing file atomically, which the save-game writer relies on.
	fs::rename(From, To, Error);
	return !Error;
}

FArchive* IFileManager::CreateFileReader(const TCHAR* Filename, uint32 ReadFlags) const
{
	std::error_code Error;
	const fs::path Path = ToPath(Filename);
	if (fs::is_directory(Path, Error))
	{
		return nullptr;
	}
	std::FILE* File = std::fopen(Path.c_str(), "rb");
	if (!File)
	{
		return nullptr;
	}
	// The size of what can be read: a file that is not a regular one reports none and reads as empty.
	const uintmax_t Size = fs::is_regular_file(Path, Error) ? fs::file_size(Path, Error) : 0;
	return new FArchiveFileReader(File, Error ? 0 : int64(Size));
}

int64 IFileManager::FileSize(const TCHAR* Filename) const
{
	std::error_code Error;
	const uintmax_t Size = fs::file_size(ToPath(Filename), Error);
	return Error ? -1 : int64(Size);
}

void IFileManager::FindFiles(TArray<FString>& FileNames, const TCHAR* Directory, const TCHAR* Extension) const
{
	FString Wanted(Extension);
	Wanted.RemoveFromStart(TEXT("*"));
	Wanted.RemoveFromStart(TEXT("."));
	const bool bAll = Wanted.IsEmpty() || Wanted == TEXT("*");
	std::vector<fs::path> Files;
	std::vector<fs::path> Directories;
	ListDirectory(ToPath(Directory), Files, Directories);
	for (const fs::path& File : Files)
	{
		const FString Name = FromUtf8(File.filename().string());
		if (bAll || FPaths::GetExtension(Name) == Wanted)
		{
			FileNames.Add(Name);
		}
	}
}

void IFileManager::FindFilesRecursive(TArray<FString>& FileNames, const TCHAR* StartDirectory, const TCHAR* Filename,
                                      bool bFiles, bool bDirectories, bool bClearFileNames) const
{
	if (bClearFileNames)
	{
		FileNames.Reset();
	}
	FString Start(StartDirectory);
	FPaths::NormalizeDirectoryName(Start);
	FindRecursive(FileNames, ToPath(*Start), FString(Filename), bFiles, bDirectories);
}
