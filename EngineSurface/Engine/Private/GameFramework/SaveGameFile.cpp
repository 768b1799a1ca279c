#include "GameFramework/SaveGameFile.h"

#include "GameFramework/SaveGame.h"

DEFINE_LOG_CATEGORY_STATIC(LogSaveGame, Log, All)

namespace
{
const TCHAR* const Magic = TEXT("EngineSurfaceSaveGame 1");
const TCHAR* const ClassKey = TEXT("Class=");
const TCHAR* const ChecksumKey = TEXT("Checksum=");

uint64 Checksum(const TCHAR* Text, int32 Count)
{
	uint64 Hash = 14695981039346656037ull;
	for (int32 Index = 0; Index < Count; ++Index)
	{
		Hash = (Hash ^ (Text[Index] & 0xFF)) * 1099511628211ull;
		Hash = (Hash ^ (Text[Index] >> 8)) * 1099511628211ull;
	}
	return Hash;
}

FString FormatChecksum(uint64 Hash)
{
	return FString::Printf(TEXT("%016llx"), static_cast<unsigned long long>(Hash));
}

bool IsHighSurrogate(TCHAR C)
{
	return C >= 0xD800 && C <= 0xDBFF;
}

bool IsLowSurrogate(TCHAR C)
{
	return C >= 0xDC00 && C <= 0xDFFF;
}

FString Escape(const FString& Value)
{
	FString Out;
	Out.Reserve(Value.Len());
	for (int32 Index = 0; Index < Value.Len(); ++Index)
	{
		const TCHAR C = Value[Index];
		if (IsHighSurrogate(C) && Index + 1 < Value.Len() && IsLowSurrogate(Value[Index + 1]))
		{
			Out.AppendChar(C);
			Out.AppendChar(Value[++Index]);
			continue;
		}
		switch (C)
		{
			case u'\\':
				Out += TEXT("\\\\");
				break;
			case u'\n':
				Out += TEXT("\\n");
				break;
			case u'\r':
				Out += TEXT("\\r");
				break;
			default:
				// The file is UTF-8, which cannot hold a surrogate without its pair: it is written as \uXXXX.
				if (IsHighSurrogate(C) || IsLowSurrogate(C))
				{
					Out += FString::Printf(TEXT("\\u%04X"), uint32(C));
				}
				else
				{
					Out.AppendChar(C);
				}
				break;
		}
	}
	return Out;
}

bool ReadHexUnit(const FString& Text, int32 At, TCHAR& Out)
{
	if (At + 4 > Text.Len())
	{
		return false;
	}
	uint32 Value = 0;
	for (int32 Index = At; Index < At + 4; ++Index)
	{
		const TCHAR C = Text[Index];
		const int32 Digit = C >= u'0' && C <= u'9'   ? C - u'0'
		                    : C >= u'A' && C <= u'F' ? C - u'A' + 10
		                    : C >= u'a' && C <= u'f' ? C - u'a' + 10
		                                             : -1;
		if (Digit < 0)
		{
			return false;
		}
		Value = Value * 16 + uint32(Digit);
	}
	Out = TCHAR(Value);
	return true;
}

bool Unescape(const FString& Text, FString& Out)
{
	Out.Reset();
	for (int32 Index = 0; Index < Text.Len(); ++Index)
	{
		if (Text[Index] != u'\\')
		{
			Out.AppendChar(Text[Index]);
			continue;
		}
		if (++Index == Text.Len())
		{
			return false;
		}
		switch (Text[Index])
		{
			case u'\\':
				Out.AppendChar(u'\\');
				break;
			case u'n':
				Out.AppendChar(u'\n');
				break;
			case u'r':
				Out.AppendChar(u'\r');
				break;
			case u'u':
			{
				TCHAR Unit = 0;
				if (!ReadHexUnit(Text, Index + 1, Unit))
				{
					return false;
				}
				Out.AppendChar(Unit);
				Index += 4;
				break;
			}
			default:
				return false;
		}
	}
	return true;
}
} // namespace

FString FSaveGameFile::Write(const USaveGame& SaveGame)
{
	FString Body = FString(Magic) + TEXT("\n");
	Body += FString(ClassKey) + Escape(SaveGame.GetClass()->GetPathName()) + TEXT("\n");
	for (const FProperty* Property : SaveGame.GetClass()->GetAllProperties())
	{
		FString Value;
		if (Property->HasAnyPropertyFlags(CPF_Transient) || !Property->ExportText_InContainer(&SaveGame, Value))
		{
			continue;
		}
		Body += Property->GetName() + TEXT("=") + Escape(Value) + TEXT("\n");
	}
	return Body + ChecksumKey + FormatChecksum(Checksum(*Body, Body.Len())) + TEXT("\n");
}

USaveGame* FSaveGameFile::Read(const FString& Text, FString& OutError)
{
	if (!Text.StartsWith(FString(Magic) + TEXT("\n"), ESearchCase::CaseSensitive))
	{
		OutError = TEXT("not a save game");
		return nullptr;
	}
	const int32 ChecksumStart =
	    Text.Find(FString(TEXT("\n")) + ChecksumKey, ESearchCase::CaseSensitive, ESearchDir::FromEnd) + 1;
	const FString Stored = Text.Mid(ChecksumStart + FCString::Strlen(ChecksumKey)).TrimEnd();
	if (ChecksumStart == 0 || Stored != FormatChecksum(Checksum(*Text, ChecksumStart)))
	{
		OutError = TEXT("truncated or damaged (checksum mismatch)");
		return nullptr;
	}

	TArray<FString> Lines;
	Text.Left(ChecksumStart).ParseIntoArray(Lines, TEXT("\n"), true);
	FString ClassPath;
	if (Lines.Num() < 2 || !Lines[1].StartsWith(ClassKey, ESearchCase::CaseSensitive) ||
	    !Unescape(Lines[1].Mid(FCString::Strlen(ClassKey)), ClassPath))
	{
		OutError = TEXT("no class line");
		return nullptr;
	}
	UClass* Class = FindClassByPath(ClassPath);
	if (!Class || !Class->IsChildOf(USaveGame::StaticClass()) || Class->HasAnyClassFlags(CLASS_Abstract))
	{
		OutError = FString::Printf(TEXT("class %s is not a known save-game class"), *ClassPath);
		return nullptr;
	}
	USaveGame* SaveGame = NewObject<USaveGame>(nullptr, Class);
	for (int32 Index = 2; Index < Lines.Num(); ++Index)
	{
		FString Name;
		FString Escaped;
		FString Value;
		const FProperty* Property = nullptr;
		if (Lines[Index].Split(TEXT("="), &Name, &Escaped, ESearchCase::CaseSensitive))
		{
			Property = Class->FindPropertyByName(FName(Name));
		}
		// A property the class no longer has, or whose type changed, keeps its default: the rest still loads.
		if (!Property || Property->HasAnyPropertyFlags(CPF_Transient) || !Unescape(Escaped, Value) ||
		    !Property->ImportText_InContainer(Value, SaveGame))
		{
			UE_LOG(LogSaveGame, Warning, TEXT("Save game of class %s: skipped unreadable line \"%s\""),
			       *Class->GetName(), *Lines[Index]);
		}
	}
	return SaveGame;
}
