#pragma once

#include "HAL/Platform.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"

class FArchive;

// The file system, as the engine's file manager offers it. Paths are UTF-8 encoded for the operating system.
class CORE_API IFileManager
{
public:
	static IFileManager& Get();

	bool FileExists(const TCHAR* Filename) const;
	bool DirectoryExists(const TCHAR* Directory) const;
	// With bTree the missing parents are made too; true when the directory exists afterwards.
	bool MakeDirectory(const TCHAR* Path, bool bTree = false) const;
	// Deletes a file; true when it is gone afterwards (or, with bRequireExists, only when it was there).
	bool Delete(const TCHAR* Filename, bool bRequireExists = false, bool bEvenReadOnly = false,
	            bool bQuiet = false) const;
	// Deletes a directory, with bTree its contents too; an empty directory otherwise.
	bool DeleteDirectory(const TCHAR* Path, bool bRequireExists = false, bool bTree = false) const;
	// Renames Source to Dest, replacing Dest when bReplace; makes Dest's folder first. True on success.
	bool Move(const TCHAR* Dest, const TCHAR* Source, bool bReplace = true, bool bEvenIfReadOnly = false,
	          bool bAttributes = false, bool bDoNotRetryOrError = false) const;
	// An archive reading the file from its start, which the caller deletes; null when it cannot be opened for
	// reading (also a folder). ReadFlags are accepted and ignored.
	FArchive* CreateFileReader(const TCHAR* Filename, uint32 ReadFlags = 0) const;
	// Size in bytes, -1 when the file does not exist.
	int64 FileSize(const TCHAR* Filename) const;
	// Names (without folder) of the files directly in Directory whose extension matches Extension ("ext",
	// ".ext" or "*.ext"); null, empty, "*" or "*.*" match every file. Sorted by name. Appends to FileNames.
	void FindFiles(TArray<FString>& FileNames, const TCHAR* Directory, const TCHAR* Extension) const;
	// Full paths of the files (and/or directories) below StartDirectory whose names match the wildcard
	// ('*' and '?', letter case ignored; "*.*" matches everything). Each folder's own entries come first, by
	// name, then its subfolders in name order.
	void FindFilesRecursive(TArray<FString>& FileNames, const TCHAR* StartDirectory, const TCHAR* Filename, bool bFiles,
	                        bool bDirectories, bool bClearFileNames = true) const;
};
