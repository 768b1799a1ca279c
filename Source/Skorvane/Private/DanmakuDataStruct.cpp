#include "DanmakuDataStruct.h"

FDanmakuData::FDanmakuData() = default;
FDanmakuData::FDanmakuData(const FDanmakuData& Other) = default;
FDanmakuData::FDanmakuData(FDanmakuData&& Other) noexcept = default;
FDanmakuData& FDanmakuData::operator=(const FDanmakuData& Other) = default;
FDanmakuData& FDanmakuData::operator=(FDanmakuData&& Other) noexcept = default;
FDanmakuData::~FDanmakuData() = default;

FDanmakuTrackData::FDanmakuTrackData() = default;
FDanmakuTrackData::FDanmakuTrackData(const FDanmakuTrackData& Other) = default;
FDanmakuTrackData::FDanmakuTrackData(FDanmakuTrackData&& Other) noexcept = default;
FDanmakuTrackData& FDanmakuTrackData::operator=(const FDanmakuTrackData& Other) = default;
FDanmakuTrackData& FDanmakuTrackData::operator=(FDanmakuTrackData&& Other) noexcept = default;
FDanmakuTrackData::~FDanmakuTrackData() = default;
