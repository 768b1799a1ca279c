#include "DanmakuDocumentReport.h"

int32 FDanmakuDocumentReport::CountMode(int32 Mode) const
{
	const int32* Count = Modes.Find(Mode);
	return Count ? *Count : 0;
}

void FDanmakuDocumentReport::NoteFiled(const FDanmakuData& Data)
{
	++Comments;
	++Modes.FindOrAdd(static_cast<int32>(Data.Mode));
	UnreadableColours += FDanmakuData::IsReadableFontColor(Data.FontColor) ? 0 : 1;
}

FString FDanmakuDocumentReport::Excerpt(FStringView Text, int32 MaxCharacters)
{
	FString Out;
	int32 Index = 0;
	for (; Index < Text.Len() && Index < MaxCharacters; ++Index)
	{
		const TCHAR C = Text[Index];
		if (C < 0x20 || (C >= 0x7F && C <= 0x9F))
		{
			Out += FString::Printf(TEXT("\\x%02x"), int32(C));
		}
		else
		{
			Out.AppendChar(C);
		}
	}
	if (Index < Text.Len())
	{
		Out += TEXT("…");
	}
	return Out;
}
