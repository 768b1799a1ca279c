// libFuzzer target for the XML comment importer: any bytes, read as UTF-8, must give either no records or records
// that keep the importer's promises, without crashing, leaking or reading out of bounds.
//
// Not wired into the build yet. Built by hand after a dev build, from the repository root, with the importer and
// the XML surface compiled in (so that the fuzzer sees their coverage) and the rest from the dev libraries:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -DCORE_API= -DCOREUOBJECT_API= \
//     -DXMLPARSER_API= -DSKORVANE_API= -I EngineSurface/Core/Public -I EngineSurface/CoreUObject/Public \
//     -I EngineSurface/XmlParser/Public -I Source/Skorvane/Public -I build/dev/Generated/Skorvane \
//     Fuzz/DanmakuXmlFuzz.cpp Source/Skorvane/Private/DanmakuXmlReader.cpp EngineSurface/XmlParser/Private/*.cpp \
//     -L build/dev/lib -Wl,-rpath,$PWD/build/dev/lib -lSkorvane -lCore -lCoreUObject -lexpat -o DanmakuXmlFuzz

#include "CoreMinimal.h"
#include "DanmakuXmlReader.h"
#include "Headless/Utf8String.h"
#include "Logging/LogMacros.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace
{
void Require(bool bCondition)
{
	if (!bCondition)
	{
		__builtin_trap();
	}
}

bool IsHexDigit(TCHAR Char)
{
	return (Char >= TEXT('0') && Char <= TEXT('9')) || (Char >= TEXT('A') && Char <= TEXT('F'));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	static const bool bQuiet = []
	{
		// Skipped comments are logged; a fuzzer's thousands of them would drown its own output.
		GLog->SetStandardErrorEnabled(false);
		return true;
	}();
	(void)bQuiet;

	const FString Text = FromUtf8(std::string(reinterpret_cast<const char*>(Data), Size));
	TArray<FDanmakuData> Records;
	int32 Skipped = -1;
	const bool bRead = FDanmakuXmlReader::Read(Text, Records, &Skipped);
	if (!bRead)
	{
		Require(Records.IsEmpty());
		return 0;
	}
	Require(Skipped >= 0);
	for (const FDanmakuData& Record : Records)
	{
		Require(Record.FontColor.Len() == 7 && Record.FontColor[0] == TEXT('#'));
		for (int32 Index = 1; Index < 7; ++Index)
		{
			Require(IsHexDigit(Record.FontColor[Index]));
		}
		const int32 Mode = static_cast<int32>(Record.Mode);
		Require(Mode >= 0 && Mode != 4 && Mode != 5 && Mode != 6);
		Require(Record.FontSize >= 0);
		Require(Record.PostID == 0 && Record.UserID == 0);
	}
	return 0;
}
