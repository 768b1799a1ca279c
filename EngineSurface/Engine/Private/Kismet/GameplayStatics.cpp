#include "Kismet/GameplayStatics.h"
#include "Headless/Utf8String.h"

#include "GameFramework/SaveGame.h"
#include "GameFramework/SaveGameFile.h"
#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

DEFINE_LOG_CATEGORY_STATIC(LogSaveGame, Log, All)

namespace
{
bool IsPlainFileName(const FString& Name)
{
	if (Name.IsEmpty() || Name == TEXT(".") || Name == TEXT(".."))
	{
		return false;
	}
	for (TCHAR C : Name)
	{
		if (C < 0x20 || C == u'/' || C == u'\\' || C == u':')
		{
			return false;
		}
	}
	return true;
}

// False, with a warning, for slot names that are not plain file names.
bool GetSlotPath(const FString& SlotName, int32 UserIndex, FString& OutPath)
{
	if (!IsPlainFileName(SlotName))
	{
		UE_LOG(LogSaveGame, Warning, TEXT("Refused save slot name \"%s\": it must be a plain file name"), *SlotName);
		return false;
	}
	FString Folder = FPaths::ProjectSavedDir() / TEXT("SaveGames");
	if (UserIndex != 0)
	{
		Folder /= FString::FromInt(UserIndex);
	}
	OutPath = Folder / (SlotName + TEXT(".sav"));
	return true;
}

bool WriteAll(int File, const std::string& Bytes)
{
	size_t Written = 0;
	while (Written < Bytes.size())
	{
		const ssize_t Result = ::write(File, Bytes.data() + Written, Bytes.size() - Written);
		if (Result < 0 && errno == EINTR)
		{
			continue;
		}
		if (Result <= 0)
		{
			return false;
		}
		Written += size_t(Result);
	}
	return true;
}

// True when the file reads back and loads as a save game; false, with the reason, when it would not load.
bool LoadsBack(const std::string& File, FString& OutError)
{
	FString Text;
	if (!FFileHelper::LoadFileToString(Text, *FromUtf8(File)))
	{
		OutError = TEXT("it cannot be read back");
		return false;
	}
	USaveGame* Loaded = FSaveGameFile::Read(Text, OutError);
	if (!Loaded)
	{
		return false;
	}
	Loaded->MarkAsGarbage();
	return true;
}

bool SyncFolder(const std::string& Folder)
{
	const int Directory = ::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
	if (Directory < 0)
	{
		return false;
	}
	const bool bSynced = ::fsync(Directory) == 0;
	::close(Directory);
	return bSynced;
}

// Writes a temporary file beside Path, reads it back as a load would, and only then renames it over Path, so
// that Path always holds either the old slot or a new one that loads, in full; the folder is synced so that the
// rename itself survives a crash.
bool WriteSaveFileAtomically(const FString& Path, const std::string& Bytes)
{
	IFileManager::Get().MakeDirectory(*FPaths::GetPath(Path), true);
	const std::string Target = ToUtf8(Path);
	const std::string Temporary = Target + ".tmp";
	const int File = ::open(Temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
	if (File < 0)
	{
		UE_LOG(LogSaveGame, Warning, TEXT("Cannot write %s: %s"), *FromUtf8(Temporary),
		       *FromUtf8(std::strerror(errno)));
		return false;
	}
	const bool bWritten = WriteAll(File, Bytes) && ::fsync(File) == 0;
	const int WriteError = errno;
	const bool bClosed = ::close(File) == 0;
	FString Unloadable;
	if (bWritten && bClosed && !LoadsBack(Temporary, Unloadable))
	{
		UE_LOG(LogSaveGame, Warning, TEXT("Not saving %s: the written file would not load (%s)"), *Path, *Unloadable);
		::unlink(Temporary.c_str());
		return false;
	}
	if (!bWritten || !bClosed || ::rename(Temporary.c_str(), Target.c_str()) != 0)
	{
		UE_LOG(LogSaveGame, Warning, TEXT("Writing %s failed: %s"), *Path,
		       *FromUtf8(std::strerror(bWritten ? errno : WriteError)));
		::unlink(Temporary.c_str());
		return false;
	}
	if (!SyncFolder(ToUtf8(FPaths::GetPath(Path))))
	{
		UE_LOG(LogSaveGame, Warning, TEXT("Saved %s, but its folder could not be synced: %s"), *Path,
		       *FromUtf8(std::strerror(errno)));
		return false;
	}
	return true;
}
} // namespace

USaveGame* UGameplayStatics::CreateSaveGameObject(TSubclassOf<USaveGame> SaveGameClass)
{
	UClass* Class = SaveGameClass.Get();
	return Class ? NewObject<USaveGame>(nullptr, Class) : nullptr;
}

bool UGameplayStatics::SaveGameToSlot(USaveGame* SaveGameObject, const FString& SlotName, const int32 UserIndex)
{
	FString Path;
	if (!IsValid(SaveGameObject) || !GetSlotPath(SlotName, UserIndex, Path))
	{
		return false;
	}
	return WriteSaveFileAtomically(Path, ToUtf8(FSaveGameFile::Write(*SaveGameObject)));
}

USaveGame* UGameplayStatics::LoadGameFromSlot(const FString& SlotName, const int32 UserIndex)
{
	FString Path;
	if (!GetSlotPath(SlotName, UserIndex, Path))
	{
		return nullptr;
	}
	FString Text;
	if (!FFileHelper::LoadFileToString(Text, *Path))
	{
		UE_LOG(LogSaveGame, Warning, TEXT("No save game in slot %s (%s)"), *SlotName, *Path);
		return nullptr;
	}
	FString Error;
	USaveGame* SaveGame = FSaveGameFile::Read(Text, Error);
	if (!SaveGame)
	{
		UE_LOG(LogSaveGame, Warning, TEXT("Save game in slot %s is unreadable: %s"), *SlotName, *Error);
	}
	return SaveGame;
}

bool UGameplayStatics::DoesSaveGameExist(const FString& SlotName, const int32 UserIndex)
{
	FString Path;
	return IsPlainFileName(SlotName) && GetSlotPath(SlotName, UserIndex, Path) && FPaths::FileExists(Path);
}

bool UGameplayStatics::DeleteGameInSlot(const FString& SlotName, const int32 UserIndex)
{
	FString Path;
	return GetSlotPath(SlotName, UserIndex, Path) && IFileManager::Get().Delete(*Path, true);
}
