#include "Headless/AssetPaths.h"
#include "Headless/Utf8String.h"

#include "Dom/JsonObject.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

#include <cerrno>
#include <string>

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace
{
bool IsSafeStep(const FString& Step)
{
	if (Step.IsEmpty() || Step == TEXT(".") || Step == TEXT(".."))
	{
		return false;
	}
	for (TCHAR C : Step)
	{
		if (C < 0x20 || C == u'\\' || C == u':')
		{
			return false;
		}
	}
	return true;
}

// "UI/WBP_X.uasset" for "/Game/UI/WBP_X.WBP_X_C"; false for paths that are not plain steps under /Game/.
bool GetRelativeFile(const FString& GamePath, FString& OutRelative)
{
	FString Relative = GamePath;
	if (!Relative.RemoveFromStart(TEXT("/Game/"), ESearchCase::CaseSensitive))
	{
		return false;
	}
	// The object name after the last step's '.' is not part of the file.
	const int32 LastSlash = Relative.Find(TEXT("/"), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	const int32 Dot = Relative.Find(TEXT("."), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	if (Dot != INDEX_NONE && Dot > LastSlash)
	{
		Relative = Relative.Left(Dot);
	}
	TArray<FString> Steps;
	Relative.ParseIntoArray(Steps, TEXT("/"), false);
	if (Steps.IsEmpty())
	{
		return false;
	}
	for (const FString& Step : Steps)
	{
		if (!IsSafeStep(Step))
		{
			return false;
		}
	}
	OutRelative = Relative + TEXT(".uasset");
	return true;
}

// Walks the steps one by one without following any link: the fallback where openat2 is not offered.
int OpenWithoutLinks(int Folder, const std::string& Relative, int Flags)
{
	int Current = ::dup(Folder);
	size_t Start = 0;
	while (Current >= 0)
	{
		const size_t Slash = Relative.find('/', Start);
		const bool bLast = Slash == std::string::npos;
		const std::string Step = Relative.substr(Start, bLast ? std::string::npos : Slash - Start);
		const int Next =
		    ::openat(Current, Step.c_str(), bLast ? Flags | O_NOFOLLOW : O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
		::close(Current);
		if (bLast)
		{
			return Next;
		}
		Current = Next;
		Start = Slash + 1;
	}
	return -1;
}

// The asset file opened for reading, or -1. Links are followed only while they stay beneath the content folder,
// and the file must be a regular one; the caller reads from this very descriptor, so a link swapped after the
// check cannot lead the read elsewhere.
int OpenAssetFile(const FString& GamePath)
{
	FString Relative;
	if (!GetRelativeFile(GamePath, Relative))
	{
		return -1;
	}
	const int Content = ::open(ToUtf8(FPaths::ProjectContentDir()).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
	if (Content < 0)
	{
		return -1;
	}
	const std::string RelativeUtf8 = ToUtf8(Relative);
	// Non-blocking, so that a pipe or device in place of the file cannot hang the open; it is refused below.
	const int Flags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
	open_how How{};
	How.flags = uint64(Flags);
	How.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
	int File = int(::syscall(SYS_openat2, Content, RelativeUtf8.c_str(), &How, sizeof(How)));
	if (File < 0 && (errno == ENOSYS || errno == EPERM))
	{
		File = OpenWithoutLinks(Content, RelativeUtf8, Flags);
	}
	::close(Content);
	struct stat Status = {};
	if (File >= 0 && (::fstat(File, &Status) != 0 || !S_ISREG(Status.st_mode)))
	{
		::close(File);
		return -1;
	}
	return File;
}
} // namespace

bool FAssetPaths::ResolveAssetFile(const FString& GamePath, FString& OutFilePath)
{
	const int File = OpenAssetFile(GamePath);
	if (File < 0)
	{
		return false;
	}
	::close(File);
	FString Relative;
	GetRelativeFile(GamePath, Relative);
	OutFilePath = FPaths::ProjectContentDir() + Relative;
	return true;
}

bool FAssetPaths::LoadAssetFileToString(const FString& GamePath, FString& OutText)
{
	const int File = OpenAssetFile(GamePath);
	if (File < 0)
	{
		return false;
	}
	TArray<uint8> Bytes;
	uint8 Chunk[65536];
	bool bRead = true;
	for (;;)
	{
		const ssize_t Count = ::read(File, Chunk, sizeof(Chunk));
		if (Count < 0 && errno == EINTR)
		{
			continue;
		}
		if (Count <= 0)
		{
			bRead = Count == 0;
			break;
		}
		Bytes.Append(Chunk, int32(Count));
	}
	::close(File);
	if (bRead)
	{
		FFileHelper::BufferToString(OutText, Bytes.GetData(), Bytes.Num());
	}
	return bRead;
}

TSharedPtr<FJsonObject> FAssetPaths::LoadTypedAssetObject(const FString& GamePath, const TCHAR* Type)
{
	FString Text;
	if (!LoadAssetFileToString(GamePath, Text))
	{
		return nullptr;
	}
	TSharedPtr<FJsonObject> Object;
	FString ObjectType;
	if (!FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Object) || !Object.IsValid() ||
	    !Object->TryGetStringField(TEXT("Type"), ObjectType) || ObjectType != Type)
	{
		return nullptr;
	}
	return Object;
}
