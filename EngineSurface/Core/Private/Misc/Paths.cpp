#include "Misc/Paths.h"
#include "Headless/Utf8String.h"

#include <filesystem>
#include <system_error>

namespace
{
FString WithTrailingSlash(FString Directory)
{
	FPaths::NormalizeFilename(Directory);
	if (!Directory.IsEmpty() && !Directory.EndsWith(TEXT("/")))
	{
		Directory += TEXT("/");
	}
	return Directory;
}

FString DefaultProjectDir()
{
#ifdef PRAVELLA_PROJECT_DIR
	return FString(PRAVELLA_PROJECT_DIR);
#else
	std::error_code Error;
	return FromUtf8(std::filesystem::current_path(Error).string());
#endif
}

FString& ProjectDirStorage()
{
	static FString Directory = WithTrailingSlash(FPaths::ConvertRelativePathToFull(DefaultProjectDir()));
	return Directory;
}

FString& SavedDirOverride()
{
	static FString Directory;
	return Directory;
}

bool IsSeparator(TCHAR C)
{
	return C == u'/' || C == u'\\';
}

int32 LastSeparator(const FString& Path)
{
	for (int32 Index = Path.Len() - 1; Index >= 0; --Index)
	{
		if (IsSeparator(Path[Index]))
		{
			return Index;
		}
	}
	return INDEX_NONE;
}
} // namespace

void FPaths::SetProjectDir(const FString& Directory)
{
	ProjectDirStorage() = WithTrailingSlash(ConvertRelativePathToFull(Directory));
}

FString FPaths::ProjectDir()
{
	return ProjectDirStorage();
}

FString FPaths::ProjectContentDir()
{
	return ProjectDir() + TEXT("Content/");
}

FString FPaths::ProjectSavedDir()
{
	return SavedDirOverride().IsEmpty() ? ProjectDir() + TEXT("Saved/") : SavedDirOverride();
}

void FPaths::SetProjectSavedDir(const FString& Directory)
{
	SavedDirOverride() = Directory.IsEmpty() ? FString() : WithTrailingSlash(ConvertRelativePathToFull(Directory));
}

bool FPaths::FileExists(const FString& Path)
{
	std::error_code Error;
	return !Path.IsEmpty() && std::filesystem::is_regular_file(ToUtf8(Path), Error);
}

bool FPaths::DirectoryExists(const FString& Path)
{
	std::error_code Error;
	return !Path.IsEmpty() && std::filesystem::is_directory(ToUtf8(Path), Error);
}

FString FPaths::GetExtension(const FString& Path, bool bIncludeDot)
{
	const FString Filename = GetCleanFilename(Path);
	int32 Dot = INDEX_NONE;
	if (!Filename.FindLastChar(u'.', Dot))
	{
		return FString();
	}
	return Filename.Mid(bIncludeDot ? Dot : Dot + 1);
}

FString FPaths::GetCleanFilename(const FString& Path)
{
	return Path.Mid(LastSeparator(Path) + 1);
}

FString FPaths::GetBaseFilename(const FString& Path, bool bRemovePath)
{
	const FString Filename = bRemovePath ? GetCleanFilename(Path) : Path;
	int32 Dot = INDEX_NONE;
	// Only a dot after the last separator starts an extension.
	if (!Filename.FindLastChar(u'.', Dot) || Dot < LastSeparator(Filename))
	{
		return Filename;
	}
	return Filename.Left(Dot);
}

FString FPaths::GetPath(const FString& Path)
{
	const int32 Separator = LastSeparator(Path);
	return Separator == INDEX_NONE ? FString() : Path.Left(Separator);
}

bool FPaths::IsRelative(const FString& Path)
{
	const bool bRooted = !Path.IsEmpty() && IsSeparator(Path[0]);
	const bool bDrive = Path.Len() >= 2 && TChar::IsAlpha(Path[0]) && Path[1] == u':';
	return !bRooted && !bDrive;
}

void FPaths::NormalizeFilename(FString& Path)
{
	Path = Path.Replace(TEXT("\\"), TEXT("/"));
}

void FPaths::NormalizeDirectoryName(FString& Path)
{
	NormalizeFilename(Path);
	while (Path.Len() > 1 && Path.EndsWith(TEXT("/")))
	{
		Path.RemoveAt(Path.Len() - 1);
	}
}

bool FPaths::CollapseRelativeDirectories(FString& Path)
{
	FString Normal = Path;
	NormalizeFilename(Normal);
	const bool bRooted = Normal.StartsWith(TEXT("/"));
	const bool bTrailing = Normal.EndsWith(TEXT("/"));
	TArray<FString> Parts;
	Normal.ParseIntoArray(Parts, TEXT("/"), true);
	TArray<FString> Kept;
	for (const FString& Part : Parts)
	{
		if (Part == TEXT("."))
		{
			continue;
		}
		if (Part == TEXT(".."))
		{
			if (Kept.Num() == 0 || (Kept.Num() == 1 && Kept[0].EndsWith(TEXT(":"))))
			{
				return false;
			}
			Kept.RemoveAt(Kept.Num() - 1);
			continue;
		}
		Kept.Add(Part);
	}
	FString Result = FString::Join(Kept, TEXT("/"));
	if (bRooted)
	{
		Result = TEXT("/") + Result;
	}
	if (bTrailing && !Kept.IsEmpty())
	{
		Result += TEXT("/");
	}
	Path = Result;
	return true;
}

FString FPaths::ConvertRelativePathToFull(const FString& Path)
{
	std::error_code Error;
	return ConvertRelativePathToFull(FromUtf8(std::filesystem::current_path(Error).string()), Path);
}

FString FPaths::ConvertRelativePathToFull(const FString& BasePath, const FString& Path)
{
	FString Full = IsRelative(Path) ? Combine(BasePath, Path) : Path;
	NormalizeFilename(Full);
	// A path that climbs above the root stays as it was, only normalised.
	CollapseRelativeDirectories(Full);
	return Full;
}
