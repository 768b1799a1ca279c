#pragma once

#include "HAL/Platform.h"
#include "Containers/UnrealString.h"

// Path helpers. Paths use '/' separators; directory getters end in '/'.
class CORE_API FPaths
{
public:
	// The host says where the project lives; by default the folder the build was configured from.
	static void SetProjectDir(const FString& Directory);
	// Absolute, ending in '/'.
	static FString ProjectDir();
	// ProjectDir() + "Content/".
	static FString ProjectContentDir();
	// ProjectDir() + "Saved/" unless the host chose another folder with SetProjectSavedDir.
	static FString ProjectSavedDir();
	static void SetProjectSavedDir(const FString& Directory);

	static bool FileExists(const FString& Path);
	static bool DirectoryExists(const FString& Path);

	// The text after the last '.' of the file name, or empty when it has none.
	static FString GetExtension(const FString& Path, bool bIncludeDot = false);
	// The file name without its folder.
	static FString GetCleanFilename(const FString& Path);
	// The file name without folder and extension; with bRemovePath false the folder is kept.
	static FString GetBaseFilename(const FString& Path, bool bRemovePath = true);
	// The folder part without the trailing separator, empty when there is none.
	static FString GetPath(const FString& Path);

	static bool IsRelative(const FString& Path);
	// Backslashes become '/'.
	static void NormalizeFilename(FString& Path);
	// As NormalizeFilename, and a trailing '/' is removed (except for the root).
	static void NormalizeDirectoryName(FString& Path);
	// Removes "./" steps and folds each "folder/.." away; returns false, leaving Path unchanged, if a ".." would
	// climb above the start of the path.
	static bool CollapseRelativeDirectories(FString& Path);
	// A relative path is taken from the current working directory; the result is normalised and collapsed.
	static FString ConvertRelativePathToFull(const FString& Path);
	static FString ConvertRelativePathToFull(const FString& BasePath, const FString& Path);

	// Joins the parts with single '/' separators; empty parts are skipped.
	template <typename... PathTypes>
	static FString Combine(const PathTypes&... Paths)
	{
		FString Result;
		((Result /= FString(Paths)), ...);
		return Result;
	}
};
