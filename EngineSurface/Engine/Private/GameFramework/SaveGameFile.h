#pragma once

#include "CoreMinimal.h"

class USaveGame;

// The text form of a save slot:
//
//   EngineSurfaceSaveGame 1
//   Class=/Script/Module.ClassName
//   PropertyName=exported text          (one line per saved property)
//   Checksum=0123456789abcdef
//
// Values are escaped (\\, \n, \r, and \uXXXX for a surrogate without its pair, which UTF-8 cannot hold) so
// that each stays on its line and reads back as it was. The checksum (64-bit FNV-1a over the UTF-16 code units
// of every line before it, line breaks included) tells a complete file from a truncated or damaged one.
class FSaveGameFile
{
public:
	static FString Write(const USaveGame& SaveGame);
	// A new object of the stored class; null, with the reason in OutError, when Text is not a complete save game
	// of a known save-game class.
	static USaveGame* Read(const FString& Text, FString& OutError);
};
