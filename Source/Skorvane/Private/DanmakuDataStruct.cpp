#include "DanmakuDataStruct.h"

FDanmakuTrackData::FDanmakuTrackData() = default;
FDanmakuTrackData::FDanmakuTrackData(const FDanmakuTrackData& Other) = default;
FDanmakuTrackData::FDanmakuTrackData(FDanmakuTrackData&& Other) noexcept = default;
FDanmakuTrackData& FDanmakuTrackData::operator=(const FDanmakuTrackData& Other) = default;
FDanmakuTrackData& FDanmakuTrackData::operator=(FDanmakuTrackData&& Other) noexcept = default;
FDanmakuTrackData::~FDanmakuTrackData() = default;

const TCHAR* const FDanmakuData::DefaultFontColor = TEXT("#FFFFFF");

bool FDanmakuData::IsReadableFontColor(const FString& Hex)
{
	const int32 Start = !Hex.IsEmpty() && Hex[0] == TEXT('#') ? 1 : 0;
	const int32 Digits = Hex.Len() - Start;
	if (Digits != 3 && Digits != 6 && Digits != 8)
	{
		return false;
	}
	for (int32 Index = Start; Index < Hex.Len(); ++Index)
	{
		const TCHAR C = Hex[Index];
		if (!((C >= TEXT('0') && C <= TEXT('9')) || (C >= TEXT('a') && C <= TEXT('f')) ||
		      (C >= TEXT('A') && C <= TEXT('F'))))
		{
			return false;
		}
	}
	return true;
}
